// Rhythm arithmetic on local dates.
#include "recurring/rhythm.h"

#include <algorithm>
#include <climits>

namespace {

// The day of the month, or the month's last day when it has fewer.
QDate DayInMonth(int year, int month, int day) {
  const QDate start(year, month, 1);
  if (!start.isValid() || year > 9999)
    return QDate();
  return QDate(year, month, std::min(day, start.daysInMonth()));
}

// The month count first plus months, as year and month.
QDate MonthsLater(const QDate &first, long long months) {
  const long long index = (long long)first.year() * 12 + first.month() - 1 +
                          months;
  if (index > 9999LL * 12 + 11)
    return QDate();
  return DayInMonth(int(index / 12), int(index % 12) + 1, first.day());
}

// Whole months from the month of first to the month of date.
long long MonthsBetween(const QDate &first, const QDate &date) {
  return (long long)(date.year() - first.year()) * 12 +
         (date.month() - first.month());
}

long long PeriodDays(const Rhythm &rhythm) {
  return rhythm.unit == RhythmUnit::Weeks ? 7LL * rhythm.every : rhythm.every;
}

} // namespace

QDate OccurrenceDate(const Rhythm &rhythm, const QDate &first, int n) {
  if (!first.isValid() || rhythm.every < 1 || n < 0)
    return QDate();
  const long long steps = (long long)n * rhythm.every;
  switch (rhythm.unit) {
  case RhythmUnit::Days:
  case RhythmUnit::Weeks: {
    const QDate date = first.addDays(PeriodDays(rhythm) * n);
    return date.year() > 9999 ? QDate() : date;
  }
  case RhythmUnit::Months:
    return MonthsLater(first, steps);
  case RhythmUnit::Years:
    return MonthsLater(first, steps * 12);
  }
  return QDate();
}

int FirstOccurrenceAfter(const Rhythm &rhythm, const QDate &first,
                         const QDate &date) {
  if (!first.isValid() || rhythm.every < 1 || !date.isValid() || date < first)
    return 0;
  // An estimate that never lies past the answer, then step by step.
  long long n = 0;
  switch (rhythm.unit) {
  case RhythmUnit::Days:
  case RhythmUnit::Weeks:
    n = first.daysTo(date) / PeriodDays(rhythm);
    break;
  case RhythmUnit::Months:
    n = MonthsBetween(first, date) / rhythm.every - 1;
    break;
  case RhythmUnit::Years:
    n = MonthsBetween(first, date) / (12LL * rhythm.every) - 1;
    break;
  }
  n = std::clamp(n, 0LL, (long long)INT_MAX);
  while (n < INT_MAX) {
    const QDate at = OccurrenceDate(rhythm, first, int(n));
    if (!at.isValid() || at > date)
      break;
    ++n;
  }
  return int(n);
}

QString RhythmText(const Rhythm &rhythm) {
  const QString unit = rhythm.unit == RhythmUnit::Months
                           ? QStringLiteral("个月")
                           : RhythmUnitName(rhythm.unit);
  if (rhythm.every == 1)
    return QStringLiteral("每") + RhythmUnitName(rhythm.unit);
  return QStringLiteral("每%1%2").arg(rhythm.every).arg(unit);
}

bool ParseRhythmUnit(const QString &word, RhythmUnit &unit) {
  const QString w = word.toLower();
  if (w == QLatin1String("days") || w == QLatin1String("day"))
    unit = RhythmUnit::Days;
  else if (w == QLatin1String("weeks") || w == QLatin1String("week"))
    unit = RhythmUnit::Weeks;
  else if (w == QLatin1String("months") || w == QLatin1String("month"))
    unit = RhythmUnit::Months;
  else if (w == QLatin1String("years") || w == QLatin1String("year"))
    unit = RhythmUnit::Years;
  else
    return false;
  return true;
}

QString RhythmUnitName(RhythmUnit unit) {
  switch (unit) {
  case RhythmUnit::Days:
    return QStringLiteral("天");
  case RhythmUnit::Weeks:
    return QStringLiteral("周");
  case RhythmUnit::Months:
    return QStringLiteral("月");
  case RhythmUnit::Years:
    return QStringLiteral("年");
  }
  return QString();
}
