// What a reader of one format of statements does for the import: tell
// whether a file is of its format, find how the file reads, and read its
// lines in the one shape of statement_lines.h. The readers of CSV, OFX,
// XLSX and legacy Excel implement it (csv_reader.h, ofx_reader.h,
// xlsx_reader.h, xls_reader.h); statement_readers.h lists them. A new
// format is a new reader added to that list.
#pragma once

#include "exchange/statement_lines.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class StatementFile;

// How a reader takes the settings a CSV needs to be read (its encoding and
// delimiter) for its first lines.
enum class FirstLook {
  Given,   // as the format says
  Guessed, // as the first bytes suggest, set in the format
};

class StatementReader {
public:
  virtual ~StatementReader() = default;

  // The kind of statement read; a format names its reader by it.
  virtual StatementKind Kind() const = 0;
  // Whether the file that starts with head is one this reader reads.
  virtual bool CanRead(const QByteArray &head) const = 0;
  // Sets the reading settings of file in format (whose kind is Kind()):
  // where its header is and what else this format needs. False with a
  // message for the user when the file is no statement.
  virtual bool DetectFormat(StatementFile &file, StatementFormat *format,
                            QString *error) const = 0;
  // The first lines of file, each as its fields, that a bill is recognised
  // by and a statement's head is read from; none when the format has no
  // such lines. look says where the settings come from.
  virtual QList<QStringList> FirstLines(StatementFile &file,
                                        StatementFormat *format,
                                        FirstLook look) const = 0;
  // Reads the statement with format: headers get the column names, onLine
  // every data and footer line in order until it returns false (see
  // ReadStatement). False with error when the file could not be read.
  virtual bool ReadLines(StatementFile &file, const StatementFormat &format,
                         QStringList *headers, const LineSink &onLine,
                         QString *error) const = 0;
};
