// Making, listing, thinning out and restoring backups of account files.
#include "storage/backup_store.h"

#include "base/prompt.h"
#include "db/account_check.h"
#include "storage/compaction.h"
#include "db/describe_error.h"
#include "db/errno_text.h"
#include "storage/file_copy.h"
#include "db/file_path.h"
#include "db/jet_collation.h"
#include "storage/private_folder.h"
#include "storage/scratch_file.h"
#include "storage/backup_retention.h"
#include "storage/backup_settings.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kTimeFormat[] = "yyyyMMdd-HHmmss";
constexpr int kMaxSerial = 9999;

void ShowBackupFailure(const QString &reason) {
  ShowMessage(QStringLiteral("备份账簿文件失败！\r\n") + reason);
}

// A connection that closes when it goes out of scope.
struct Connection {
  sqlite3 *db = nullptr;
  Connection() = default;
  Connection(const Connection &) = delete;
  Connection &operator=(const Connection &) = delete;
  ~Connection() { sqlite3_close_v2(db); }
};

// Opens path read-only, comparing texts as the session does (the indexes of
// an account file are built in that order); the engine's text on failure.
bool OpenReadOnly(const QString &path, Connection &connection, QString &error) {
  // Absolute: a name beginning "file:" is never read as a URI.
  const QByteArray name = QFileInfo(path).absoluteFilePath().toUtf8();
  const int rc = sqlite3_open_v2(name.constData(), &connection.db,
                                 SQLITE_OPEN_READONLY, nullptr);
  if (rc != SQLITE_OK) {
    error = connection.db ? QString::fromUtf8(sqlite3_errmsg(connection.db))
                          : DescribeError(rc);
    return false;
  }
  sqlite3_busy_timeout(connection.db, 5000);
  RegisterJetCollation(connection.db);
  return true;
}

