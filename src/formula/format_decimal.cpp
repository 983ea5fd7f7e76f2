// Number text without trailing zeros.
#include "formula/format_decimal.h"

#include <cstdio>
#include <vector>

QString FormatDecimal(double value, int decimals) {
  if (decimals < 0)
    decimals = 0;
  char format[16];
  std::snprintf(format, sizeof format, "%%.%df", decimals);
  // Most numbers fit the buffer on the stack; %f of a large double can take
  // over 300 digits before the point, and then the text is formatted again
  // into a buffer of its size.
  char small[64];
  const int size = std::snprintf(small, sizeof small, format, value);
  QString text;
  if (size < int(sizeof small)) {
    text = QString::fromLatin1(small, size);
  } else {
    std::vector<char> buffer(size_t(size) + 1);
    std::snprintf(buffer.data(), buffer.size(), format, value);
    text = QString::fromLatin1(buffer.data(), size);
  }

  const qsizetype point = text.indexOf(QLatin1Char('.'));
  if (point < 0)
    return text;
  qsizetype end = text.size();
  while (end > point && (text[end - 1] == QLatin1Char('0') ||
                         text[end - 1] == QLatin1Char('.')))
    --end;
  text.truncate(end);
  return text;
}
