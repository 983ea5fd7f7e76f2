// Reading a bank statement line by line, whatever its format: the start of
// the file names its reader (statement_readers.h), one of CSV
// (csv_reader.h) in any of the usual encodings and delimiters, OFX/QFX
// (ofx_reader.h) or the first sheet of an XLSX workbook (xlsx_reader.h) or
// of a legacy Excel one (xls_reader.h). Every statement comes out the same
// way (statement_lines.h): a header of column names (trimmed, without
// empty names at its end) and data lines of fields, each with the number
// of the line it came from. A data line has at least the header's fields
// (missing ones at its end are empty); the lines from the first one that
// ends the rows (statement_rows.h) on come as footer lines. Statements are
// read in chunks, never whole into memory. Given a StatementFile
// (statement_file.h) rather than a path, a function reads what the file's
// start gave once and the file only past it.
#pragma once

#include "exchange/statement_lines.h"
#include "exchange/statement_messages.h"

#include <QString>
#include <QStringList>

class StatementFile;

// Looks at the start of the file: OFX, XLSX (a zip archive), XLS (a
// compound file) or CSV, for CSV its encoding and delimiter, and for CSV
// and workbooks the lines above its header (statement_rows.h; failing
// that, title lines of a bank have fewer fields than the lines below
// them). False, with a message for the user in error, when the file cannot
// be read or is no statement (empty, binary, a damaged workbook).
bool DetectStatementFormat(const QString &path, StatementFormat *format,
                           QString *error);
bool DetectStatementFormat(StatementFile &file, StatementFormat *format,
                           QString *error);

// The index of the column called name (compared without blanks around it)
// among headers, or -1.
qsizetype ColumnIndex(const QStringList &headers, const QString &name);

// Reads the statement: headers gets the column names, onLine is called for
// every data line (and footer line) in order until it returns false. Lines
// whose fields are all empty are left out. False with error when the file
// could not be read (a line that merely does not fit is the caller's
// business).
bool ReadStatement(const QString &path, const StatementFormat &format,
                   QStringList *headers, const LineSink &onLine,
                   QString *error);
bool ReadStatement(StatementFile &file, const StatementFormat &format,
                   QStringList *headers, const LineSink &onLine,
                   QString *error);

// The line of the statement numbered lineNumber as read (its fields by the
// header); false with a message when there is none ("对账单中没有第N行") or
// the statement no longer reads.
bool ReadStatementLine(const QString &path, const StatementFormat &format,
                       int lineNumber, SourceLine *line, QString *error);
