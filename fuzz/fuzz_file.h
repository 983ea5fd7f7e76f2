// The private file the statement fuzz targets write each input to: the
// readers take a path, as the import gives them one. The file lives in a
// folder of this process only and is rewritten for every input.
#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

// Writes data to the process's file named name (its extension as the import
// would see it); its path.
inline QString WriteFuzzFile(const char *name, const uint8_t *data,
                             size_t size) {
  static QTemporaryDir dir;
  const QString path = dir.filePath(QString::fromLatin1(name));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    __builtin_trap();
  if (file.write(reinterpret_cast<const char *>(data), qint64(size)) !=
      qint64(size))
    __builtin_trap();
  return path;
}
