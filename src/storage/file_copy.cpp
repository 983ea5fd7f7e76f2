// Temporary-file copies, flushes and renames on POSIX systems.
#include "storage/file_copy.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Native(const QString &path) { return QFile::encodeName(path); }

bool WriteAll(int fd, const char *data, ssize_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size_t(size));
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    data += written;
    size -= written;
  }
  return true;
}

bool CopyContent(int in, int out, bool *writing) {
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(in, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0)
      return false;
    if (got == 0)
      return true;
    if (!WriteAll(out, buffer, got)) {
      *writing = true;
      return false;
    }
  }
}

} // namespace

bool CopyFileInto(const QString &source, int out, bool *writing) {
  bool outFailed = false;
  if (!writing)
    writing = &outFailed;
  *writing = false;
  const int in = ::open(Native(source).constData(), O_RDONLY | O_CLOEXEC);
  if (in < 0)
    return false;
  struct stat info;
  bool ok = ::fstat(in, &info) == 0;
  if (ok && !S_ISREG(info.st_mode)) {
    errno = EINVAL;
    ok = false;
  }
  ok = ok && CopyContent(in, out, writing);
  if (ok && ::fsync(out) != 0) {
    *writing = true;
    ok = false;
  }
  const int saved = errno;
  ::close(in);
  errno = saved;
  return ok;
}

bool MoveIntoPlace(const QString &temporary, const QString &target, bool replace) {
  const QByteArray from = Native(temporary);
  const QByteArray to = Native(target);
  if (replace)
    return ::rename(from.constData(), to.constData()) == 0;
  // A hard link never overwrites; where the file system has none, check
  // and rename.
  if (::link(from.constData(), to.constData()) == 0) {
    ::unlink(from.constData());
    return true;
  }
  if (errno == EEXIST)
    return false;
  struct stat info;
  if (::lstat(to.constData(), &info) == 0) {
    errno = EEXIST;
    return false;
  }
  return ::rename(from.constData(), to.constData()) == 0;
}

void SyncDirectory(const QString &directory) {
  const int fd = ::open(Native(directory.isEmpty() ? QStringLiteral(".") : directory)
                            .constData(),
                        O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0)
    return;
  ::fsync(fd);
  ::close(fd);
}

mode_t NewFileMode() {
  // The umask can only be read by setting it; it is put back at once.
  const mode_t mask = ::umask(077);
  ::umask(mask);
  return 0666 & ~mask;
}
