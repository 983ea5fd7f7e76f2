// Compaction of an account file and the file replacement.
#include "db/compaction.h"

#include "base/prompt.h"
#include "db/db_visiter_factory.h"
#include "db/describe_error.h"
#include "db/file_copy.h"
#include "db/file_lock.h"
#include "db/jet_collation.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <sys/stat.h>

namespace {

const char kScratch[] = "temp.mdb";
// How long a compaction waits for another one to finish with the scratch
// file before it gives up.
constexpr int kScratchWaitMs = 1000;

bool PathExists(const QString &path) {
  struct stat info;
  return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

// VACUUM INTO the scratch file; the engine's text on failure.
bool WriteCompactCopy(const QString &path, QString &error) {
  sqlite3 *db = nullptr;
  int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE,
                           nullptr);
  if (rc != SQLITE_OK) {
    error = DescribeError(rc);
    sqlite3_close_v2(db);
    return false;
  }
  sqlite3_busy_timeout(db, 5000);
  // The copy's text indexes are rebuilt in the session's order.
  RegisterJetCollation(db);
  char *message = nullptr;
  const QByteArray sql = QByteArray("VACUUM INTO '") + kScratch + "'";
  rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message);
  if (rc != SQLITE_OK)
    error = message ? QString::fromUtf8(message) : DescribeError(rc);
  sqlite3_free(message);
  sqlite3_close_v2(db);
  return rc == SQLITE_OK;
}

} // namespace

bool CompactAccountFile(const QString &path) {
  CDBVisiterFactory::Instance().RemoveVisiter(path);
  if (path.isEmpty() || !QFileInfo(path).isFile())
    return false;

  // The scratch file is locked while this compaction uses it. One that is
  // there and that no living process holds is left over from a crash and is
  // emptied here; one that another compaction holds fails this one, as the
  // engine fails when the file is there.
  const QString scratch = QString::fromLatin1(kScratch);
  ScratchFileLock scratchLock;
  const ScratchFileLock::Result locked = scratchLock.Acquire(scratch, kScratchWaitMs);
  if (locked == ScratchFileLock::Busy) {
    ShowMessage(QStringLiteral("output file already exists"));
    return false;
  }
  // Without a lock (a folder where no file can be made) the engine says why
  // it cannot write; a file that was there then is not ours to remove.
  const bool ours = locked == ScratchFileLock::Taken || !PathExists(scratch);
  auto removeScratch = [&] {
    if (locked == ScratchFileLock::Taken)
      scratchLock.RemoveAndRelease();
    else if (ours)
      QFile::remove(scratch);
  };
  QString error;
  if (!WriteCompactCopy(path, error)) {
    removeScratch();
    ShowMessage(error);
    return false;
  }

  // The compacted copy takes the account file's place in one rename; until
  // then the account file is exactly as it was.
  const QString directory = QFileInfo(path).absolutePath();
  QString temporary;
  const bool replaced =
      CopyToTemporary(scratch, directory, FileMode(path, 0644), temporary) &&
      MoveIntoPlace(temporary, path, true);
  if (!replaced && !temporary.isEmpty())
    QFile::remove(temporary);
  removeScratch();
  if (!replaced) {
    ShowMessage(QStringLiteral("替换文件失败！"));
    return false;
  }
  SyncDirectory(directory);
  return true;
}

bool ReplaceFile(const QString &target, const QString &source) {
  const QFileInfo targetInfo(target);
  const QString directory = targetInfo.absolutePath();
  // A file that is there and cannot be replaced (a folder, or a file in a
  // folder that may not be changed) is the delete failing.
  const bool exists = PathExists(target);
  if (targetInfo.isDir() || (exists && !QFileInfo(directory).isWritable())) {
    ShowMessage(QStringLiteral("删除文件失败！"));
    return false;
  }
  // The copy is made first: a missing source leaves the target alone.
  QString temporary;
  if (!CopyToTemporary(source, directory, FileMode(source, 0644), temporary)) {
    ShowMessage(QStringLiteral("替换文件失败！"));
    return false;
  }
  if (!MoveIntoPlace(temporary, target, exists)) {
    QFile::remove(temporary);
    ShowMessage(exists ? QStringLiteral("删除文件失败！")
                       : QStringLiteral("替换文件失败！"));
    return false;
  }
  SyncDirectory(directory);
  return true;
}
