// Exclusive, locked, self-cleaning scratch files.
#include "storage/scratch_file.h"

#include "storage/file_copy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kMarker[] = ".sorvanel-tmp-";
const char kJournal[] = "-journal";
// The final name is cut to this many bytes, so that the scratch name stays
// within the 255 bytes a file name may have.
constexpr int kMaxShownBytes = 200;

QByteArray Native(const QString &path) { return QFile::encodeName(path); }

bool SameInode(const struct stat &a, const struct stat &b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A regular file of the current user at path, or a descriptor of -1.
int OpenOwnFile(const QByteArray &path) {
  const int fd = ::open(path.constData(),
                        O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return -1;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
      info.st_uid != ::geteuid()) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Removes path when it is a regular file of the current user.
void RemoveOwnFile(const QByteArray &path) {
  const int fd = OpenOwnFile(path);
  if (fd < 0)
    return;
  ::close(fd);
  ::unlink(path.constData());
}

// Removes the scratch file at path with its journal when no process holds
// it. The lock is taken on the file that was looked at, and the name still
// has to lead to that file once it is held.
void RemoveIfDead(const QByteArray &path) {
  const int fd = OpenOwnFile(path);
  if (fd < 0)
    return;
  struct stat held, current;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
      ::lstat(path.constData(), &current) == 0 && SameInode(held, current)) {
    ::unlink(path.constData());
    RemoveOwnFile(path + kJournal);
  }
  ::close(fd);
}

void SweepDeadScratchFiles(const QString &folder) {
  const QDir dir(folder);
  const QStringList names =
      dir.entryList({QStringLiteral(".*") + QLatin1String(kMarker) + QLatin1Char('*')},
                    QDir::Files | QDir::Hidden | QDir::System);
  for (const QString &name : names) {
    if (!ScratchFile::IsScratchName(name))
      continue;
    const QByteArray path = Native(dir.filePath(name));
    if (!name.endsWith(QLatin1String(kJournal))) {
      RemoveIfDead(path);
      continue;
    }
    // A journal whose scratch file is gone has nobody left to use it.
    struct stat info;
    const QByteArray main = path.chopped(int(sizeof kJournal) - 1);
    if (::lstat(main.constData(), &info) != 0 && errno == ENOENT)
      RemoveOwnFile(path);
  }
}

// The final name as it is shown in the scratch name: cut at a character
// boundary when too long.
QByteArray ShownName(const QString &finalName) {
  QString shown = finalName;
  while (Native(shown).size() > kMaxShownBytes)
    shown.chop(1);
  return Native(shown);
}

} // namespace

ScratchFile::~ScratchFile() { Remove(); }

bool ScratchFile::IsScratchName(const QString &fileName) {
  static const QRegularExpression pattern(
      QStringLiteral("^\\..*\\.sorvanel-tmp-[A-Za-z0-9]{6}(-journal)?$"));
  return pattern.match(fileName).hasMatch();
}

bool ScratchFile::Create(const QString &folder, const QString &finalName) {
  Remove();
  const QString absolute =
      QDir::cleanPath(QFileInfo(folder.isEmpty() ? QStringLiteral(".") : folder)
                          .absoluteFilePath());
  SweepDeadScratchFiles(absolute);
  const QByteArray base = Native(absolute) + "/." + ShownName(finalName) + kMarker;
  // A sweep elsewhere may take a new file in the moment before it is
  // locked; then a file of another name is made.
  for (int attempt = 0; attempt < 5; ++attempt) {
    QByteArray name = base + "XXXXXX";
    // mkostemp creates with O_EXCL and mode 0600: never through a link.
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
      return false;
    struct stat held, current;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
        ::lstat(name.constData(), &current) == 0 && SameInode(held, current)) {
      fd_ = fd;
      path_ = QFile::decodeName(name);
      return true;
    }
    ::close(fd);
  }
  errno = EAGAIN;
  return false;
}

bool ScratchFile::MoveTo(const QString &target, bool replace) {
  if (fd_ < 0) {
    errno = EBADF;
    return false;
  }
  if (!MoveIntoPlace(path_, target, replace))
    return false;
  // Whatever journal the engine left is no longer anyone's.
  RemoveOwnFile(Native(path_) + kJournal);
  Release();
  return true;
}

void ScratchFile::Remove() {
  if (fd_ < 0)
    return;
  const QByteArray path = Native(path_);
  ::unlink(path.constData());
  ::unlink((path + kJournal).constData());
  Release();
}

void ScratchFile::Release() {
  if (fd_ >= 0)
    ::close(fd_);
  fd_ = -1;
  path_.clear();
}
