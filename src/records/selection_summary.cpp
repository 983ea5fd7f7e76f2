// The note on the selected cells of the records grid.
#include "records/selection_summary.h"

#include "db/value_text.h"
#include "formula/format_decimal.h"

namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

} // namespace

double LeadingValue(QStringView text) {
  qsizetype pos = 0;
  while (pos < text.size() && text[pos].isSpace())
    ++pos;
  // Collect the longest prefix that reads as a number into ASCII and let
  // the locale-independent reader convert it; nothing is allocated.
  char buffer[64];
  int length = 0;
  const auto take = [&](QChar c) {
    if (length < int(sizeof buffer) - 1)
      buffer[length++] = char(c.unicode());
  };
  if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-'))
    take(text[pos++]);
  int digits = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    take(text[pos++]);
    ++digits;
  }
  if (pos < text.size() && text[pos] == u'.') {
    take(text[pos++]);
    while (pos < text.size() && IsDigit(text[pos])) {
      take(text[pos++]);
      ++digits;
    }
  }
  if (digits == 0)
    return 0;
  if (pos < text.size() && (text[pos] == u'e' || text[pos] == u'E')) {
    qsizetype at = pos + 1;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
      ++at;
    if (at < text.size() && IsDigit(text[at])) {
      for (qsizetype i = pos; i < at; ++i)
        take(text[i]);
      pos = at;
      while (pos < text.size() && IsDigit(text[pos]))
        take(text[pos++]);
    }
  }
  return LeadingNumber(QByteArrayView(buffer, length));
}

bool SelectionSummary::Text(QString &text) const {
  if (count < 2)
    return false;
  text = QStringLiteral("统计=%1 求和=%2 平均=%3")
             .arg(count)
             .arg(FormatDecimal(sum, 3),
                  FormatDecimal(numbers ? sum / double(numbers) : 0, 3));
  return true;
}
