// flock() based locks on an account file's lock file.
#include "storage/file_lock.h"

#include "db/file_path.h"

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

// Opens the lock file at name, creating it with mode, never through a link
// and only when it is a regular file. A lock file that another user made
// and only lets others read is opened read-only: flock() locks through any
// descriptor, so the users who share a folder share its lock files. -1 with
// errno when it cannot be opened.
int OpenLockFile(const QByteArray &name, mode_t mode) {
  const int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  int fd = ::open(name.constData(), O_RDWR | O_CREAT | flags, mode);
  if (fd < 0 && errno == EACCES) {
    fd = ::open(name.constData(), O_RDONLY | flags);
    if (fd < 0 && errno == ENOENT)
      errno = EACCES;  // a folder where no lock file can be made
  }
  if (fd < 0)
    return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    return -1;
  }
  // Whoever may write the account file must be able to open its lock file.
  if (info.st_uid == ::geteuid() && (info.st_mode & 0666) != mode)
    ::fchmod(fd, mode);
  return fd;
}

// Opens the lock file at path (creating it with mode) and locks it
// exclusively, waiting up to waitMs. The descriptor on success; -1 with
// busy set when another holder kept it, -1 with errno when the file cannot
// be opened.
//
// A holder that is done removes the file before letting go, so a lock won
// on a file that is no longer the one at path is worthless: then start
// again with the file that is there now.
int LockPath(const QString &path, mode_t mode, int waitMs, bool &busy) {
  busy = false;
  const QByteArray name = QFile::encodeName(path);
  QElapsedTimer timer;
  timer.start();
  for (;;) {
    const int fd = OpenLockFile(name, mode);
    if (fd < 0)
      return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      struct stat held;
      struct stat current;
      if (::fstat(fd, &held) == 0 && ::lstat(name.constData(), &current) == 0 &&
          held.st_dev == current.st_dev && held.st_ino == current.st_ino)
        return fd;
      ::close(fd);
      continue;
    }
    const int error = errno;
    ::close(fd);
    if (error != EWOULDBLOCK && error != EINTR) {
      errno = error;
      return -1;
    }
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
  const QFileInfo canonical(RealFilePath(path));
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
  struct stat account;
  const mode_t mode =
      ::stat(QFile::encodeName(path).constData(), &account) == 0 ? account.st_mode & 0666
                                                                  : 0644;
  const int fd = LockPath(key, mode, waitMs, busy);
  error_ = busy ? 0 : errno;
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
