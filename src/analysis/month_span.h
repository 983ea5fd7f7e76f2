// The calendar months of the bar chart: their lengths, labels and the span
// from the earliest to the latest record date.
#pragma once

#include <QString>

struct YearMonth {
  int year = 0;
  int month = 0; // 1 to 12

  // Months counted from year 0, so that consecutive months differ by one.
  qint64 Index() const { return qint64(year) * 12 + (month - 1); }
  static YearMonth FromIndex(qint64 index);
  bool operator==(const YearMonth &) const = default;
};

// Days of the month by the Gregorian calendar; 0 for a month outside 1-12.
int DaysInMonth(int year, int month);

// "%d/%d" without leading zeros: March 2010 is "2010/3".
QString MonthLabel(const YearMonth &month);

// The first and last month from the texts of the earliest and latest date.
// False when either text does not read as a date: the chart then has no
// bars.
bool MonthSpan(const QString &earliest, const QString &latest,
               YearMonth &first, YearMonth &last);
