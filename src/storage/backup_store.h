// Rotating backups of account files.
//
// Each account file has a folder of its own in the user's data folder,
//   <data>/桌面账本应用程序/Sorvanel/backups/<file name>-<key>/
// where <data> is QStandardPaths' GenericDataLocation (~/.local/share), so
// the folder is the program's AppDataLocation whichever executable asks,
// and <key> is the first 16 hex digits of the SHA-256 of the file's
// canonical path: two files of one name in different folders never share
// backups. The folders of earlier versions, named by the file name alone,
// are still listed for every file of that name, and never thinned out.
// A backup is a compacted, checked copy of the account file named by the
// time it was made, "yyyyMMdd-HHmmss.fz" ("-2", "-3" ... added when two fall
// in one second). Folders and files are readable by their owner only; a
// backup is written to a scratch file first (scratch_file.h).
//
// After each new backup the folder is thinned out by BackupsToKeep
// (backup_retention.h). The account file itself is only ever read: a
// failed backup shows "备份账簿文件失败！" and a reason, and leaves no
// partial file behind.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

struct BackupInfo {
  QString path;
  QDateTime made;
  qint64 size = 0;     // bytes
  qint64 records = -1; // records in Users; -1 when the file cannot be read
};

// The folder that holds the backup folders of all files.
QString BackupRoot();
// The backup folder of the account file at path (it may not exist yet).
QString BackupFolderFor(const QString &accountPath);

// Makes a backup of the account file, made at now, and then removes the
// backups the retention rule with keep does not keep (keep is at least 1
// here: the new backup always stays). The path of the new backup, or an
// empty text after a failure, which has been shown.
QString MakeBackup(const QString &accountPath, int keep, const QDateTime &now);

// What the program calls after it has closed and compacted an account file
// it changed: a backup under the per-user count (backup_settings.h), made
// now. Nothing is done when that count is 0. False after a failed backup,
// which has been shown; the account file is unchanged either way.
bool BackupAfterClose(const QString &accountPath);

// The backups of the account file at path, newest first: those of its own
// folder and of the folder named by its file name alone.
QList<BackupInfo> ListBackups(const QString &accountPath);

// Puts a copy of the backup at newPath. A file already there is replaced
// only when the user answers the question "文件%s已存在\r\n是否覆盖？" with
// "覆盖"; a backup that is no readable account file is refused with
// "备份文件已损坏，无法恢复！". The backup itself is never changed.
bool RestoreBackup(const QString &backupPath, const QString &newPath);
