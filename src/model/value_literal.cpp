// SQL literals of cell texts by column type.
#include "model/value_literal.h"

#include "formula/format_decimal.h"
#include "model/column_list.h"
#include "model/date_text.h"
#include "model/sql_text.h"

#include <string>

#include <locale.h> // newlocale, locale_t
#include <stdlib.h> // strtod_l

namespace {

const char *const kDateFallback = "#1985-05-22#";
const char *const kTimeFallback = "#00:00:00#";

bool IsAsciiDigit(QChar c) {
  return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Appends the digits at text[pos...] to out; the number appended.
int TakeDigits(const QString &text, qsizetype &pos, std::string &out) {
  int count = 0;
  while (pos < text.size() && IsAsciiDigit(text[pos])) {
    out.push_back(char(text[pos].unicode()));
    ++pos;
    ++count;
  }
  return count;
}

bool IsCBlank(QChar c) {
  // isspace of the C locale: blank, tab, LF, VT, FF, CR.
  const char16_t u = c.unicode();
  return u == ' ' || (u >= '\t' && u <= '\r');
}

QString DateLiteral(const QString &value, int type) {
  const DateValue date = ParseDateTime(value);
  const bool timeOnly = type == FT_TIME || type == FT_AUTOTIME;
  if (!date.IsValid())
    return QString::fromLatin1(timeOnly ? kTimeFallback : kDateFallback);
  DateTimePart part = DTP_BOTH;
  if (type == FT_DATE || type == FT_AUTODATE)
    part = DTP_DATE;
  else if (timeOnly)
    part = DTP_TIME;
  return QLatin1Char('#') + FormatDateTime(date, part) + QLatin1Char('#');
}

} // namespace

double LeadingNumber(const QString &text) {
  qsizetype pos = 0;
  while (pos < text.size() && IsCBlank(text[pos]))
    ++pos;
  bool negative = false;
  if (pos < text.size() &&
      (text[pos] == QLatin1Char('+') || text[pos] == QLatin1Char('-'))) {
    negative = text[pos] == QLatin1Char('-');
    ++pos;
  }

  std::string number;
  int digits = TakeDigits(text, pos, number);
  if (pos < text.size() && text[pos] == QLatin1Char('.')) {
    number.push_back('.');
    ++pos;
    digits += TakeDigits(text, pos, number);
  }
  if (digits == 0)
    return 0;

  // An exponent counts only when at least one digit follows its letter.
  if (pos < text.size() &&
      (text[pos] == QLatin1Char('e') || text[pos] == QLatin1Char('E'))) {
    qsizetype at = pos + 1;
    std::string exponent = "e";
    if (at < text.size() &&
        (text[at] == QLatin1Char('+') || text[at] == QLatin1Char('-')))
      exponent.push_back(char(text[at++].unicode()));
    if (TakeDigits(text, at, exponent) > 0)
      number += exponent;
  }

  // The prefix is plain ASCII now; read it in the C locale so a program
  // running under a locale with a decimal comma still reads the point.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
  const double value = strtod_l(number.c_str(), nullptr, cLocale);
  return negative ? -value : value;
}

QString TypedLiteral(const QString &value, int type) {
  if (IsTextType(type))
    return SqlTextLiteral(value);
  if (IsDateTimeType(type))
    return DateLiteral(value, type);
  if (value.isEmpty())
    return QStringLiteral("0");
  return FormatDecimal(LeadingNumber(value), 18);
}

QString ValueLiteral(const ColumnList &columns, const QString &value,
                     int position) {
  if (!columns.IsValid(position))
    return QString();
  return TypedLiteral(value, columns.At(position).type);
}

QString ColumnCondition(const ColumnList &columns, const QString &value,
                        int position) {
  if (!columns.IsValid(position))
    return QString();
  return QStringLiteral("[%1]=%2").arg(columns.At(position).fieldName,
                                       ValueLiteral(columns, value, position));
}
