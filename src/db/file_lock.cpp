// flock() based locks on an account file's lock file and on the scratch file
// of compaction.
#include "db/file_lock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kPollMs = 10;

// Opens path (creating it) and locks it exclusively, waiting up to waitMs.
// The descriptor on success; -1 with busy set when another holder kept it,
// -1 alone when the file cannot be opened.
//
// A holder that is done removes the file before letting go, so a lock won
// on a file that is no longer the one at path is worthless: then start
// again with the file that is there now.
int LockPath(const QString &path, int waitMs, bool &busy) {
  busy = false;
  const QByteArray name = QFile::encodeName(path);
  QElapsedTimer timer;
  timer.start();
  for (;;) {
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
      return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      struct stat held;
      struct stat current;
      if (::fstat(fd, &held) == 0 && ::stat(name.constData(), &current) == 0 &&
          held.st_dev == current.st_dev && held.st_ino == current.st_ino)
        return fd;
      ::close(fd);
      continue;
    }
    const int error = errno;
    ::close(fd);
    if (error != EWOULDBLOCK && error != EINTR)
      return -1;
    if (timer.elapsed() >= waitMs) {
      busy = true;
      return -1;
    }
    QThread::msleep(kPollMs);
  }
}

// The account file locks this process holds, by lock file path: the
// descriptor and how many AccountFileLock objects share it.
struct HeldLock {
  int fd = -1;
  int count = 0;
};

QMutex &HeldMutex() {
  static QMutex mutex;
  return mutex;
}

QHash<QString, HeldLock> &Held() {
  static QHash<QString, HeldLock> held;
  return held;
}

} // namespace

QString FileBusyMessage() {
  return QStringLiteral("账簿文件正在被其他程序使用！");
}

QString AccountFileLock::LockFilePath(const QString &path) {
  // Two spellings of one file (a link, "..", a relative path) share a lock.
  const QFileInfo info(path);
  QString file = info.canonicalFilePath();
  if (file.isEmpty())
    file = QDir::cleanPath(info.absoluteFilePath());
  const QFileInfo canonical(file);
  return canonical.dir().filePath(QLatin1Char('.') + canonical.fileName() +
                                  QStringLiteral(".lock"));
}

AccountFileLock::~AccountFileLock() { Release(); }

AccountFileLock::Result AccountFileLock::Acquire(const QString &path, int waitMs) {
  const QString key = LockFilePath(path);
  {
    QMutexLocker locker(&HeldMutex());
    auto found = Held().find(key);
    if (found != Held().end()) {
      ++found->count;
      locker.unlock();
      Release();
      key_ = key;
      return Taken;
    }
  }
  bool busy = false;
  const int fd = LockPath(key, waitMs, busy);
  if (fd < 0)
    return busy ? Busy : Unavailable;
  {
    QMutexLocker locker(&HeldMutex());
    HeldLock &held = Held()[key];
    if (held.count > 0) {
      // Another object of this process took it meanwhile: share theirs.
      ::close(fd);
    } else {
      held.fd = fd;
    }
    ++held.count;
  }
  Release();
  key_ = key;
  return Taken;
}

void AccountFileLock::Release() {
  if (key_.isEmpty())
    return;
  QMutexLocker locker(&HeldMutex());
  auto found = Held().find(key_);
  if (found != Held().end() && --found->count == 0) {
    // Removed while still locked: a process waiting on this file finds it
    // gone and makes a new one (see LockPath).
    ::unlink(QFile::encodeName(key_).constData());
    ::close(found->fd);
    Held().erase(found);
  }
  key_.clear();
}

ScratchFileLock::~ScratchFileLock() {
  if (fd_ >= 0)
    ::close(fd_);
}

ScratchFileLock::Result ScratchFileLock::Acquire(const QString &path, int waitMs) {
  bool busy = false;
  fd_ = LockPath(path, waitMs, busy);
  if (fd_ < 0)
    return busy ? Busy : Failed;
  path_ = path;
  struct stat info;
  if (::fstat(fd_, &info) == 0 && info.st_size > 0 && ::ftruncate(fd_, 0) != 0)
    return Failed;
  for (const char *suffix : {"-journal", "-wal", "-shm"})
    ::unlink(QFile::encodeName(path + QLatin1String(suffix)).constData());
  return Taken;
}

void ScratchFileLock::RemoveAndRelease() {
  if (fd_ < 0)
    return;
  ::unlink(QFile::encodeName(path_).constData());
  ::close(fd_);
  fd_ = -1;
}
