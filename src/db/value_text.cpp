// Number texts independent of the process locale.
#include "db/value_text.h"

#include <QByteArray>

#include <charconv>
#include <climits>
#include <cmath>

QString FormatJetInteger(qint64 value) {
  QString text;
  AppendJetInteger(value, text);
  return text;
}

QString FormatJetDouble(double value) {
  QString text;
  AppendJetDouble(value, text);
  return text;
}

void AppendJetInteger(qint64 value, QString &out) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(QLatin1StringView(buffer, result.ptr - buffer));
}

void AppendJetDouble(double value, QString &out) {
  if (value == 0.0) {
    out.append(QLatin1Char('0'));
    return;
  }
  // to_chars is exact and fast, and does not depend on the C locale.
  char buffer[40];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  if (result.ec != std::errc()) {
    out.append(QString::number(value, 'g', 15));
    return;
  }
  for (char *p = buffer; p != result.ptr; ++p)
    if (*p == 'e')
      *p = 'E';
  out.append(QLatin1StringView(buffer, result.ptr - buffer));
}

namespace {

// The length of the number at the start of text (after blanks), or 0.
qsizetype NumberPrefix(QByteArrayView text, qsizetype &start) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  // Blanks as the C library's isspace knows them: blank, tab, LF, VT, FF, CR.
  while (i < n && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
    ++i;
  start = i;
  if (i < n && (text[i] == '+' || text[i] == '-'))
    ++i;
  qsizetype digits = 0;
  while (i < n && text[i] >= '0' && text[i] <= '9') {
    ++i;
    ++digits;
  }
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
      ++i;
      ++digits;
    }
  }
  if (digits == 0)
    return 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    qsizetype j = i + 1;
    if (j < n && (text[j] == '+' || text[j] == '-'))
      ++j;
    if (j < n && text[j] >= '0' && text[j] <= '9') {
      while (j < n && text[j] >= '0' && text[j] <= '9')
        ++j;
      i = j;
    }
  }
  return i - start;
}

} // namespace

double LeadingNumber(QByteArrayView text, bool *ok) {
  qsizetype start = 0;
  const qsizetype length = NumberPrefix(text, start);
  if (ok)
    *ok = length > 0;
  if (length == 0)
    return 0.0;
  // from_chars reads the C form whatever the locale; it takes no '+'.
  const char *first = text.data() + start;
  const char *last = first + length;
  if (*first == '+')
    ++first;
  double value = 0.0;
  const auto result = std::from_chars(first, last, value);
  if (result.ec == std::errc::result_out_of_range) {
    // As strtod: too large gives an infinity, too small a zero.
    const bool negative = *first == '-';
    const bool tiny = QByteArrayView(first, last - first).contains("e-") ||
                      QByteArrayView(first, last - first).contains("E-");
    value = tiny ? 0.0 : HUGE_VAL;
    return negative ? -value : value;
  }
  return value;
}

bool WholeNumber(QByteArrayView text, double &value) {
  qsizetype start = 0;
  const qsizetype length = NumberPrefix(text, start);
  if (length == 0)
    return false;
  for (qsizetype i = start + length; i < text.size(); ++i)
    if (text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '\n')
      return false;
  bool ok = false;
  value = text.sliced(start, length).toByteArray().toDouble(&ok);
  return ok && std::isfinite(value);
}

double RoundHalfEven(double value) {
  // nearbyint follows the current rounding mode, which is to-nearest-even
  // unless someone changed it; do it by hand to be sure.
  const double floor = std::floor(value);
  const double diff = value - floor;
  if (diff < 0.5)
    return floor;
  if (diff > 0.5)
    return floor + 1.0;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

int ClampToInt(double value) {
  if (std::isnan(value))
    return 0;
  const double rounded = RoundHalfEven(value);
  if (rounded >= double(INT_MAX))
    return INT_MAX;
  if (rounded <= double(INT_MIN))
    return INT_MIN;
  return int(rounded);
}

int ClampToInt(qint64 value) {
  if (value > INT_MAX)
    return INT_MAX;
  if (value < INT_MIN)
    return INT_MIN;
  return int(value);
}
