// Months of the bar chart.
#include "analysis/month_span.h"

#include "base/date_text.h"

namespace {

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool ReadMonth(const QString &text, YearMonth &out) {
  const DateValue value = ParseDateTime(text);
  if (!value.IsValid())
    return false;
  const QDate date = value.Date();
  out.year = date.year();
  out.month = date.month();
  return out.month >= 1 && out.month <= 12;
}

} // namespace

YearMonth YearMonth::FromIndex(qint64 index) {
  return YearMonth{int(index / 12), int(index % 12) + 1};
}

int DaysInMonth(int year, int month) {
  switch (month) {
  case 1: case 3: case 5: case 7: case 8: case 10: case 12:
    return 31;
  case 4: case 6: case 9: case 11:
    return 30;
  case 2:
    return IsLeapYear(year) ? 29 : 28;
  default:
    return 0;
  }
}

QString MonthLabel(const YearMonth &month) {
  return QStringLiteral("%1/%2").arg(month.year).arg(month.month);
}

bool MonthSpan(const QString &earliest, const QString &latest,
               YearMonth &first, YearMonth &last) {
  return ReadMonth(earliest, first) && ReadMonth(latest, last);
}
