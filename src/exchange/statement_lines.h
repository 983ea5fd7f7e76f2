// The one shape in which every statement reaches the import, whatever its
// format: its kind and reading settings, and lines of fields, each with the
// number of the line (for OFX, of the transaction; for a workbook, of the
// sheet's row) it came from.
#pragma once

#include <QString>
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

// The most fields of one line of a statement (a CSV line, a workbook's
// row); no statement has more, and a line with more refuses the file.
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

// Told each line of a statement in order; false stops the reading.
using LineSink = std::function<bool(const SourceLine &)>;