// The first column of the first row of sql as text; false with the
// engine's text when the statement fails or gives no row.
bool QueryText(sqlite3 *db, const char *sql, QString &value, QString &error) {
  sqlite3_stmt *statement = nullptr;
  int rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
  if (rc == SQLITE_OK)
    rc = sqlite3_step(statement);
  const bool found = rc == SQLITE_ROW;
  if (found)
    value = QString::fromUtf8(
        reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
  else
    error = QString::fromUtf8(sqlite3_errmsg(db));
  sqlite3_finalize(statement);
  return found;
}

// Writes a compacted copy of the account file to copy (which must not
// exist) through a read-only connection: the account file is never opened
// for writing.
bool WriteCompactCopy(const QString &account, const QString &copy,
                      QString &error) {
  Connection connection;
  if (!OpenReadOnly(account, connection, error))
    return false;
  sqlite3_stmt *statement = nullptr;
  int rc = sqlite3_prepare_v2(connection.db, "VACUUM INTO ?", -1, &statement,
                              nullptr);
  if (rc == SQLITE_OK) {
    const QByteArray target = copy.toUtf8();
    sqlite3_bind_text(statement, 1, target.constData(), int(target.size()),
                      SQLITE_TRANSIENT);
    rc = sqlite3_step(statement);
  }
  if (rc != SQLITE_DONE)
    error = QString::fromUtf8(sqlite3_errmsg(connection.db));
  sqlite3_finalize(statement);
  return rc == SQLITE_DONE;
}

// Whether the file at path is a sound account file, by the checks the
// session's open makes (db/account_check.h), and its records can be
// counted.
bool CheckAccountFile(const QString &path, qint64 *records, QString &error) {
  Connection connection;
  if (!OpenReadOnly(path, connection, error))
    return false;
  if (CheckAccountDatabase(connection.db, path, &error) != SQLITE_OK)
    return false;
  QString count;
  if (!QueryText(connection.db, "Select Count(*) From Users", count, error))
    return false;
  if (records)
    *records = count.toLongLong();
  return true;
}

qint64 CountRecords(const QString &path) {
  Connection connection;
  QString error, count;
  if (!OpenReadOnly(path, connection, error) ||
      !QueryText(connection.db, "Select Count(*) From Users", count, error))
    return -1;
  return count.toLongLong();
}

// The backup folder of an account file as the first versions named it:
// by the file name alone, shared by every file of that name. Still read,
// never thinned out.
QString NameOnlyFolderFor(const QString &accountPath) {
  const QString root = BackupRoot();
  if (root.isEmpty())
    return QString();
  return root + QLatin1Char('/') + QFileInfo(accountPath).fileName();
}

bool PathExists(const QString &path) {
  struct stat info;
  return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

// A backup's name read back: the time it was made and its serial within
// that second (1 for the plain name). False for every other file name.
bool ParseBackupName(const QString &fileName, QDateTime *made, int *serial) {
  static const QRegularExpression pattern(
      QStringLiteral("^(\\d{8}-\\d{6})(?:-(\\d{1,4}))?\\.fz$"));
  const QRegularExpressionMatch match = pattern.match(fileName);
  if (!match.hasMatch())
    return false;
  *made = QDateTime::fromString(match.captured(1), QLatin1String(kTimeFormat));
  *serial = match.capturedLength(2) ? match.captured(2).toInt() : 1;
  return made->isValid();
}

// A path for a backup made at now that no file has yet.
QString NewBackupPath(const QString &folder, const QDateTime &now) {
  const QString stamp = now.toString(QLatin1String(kTimeFormat));
  for (int serial = 1; serial <= kMaxSerial; ++serial) {
    const QString name = serial == 1
                             ? stamp + QStringLiteral(".fz")
                             : QStringLiteral("%1-%2.fz").arg(stamp).arg(serial);
    const QString path = folder + QLatin1Char('/') + name;
    if (!PathExists(path))
      return path;
  }
  return QString();
}

struct NamedBackup {
  QString path;
  QDateTime made;
  int serial = 1;
};

bool NewerFirst(const NamedBackup &a, const NamedBackup &b) {
  if (a.made != b.made)
    return a.made > b.made;
  return a.serial > b.serial;
}

// The backups in folder, newest first; files of other names are no backups.
QList<NamedBackup> BackupsIn(const QString &folder) {
  QList<NamedBackup> found;
  const QDir dir(folder);
  for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
    NamedBackup backup;
    if (!ParseBackupName(name, &backup.made, &backup.serial))
      continue;
    backup.path = dir.filePath(name);
    found.append(backup);
  }
  std::sort(found.begin(), found.end(), NewerFirst);
  return found;
}

void RemoveOldBackups(const QString &folder, int keep, const QDate &today) {
  const QList<NamedBackup> backups = BackupsIn(folder);
  QList<QDateTime> made;
  for (const NamedBackup &backup : backups)
    made.append(backup.made);
  // Newest first, so that of two made in one second the later one counts
  // as newer.
  const std::vector<bool> kept = BackupsToKeep(made, keep, today);
  for (qsizetype i = 0; i < backups.size(); ++i)
    if (!kept[size_t(i)])
      QFile::remove(backups[i].path);
}

bool SameFile(const QString &a, const QString &b) {
  struct stat first, second;
  return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
         ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace

QString BackupRoot() {
  const QString data =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (data.isEmpty())
    return QString();
  return data + QStringLiteral("/桌面账本应用程序/Sorvanel/backups");
}

QString BackupFolderFor(const QString &accountPath) {
  const QString root = BackupRoot();
  if (root.isEmpty() || accountPath.isEmpty())
    return QString();
  // Two files of one name in different folders are two files: the folder is
  // keyed by where the file really is, with its name for people to read.
  const QByteArray hash = QCryptographicHash::hash(RealFilePath(accountPath).toUtf8(),
                                                   QCryptographicHash::Sha256)
                              .toHex();
  return root + QLatin1Char('/') + QFileInfo(accountPath).fileName() + QLatin1Char('-') +
         QString::fromLatin1(hash.left(16));
}

QString MakeBackup(const QString &accountPath, int keep, const QDateTime &now) {
  // Only an account file is backed up: a backup that could not be opened
  // again would be worthless.
  QString error = AccountPathProblem(accountPath);
  if (!error.isEmpty() || !CheckAccountFile(accountPath, nullptr, error)) {
    ShowBackupFailure(error);
    return QString();
  }
  const QString folder = BackupFolderFor(accountPath);
  // The root too: it lists the names of the user's account files.
  if (folder.isEmpty() || !MakePrivateFolder(BackupRoot()) ||
      !MakePrivateFolder(folder)) {
    ShowBackupFailure(QStringLiteral("无法创建备份文件夹：") + folder);
    return QString();
  }
  const QString target = NewBackupPath(folder, now);
  if (target.isEmpty()) {
    ShowBackupFailure(QStringLiteral("备份文件夹中同一时刻的备份过多：") + folder);
    return QString();
  }
  // The copy is written to a scratch file (readable by its owner only) and
  // takes the backup's name only once it is complete, checked and on disk.
  ScratchFile partial;
  if (!partial.Create(folder, QFileInfo(target).fileName())) {
    ShowBackupFailure(ScratchFolderMessage(folder, errno));
    return QString();
  }
  if (!WriteCompactCopy(accountPath, partial.Path(), error) ||
      !CheckAccountFile(partial.Path(), nullptr, error)) {
    ShowBackupFailure(error);
    return QString();
  }
  if (::fsync(partial.Descriptor()) != 0 || !partial.MoveTo(target, false)) {
    ShowBackupFailure(QStringLiteral("%1：%2").arg(target, ErrnoText(errno)));
    return QString();
  }
  SyncDirectory(folder);
  RemoveOldBackups(folder, std::max(keep, 1), now.date());
  return target;
}

bool BackupAfterClose(const QString &accountPath) {
  const int count = BackupCount();
  if (count == 0)
    return true;
  return !MakeBackup(accountPath, count, QDateTime::currentDateTime()).isEmpty();
}

QList<BackupInfo> ListBackups(const QString &accountPath) {
  QList<BackupInfo> list;
  const QString folder = BackupFolderFor(accountPath);
  if (folder.isEmpty())
    return list;
  // The backups of the folder keyed by the file name alone may be this
  // file's: they are listed too.
  QList<NamedBackup> backups = BackupsIn(folder);
  backups.append(BackupsIn(NameOnlyFolderFor(accountPath)));
  std::stable_sort(backups.begin(), backups.end(), NewerFirst);
  for (const NamedBackup &backup : backups) {
    BackupInfo info;
    info.path = backup.path;
    info.made = backup.made;
    info.size = QFileInfo(backup.path).size();
    info.records = CountRecords(backup.path);
    list.append(info);
  }
  return list;
}

bool RestoreBackup(const QString &backupPath, const QString &newPath) {
  if (backupPath.isEmpty() || !QFileInfo(backupPath).isFile()) {
    ShowMessage(QStringLiteral("备份文件不存在！"));
    return false;
  }
  if (newPath.isEmpty())
    return false;
  QString error;
  if (!CheckAccountFile(backupPath, nullptr, error)) {
    ShowMessage(QStringLiteral("备份文件已损坏，无法恢复！"));
    return false;
  }
  if (PathExists(newPath)) {
    if (SameFile(backupPath, newPath)) {
      ShowMessage(QStringLiteral("不能用备份文件覆盖它自己！"));
      return false;
    }
    const QString question = QStringLiteral("文件%1已存在\r\n是否覆盖？")
                                 .arg(QFileInfo(newPath).fileName());
    const QStringList buttons{QStringLiteral("覆盖"), QStringLiteral("取消")};
    if (CurrentPrompt().AskChoice(question, buttons) != 0)
      return false;
  }
  return ReplaceFile(newPath, backupPath);
}
