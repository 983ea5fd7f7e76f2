// The private file the statement fuzz targets write each input to: the
// readers take a path, as the import gives them one. The file lives in a
// folder of this process only and is rewritten for every input.
#pragma once

#include "exchange/statement_source.h"
#include "exchange/xlsx_reader.h"

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

// Reads the workbook at path with read (ReadXlsxRows or ReadXlsRows) and
// traps when a row breaks the bounds of a statement (rows in order, at most
// kMaxCsvFields cells of at most kMaxXlsxCellText characters, no NUL) or a
// refusal says nothing, or a success says why it failed.
template <class Reader>
void CheckWorkbookRows(const Reader &read, const QString &path) {
  QString error;
  int previous = 0;
  const bool ok = read(
      path,
      [&](int row, const QStringList &cells) {
        if (row <= previous || cells.size() > kMaxCsvFields)
          __builtin_trap();
        for (const QString &cell : cells)
          if (cell.size() > kMaxXlsxCellText || cell.contains(QChar(0)))
            __builtin_trap();
        previous = row;
        return true;
      },
      &error);
  if (ok != error.isEmpty())
    __builtin_trap();
}
