// Number text without trailing zeros.
#include "formula/format_decimal.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// printf's "%.Nf" of value. std::to_chars gives the same exact digits (both
// round the exact binary value correctly) several times faster, and this
// runs for every number of every record stored; infinities and NaNs keep
// printf's spelling.
QString FixedText(double value, int decimals) {
  // The largest double has 309 digits before the point.
  constexpr int kIntegerRoom = 320;
  if (std::isfinite(value) && decimals <= 64) {
    char buffer[kIntegerRoom + 64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, decimals);
    if (result.ec == std::errc())
      return QString::fromLatin1(buffer, result.ptr - buffer);
  }
  char format[16];
  std::snprintf(format, sizeof format, "%%.%df", decimals);
  const int size = std::snprintf(nullptr, 0, format, value);
  std::vector<char> buffer(size_t(size) + 1);
  std::snprintf(buffer.data(), buffer.size(), format, value);
  return QString::fromLatin1(buffer.data(), size);
}

} // namespace

QString FormatDecimal(double value, int decimals) {
  if (decimals < 0)
    decimals = 0;
  QString text = FixedText(value, decimals);
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
