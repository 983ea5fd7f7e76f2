// Creating folders readable by their owner only.
#include "storage/private_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

bool MakePrivateFolder(const QString &folder) {
  if (folder.isEmpty()) {
    errno = ENOENT;
    return false;
  }
  const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
  // Each missing folder on the way is made here, so none of them is ever
  // open to others, not even for a moment.
  const QString parent = QFileInfo(path).path();
  struct stat info;
  if (parent != path && ::stat(QFile::encodeName(parent).constData(), &info) != 0 &&
      !MakePrivateFolder(parent))
    return false;
  const QByteArray name = QFile::encodeName(path);
  if (::mkdir(name.constData(), 0700) == 0)
    return true;
  if (errno != EEXIST)
    return false;
  if (::stat(name.constData(), &info) != 0)
    return false;
  if (!S_ISDIR(info.st_mode)) {
    errno = ENOTDIR;
    return false;
  }
  return (info.st_mode & 07777) == 0700 || ::chmod(name.constData(), 0700) == 0;
}
