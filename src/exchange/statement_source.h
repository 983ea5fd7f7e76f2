// Reading a bank statement line by line, whatever its format: CSV (read
// with libcsv) in any of the usual encodings and delimiters, OFX/QFX
// (ofx_reader.h) or the first sheet of an XLSX workbook (xlsx_reader.h).
// Every statement comes out the same way: a header of column names and
// data lines of fields, each with the number of the line (for OFX, of the
// transaction; for XLSX, of the sheet's row) it came from. Statements are
// read in chunks, never whole into memory; a CSV line of more than
// kMaxCsvFields fields or 256 KB, text that is not valid in its encoding
// and NUL bytes refuse the file.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

enum class StatementKind { Csv, Ofx, Xlsx };

struct StatementFormat {
  StatementKind kind = StatementKind::Csv;
  // CSV only: the encoding's name (see StatementEncodings) and the
  // delimiter (',', ';' or '\t'). CSV and XLSX: the lines (rows) before the
  // header line, and whether there is a header line (else the columns are
  // called "列1", "列2", ...).
  QString encoding = QStringLiteral("UTF-8");
  char delimiter = ',';
  int skipLines = 0;
  bool hasHeader = true;
  // A data line whose first field starts with this text ends the rows (the
  // summary under a bill's rows); empty: the rows go to the end.
  QString rowsEnd;
};

inline constexpr int kMaxCsvFields = 1000;

struct SourceLine {
  int lineNumber = 0;
  QStringList fields;
  // Why the line cannot be imported whatever the mapping (an OFX
  // transaction without a date or amount); empty for a line that reads.
  QString problem;
};

// "文件不是可识别的对账单（CSV 或 OFX）！"
QString NotAStatementMessage();

// "无法读取文件：<path>"
QString CannotReadMessage(const QString &path);

// A line (row) of more than kMaxCsvFields fields, which no statement has.
QString TooManyFieldsMessage(int line, const QString &path);

// The fields an OFX transaction gives, in this order.
QStringList OfxColumns();

// Looks at the start of the file: OFX, XLSX (a zip archive) or CSV, for
// CSV its encoding and delimiter, and for CSV and XLSX the lines above its
// header (title lines of a bank have fewer fields than the lines below
// them). False, with a message for the user in error, when the file cannot
// be read or is no statement (empty, binary, a damaged workbook).
bool DetectStatementFormat(const QString &path, StatementFormat *format,
                           QString *error);

// The delimiter that splits the sample lines most consistently into more
// than one field: ',' ';' or '\t' (',' when none does).
char DetectDelimiter(const QStringList &sampleLines);

// Reads the statement: headers gets the column names, onLine is called for
// every data line in order until it returns false. Lines whose fields are
// all empty are left out. False with error when the file could not be read
// (a line that merely does not fit is the caller's business).
bool ReadStatement(const QString &path, const StatementFormat &format,
                   QStringList *headers,
                   const std::function<bool(const SourceLine &)> &onLine,
                   QString *error);
