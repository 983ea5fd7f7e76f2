// Turns the rows of a statement, in any format that has rows, into its
// header, data lines and footer lines: the first row after those skipped is
// the header (without a header line the columns are called "列1", "列2",
// ...), a data line gets empty fields for those it leaves off at its end,
// and from the first row that ends the rows (statement_rows.h) on every
// line is a footer line.
#pragma once

#include "exchange/statement_lines.h"

#include <QStringList>

class RowShaper {
public:
  // Clears headers, which get the column names once the header is read.
  RowShaper(const StatementFormat &format, QStringList *headers,
            const LineSink &onLine);

  // Whether the header has been read; the number of its columns.
  bool HeaderDone() const { return headerDone_; }
  qsizetype Columns() const { return headers_.size(); }

  // Takes one row after the skipped ones; false once the reader is to
  // stop.
  bool Take(SourceLine line);

private:
  const StatementFormat &format_;
  QStringList &headers_;
  const LineSink &onLine_;
  bool headerDone_;
  bool footer_ = false;
};
