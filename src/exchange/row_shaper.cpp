// Header, data and footer lines of a statement's rows; see row_shaper.h.
#include "exchange/row_shaper.h"

#include "exchange/statement_rows.h"

namespace {

// Without a header line the columns are named by number: "列1", "列2"...
// up to count.
void NameColumns(QStringList *headers, qsizetype count) {
  for (qsizetype i = headers->size(); i < count; ++i)
    headers->append(QStringLiteral("列%1").arg(i + 1));
}

} // namespace

RowShaper::RowShaper(const StatementFormat &format, QStringList *headers,
                     const LineSink &onLine)
    : format_(format), headers_(*headers), onLine_(onLine),
      headerDone_(!format.hasHeader) {
  headers_.clear();
}

bool RowShaper::Take(SourceLine line) {
  if (!line.problem.isEmpty())
    return footer_ || onLine_(line);
  if (!headerDone_) {
    headers_.clear();
    for (const QString &name : WithoutTrailingEmpty(line.fields))
      headers_.append(name.trimmed());
    headerDone_ = true;
    return true;
  }
  if (!format_.hasHeader)
    NameColumns(&headers_, WithoutTrailingEmpty(line.fields).size());
  if (!footer_ && format_.hasHeader &&
      IsFooterLine(line.fields, headers_.size(), format_.rowsEnd))
    footer_ = true;
  line.footer = footer_;
  // Fields a line leaves off at its end are empty.
  while (line.fields.size() < headers_.size())
    line.fields.append(QString());
  return onLine_(line);
}
