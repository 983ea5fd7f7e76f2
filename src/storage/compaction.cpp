// Compaction of an account file and the file replacement.
#include "storage/compaction.h"

#include "base/prompt.h"
#include "db/account_check.h"
#include "db/db_visiter_factory.h"
#include "db/describe_error.h"
#include "db/errno_text.h"
#include "storage/file_copy.h"
#include "db/file_path.h"
#include "db/jet_collation.h"
#include "storage/scratch_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void ShowReplaceFailure(const QString &reason) {
  ShowMessage(QStringLiteral("替换文件失败！\r\n") + reason);
}

QString ScratchFailure(const QString &folder, int error) {
  return QStringLiteral("无法在文件夹 %1 中写入压缩用的临时文件：%2")
      .arg(QDir::toNativeSeparators(folder), ErrnoText(error));
}

// Whether an engine failure is about the folder the copy is written to
// (full, not writable) rather than about the account file; errno in *error.
bool IsFolderFailure(int rc, int systemError, int *error) {
  if ((rc & 0xFF) == SQLITE_FULL) {
    *error = ENOSPC;
    return true;
  }
  switch (systemError) {
  case ENOSPC:
  case EDQUOT:
  case EACCES:
  case EPERM:
  case EROFS:
    *error = systemError;
    return true;
  default:
    return false;
  }
}

// VACUUM INTO the (empty) scratch file; the message on failure.
bool WriteCompactCopy(const QString &path, const ScratchFile &scratch,
                      QString &error) {
  sqlite3 *db = nullptr;
  // Absolute: a name beginning "file:" is never read as a URI.
  int rc = sqlite3_open_v2(EngineFileName(path).constData(), &db,
                           SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) {
    error = DescribeError(rc);
    sqlite3_close_v2(db);
    return false;
  }
  sqlite3_busy_timeout(db, 5000);
  // The copy's text indexes are rebuilt in the session's order.
  RegisterJetCollation(db);
  sqlite3_stmt *statement = nullptr;
  rc = sqlite3_prepare_v2(db, "VACUUM INTO ?", -1, &statement, nullptr);
  if (rc == SQLITE_OK) {
    const QByteArray target = scratch.Path().toUtf8();
    sqlite3_bind_text(statement, 1, target.constData(), int(target.size()),
                      SQLITE_TRANSIENT);
    rc = sqlite3_step(statement);
  }
  int folderError = 0;
  if (rc != SQLITE_DONE && IsFolderFailure(rc, sqlite3_system_errno(db), &folderError))
    error = ScratchFailure(QFileInfo(path).absolutePath(), folderError);
  else if (rc != SQLITE_DONE)
    error = QString::fromUtf8(sqlite3_errmsg(db));
  sqlite3_finalize(statement);
  sqlite3_close_v2(db);
  return rc == SQLITE_DONE;
}

// Gives the compacted copy the account file's owner, group and mode, and
// puts it on disk. The message on failure.
bool TakeOverOwnership(const ScratchFile &scratch, const struct stat &original,
                       const QString &path, QString &error) {
  const int fd = scratch.Descriptor();
  struct stat copy;
  bool ok = ::fstat(fd, &copy) == 0;
  if (ok && (copy.st_uid != original.st_uid || copy.st_gid != original.st_gid))
    ok = ::fchown(fd, original.st_uid, original.st_gid) == 0;
  // After fchown, which may clear some of the bits.
  ok = ok && ::fchmod(fd, original.st_mode & 07777) == 0 && ::fsync(fd) == 0;
  if (!ok)
    error = QStringLiteral("无法让压缩后的账簿文件 %1 保持原来的所有者和权限（%2），"
                           "文件未压缩。")
                .arg(QDir::toNativeSeparators(path), ErrnoText(errno));
  return ok;
}

} // namespace

bool CompactAccountFile(const QString &path) {
  CDBVisiterFactory::Instance().RemoveVisiter(path);
  if (path.isEmpty() || !QFileInfo(path).isFile())
    return false;
  // A link stays a link: the file it leads to is compacted and replaced.
  const QString real = RealFilePath(path);
  const QString folder = QFileInfo(real).absolutePath();
  struct stat original;
  if (::stat(QFile::encodeName(real).constData(), &original) != 0)
    return false;

  // The compacted copy is written beside the account file: the folder must
  // be writable for the replace anyway, the copy is renamed into place
  // without being copied again (same file system), and nobody else's
  // current folder or files are ever touched.
  ScratchFile scratch;
  if (!scratch.Create(folder, QFileInfo(real).fileName())) {
    ShowMessage(ScratchFailure(folder, errno));
    return false;
  }
  QString error;
  if (!WriteCompactCopy(real, scratch, error) ||
      !TakeOverOwnership(scratch, original, real, error)) {
    ShowMessage(error);
    return false;
  }
  // Reading the file through a writing connection rolled back a journal a
  // killed writer left hot; one that is still there is stale (its writer
  // died before committing) and must not stay beside the new file.
  ::unlink(QFile::encodeName(real + QStringLiteral("-journal")).constData());
  // The compacted copy takes the account file's place in one rename; until
  // then the account file is exactly as it was.
  if (!scratch.MoveTo(real, true)) {
    ShowReplaceFailure(QStringLiteral("%1：%2").arg(QDir::toNativeSeparators(real),
                                                   ErrnoText(errno)));
    return false;
  }
  SyncDirectory(folder);
  return true;
}

bool ReplaceFile(const QString &target, const QString &source) {
  // A link at target stays a link: the file it leads to is replaced.
  const QString real = RealFilePath(target);
  const QFileInfo targetInfo(real);
  const QString directory = targetInfo.absolutePath();
  // A file that is there and cannot be replaced (a folder, or a file in a
  // folder that may not be changed) is the delete failing.
  struct stat existing;
  const bool exists = ::lstat(QFile::encodeName(real).constData(), &existing) == 0;
  if (targetInfo.isDir() || (exists && !QFileInfo(directory).isWritable())) {
    ShowMessage(QStringLiteral("删除文件失败！"));
    return false;
  }
  // A file replaced keeps its mode; a new one follows the umask.
  const mode_t mode = exists ? existing.st_mode & 07777 : NewFileMode();
  // The copy is made first: a missing source leaves the target alone.
  ScratchFile scratch;
  if (!scratch.Create(directory, targetInfo.fileName())) {
    ShowReplaceFailure(ScratchFolderMessage(directory, errno));
    return false;
  }
  // A failure names the file it is about: the source that could not be
  // read, or the target that could not be written (a full disk).
  bool writing = false;
  const bool copied = CopyFileInto(source, scratch.Descriptor(), &writing);
  if (!copied || ::fchmod(scratch.Descriptor(), mode) != 0) {
    const int error = errno;
    writing = writing || copied;
    const QString named = writing ? real : source;
    ShowReplaceFailure(QStringLiteral("%1：%2").arg(QDir::toNativeSeparators(named),
                                                   ErrnoText(error)));
    return false;
  }
  if (!scratch.MoveTo(real, exists)) {
    const QString reason = QStringLiteral("%1：%2").arg(QDir::toNativeSeparators(real),
                                                       ErrnoText(errno));
    if (exists)
      ShowMessage(QStringLiteral("删除文件失败！\r\n") + reason);
    else
      ShowReplaceFailure(reason);
    return false;
  }
  SyncDirectory(directory);
  return true;
}
