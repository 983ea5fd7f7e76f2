// sorvanel-cli backups PATH: the backups of an account file, newest first,
// one line each: the time it was made, its size in bytes, its number of
// records (-1 when it cannot be read) and its path, separated by tabs. The
// account file itself need not exist any more.
//
// sorvanel-cli backup PATH: makes a backup of the account file now and
// thins out the older ones, as the program does when it closes a changed
// file.
//
// sorvanel-cli restore BACKUP NEWPATH: puts a copy of a backup at NEWPATH. A
// file already there is never replaced: the overwrite question goes to
// stderr, nobody can answer it, and the command exits with 1.
#include "cli_command.h"

#include "base/prompt.h"
#include "storage/backup_settings.h"
#include "storage/backup_store.h"

#include <QDateTime>

#include <algorithm>

namespace {

int RunBackups(const QStringList &args) {
  if (args.size() != 1) {
    ShowUsage("backups");
    return 1;
  }
  const QList<BackupInfo> backups = ListBackups(args[0]);
  if (backups.isEmpty()) {
    ShowMessage(QStringLiteral("没有此文件的备份：") + BackupFolderFor(args[0]));
    return 0;
  }
  for (const BackupInfo &backup : backups)
    PrintLine(QStringList{backup.made.toString(QStringLiteral("yyyy/M/d H:mm:ss")),
                          QString::number(backup.size),
                          QString::number(backup.records), backup.path}
                  .join(QLatin1Char('\t')));
  return 0;
}

int RunBackup(const QStringList &args) {
  if (args.size() != 1) {
    ShowUsage("backup");
    return 1;
  }
  const QString made = MakeBackup(args[0], std::max(BackupCount(), 1),
                                  QDateTime::currentDateTime());
  if (made.isEmpty())
    return 1;
  PrintLine(made);
  return 0;
}

int RunRestore(const QStringList &args) {
  if (args.size() != 2) {
    ShowUsage("restore");
    return 1;
  }
  return RestoreBackup(args[0], args[1]) ? 0 : 1;
}

} // namespace

SORVANEL_CLI_COMMAND("backups", "backups PATH", RunBackups);
SORVANEL_CLI_COMMAND("backup", "backup PATH", RunBackup);
SORVANEL_CLI_COMMAND("restore", "restore BACKUP NEWPATH", RunRestore);
