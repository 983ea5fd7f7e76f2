// The texts of XLSX cells; see xlsx_cell_text.h.
#include "exchange/xlsx_cell_text.h"

#include "base/date_text.h"
#include "base/date_value.h"

#include <QLocale>

#include <cctype>
#include <charconv>
#include <cmath>

QString XlsxNumberText(double value) {
  if (value == 0) // and -0
    return QStringLiteral("0");
  // Plain digits for every number of up to 21 whole digits, as a script
  // engine prints them; the largest such number needs fewer than 50
  // characters.
  const double size = std::fabs(value);
  const auto form = size >= 1e-7 && size < 1e21 ? std::chars_format::fixed
                                                : std::chars_format::scientific;
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, form);
  if (result.ec != std::errc())
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

bool XlsxDateText(double days, bool date1904, QString *text) {
  if (!std::isfinite(days) || days < 0)
    return false;
  // Day counts of the zero day 1899-12-30: 1904-01-01 is day 1462; the
  // 1900 system agrees from 1900-03-01 (day 61) on and counts one day
  // fewer before it, where its day 60 is 1900-02-29 (read as 1900-02-28).
  double count = days;
  if (date1904)
    count += 1462;
  else if (days >= 1 && days < 60)
    count += 1;
  JetDateTime fields;
  if (!JetDateFromDayCount(count, fields))
    return false;
  *text = CanonicalDateText(fields);
  return true;
}

bool IsXlsxDateFormat(int numFmtId, const QString &code) {
  if ((numFmtId >= 14 && numFmtId <= 22) ||
      (numFmtId >= 27 && numFmtId <= 36) ||
      (numFmtId >= 45 && numFmtId <= 47) || (numFmtId >= 50 && numFmtId <= 58))
    return true;
  for (qsizetype i = 0; i < code.size(); ++i) {
    const QChar c = code.at(i);
    if (c == QLatin1Char('"')) {
      const qsizetype end = code.indexOf(QLatin1Char('"'), i + 1);
      i = end < 0 ? code.size() : end;
    } else if (c == QLatin1Char('[')) {
      const qsizetype end = code.indexOf(QLatin1Char(']'), i + 1);
      i = end < 0 ? code.size() : end;
    } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') ||
               c == QLatin1Char('*')) {
      ++i; // the next character is shown as it is, or a padding
    } else if (QStringLiteral("ymdhsYMDHS").contains(c)) {
      return true;
    }
  }
  return false;
}

int XlsxColumnOf(QStringView reference, int limit) {
  int column = 0;
  qsizetype i = 0;
  for (; i < reference.size(); ++i) {
    const char c = reference.at(i).toUpper().toLatin1();
    if (c < 'A' || c > 'Z')
      break;
    column = column * 26 + (c - 'A' + 1);
    if (column > limit)
      return limit;
  }
  return i == 0 ? -1 : column - 1;
}

namespace {

// Whether text starts with "_xHHHH_", four hexadecimal digits.
bool IsEscape(QStringView text) {
  if (text.size() < 7 || !text.startsWith(QLatin1String("_x")) ||
      text.at(6) != QLatin1Char('_'))
    return false;
  for (const QChar c : text.mid(2, 4))
    if (c.unicode() > 0x7F || !isxdigit(c.unicode()))
      return false;
  return true;
}

} // namespace

QString XlsxUnescape(const QString &text) {
  if (!text.contains(QLatin1String("_x")))
    return text;
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (IsEscape(QStringView(text).mid(i, 7))) {
      out.append(QChar(QStringView(text).mid(i + 2, 4).toUShort(nullptr, 16)));
      i += 6;
      continue;
    }
    out.append(text.at(i));
  }
  return out;
}
