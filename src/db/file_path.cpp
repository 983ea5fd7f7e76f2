// Real paths and write permission.
#include "db/file_path.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

QString RealFilePath(const QString &path) {
  const QString cleaned = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  const QString canonical = QFileInfo(cleaned).canonicalFilePath();
  return canonical.isEmpty() ? cleaned : canonical;
}

bool MayWriteFile(const QString &path) {
  return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}
