// Reading a bank statement line by line, whatever its format: CSV (read
// with libcsv, csv_records.h) in any of the usual encodings and delimiters,
// OFX/QFX (ofx_reader.h) or the first sheet of an XLSX workbook
// (xlsx_reader.h) or of a legacy Excel one (xls_reader.h). Every statement comes out the same way: a header of
// column names (trimmed, without empty names at its end) and data lines of
// fields, each with the number of the line (for OFX, of the transaction;
// for a workbook, of the sheet's row) it came from. A data line has at
// least the header's fields (missing ones at its end are empty); the lines
// from the first one that ends the rows (statement_rows.h) on come as
// footer lines. Statements are read in chunks, never whole into memory; a
// CSV line of more than kMaxCsvFields fields or 256 KB, text that is not
// valid in its encoding and NUL bytes refuse the file.
#pragma once

#include <QString>
#include <QList>
#include <QStringList>

#include <functional>

enum class StatementKind { Csv, Ofx, Xlsx, Xls };

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
  // A data line whose first field starts with one of these texts ends the
  // rows (the summary under a bill's rows), besides the usual footers.
  QStringList rowsEnd;
};

inline constexpr int kMaxCsvFields = 1000;

struct SourceLine {
  int lineNumber = 0;
  QStringList fields;
  // Why the line cannot be imported whatever the mapping (an OFX
  // transaction without a date or amount, a quote that never closes);
  // empty for a line that reads.
  QString problem;
  // A line of the footer under the rows: no transaction, no fault.
  bool footer = false;
};

// "文件不是可识别的对账单（CSV、XLSX、XLS 或 OFX）"
QString NotAStatementMessage();

// "无法读取文件：<path>"
QString CannotReadMessage(const QString &path);

// A line (row) of more than kMaxCsvFields fields, which no statement has.
QString TooManyFieldsMessage(int line, const QString &path);

// The fields an OFX transaction gives, in this order.
QStringList OfxColumns();

// Looks at the start of the file: OFX, XLSX (a zip archive), XLS (a
// compound file) or CSV, for CSV its encoding and delimiter, and for CSV
// and workbooks the lines above its
// header (statement_rows.h; failing that, title lines of a bank have fewer
// fields than the lines below them). False, with a message for the user
// in error, when the file cannot be read or is no statement (empty,
// binary, a damaged workbook).
bool DetectStatementFormat(const QString &path, StatementFormat *format,
                           QString *error);

// The delimiter that splits the sample lines most consistently into more
// than one field: ',' ';' or '\t' (',' when none does).
char DetectDelimiter(const QStringList &sampleLines);

// The first lines of the CSV text head (the start of a file, decoded), each
// split into its fields; a last line perhaps cut off is left out.
QList<QStringList> HeadLines(const QString &head, char delimiter, bool cut);

// The index of the column called name (compared without blanks around it)
// among headers, or -1.
qsizetype ColumnIndex(const QStringList &headers, const QString &name);

// Reads the statement: headers gets the column names, onLine is called for
// every data line (and footer line) in order until it returns false. Lines
// whose fields are all empty are left out. False with error when the file could not be read
// (a line that merely does not fit is the caller's business).
// The rows of a workbook's first sheet (kind Xlsx or Xls), cells as texts.
bool ReadWorkbookRows(
    const QString &path, StatementKind kind,
    const std::function<bool(int rowNumber, const QStringList &cells)> &onRow,
    QString *error);

// The first rows of a workbook's first sheet, each as its cells; a row the
// sheet does not hold is an empty line. False with error when the workbook
// cannot be read (the rows read before are given all the same).
bool WorkbookHeadRows(const QString &path, StatementKind kind, int rows,
                      QList<QStringList> *lines, QString *error);

bool ReadStatement(const QString &path, const StatementFormat &format,
                   QStringList *headers,
                   const std::function<bool(const SourceLine &)> &onLine,
                   QString *error);
