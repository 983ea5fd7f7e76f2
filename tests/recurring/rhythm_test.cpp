// Rhythm arithmetic on local dates: month ends, leap years, the step to the
// first occurrence after a date, and a change of daylight saving time,
// which moves no date.
#include "recurring/rhythm.h"

#include <QList>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

QList<QDate> Dates(const Rhythm &rhythm, const QDate &first, int count) {
  QList<QDate> dates;
  for (int n = 0; n < count; ++n)
    dates.append(OccurrenceDate(rhythm, first, n));
  return dates;
}

} // namespace

TEST(RhythmTest, MonthEndsAndLeapYears) {
  // The 31st is each month's last day; the months after go back to it.
  EXPECT_EQ(Dates({RhythmUnit::Months, 1}, QDate(2026, 1, 31), 5),
            (QList<QDate>{QDate(2026, 1, 31), QDate(2026, 2, 28),
                          QDate(2026, 3, 31), QDate(2026, 4, 30),
                          QDate(2026, 5, 31)}));
  EXPECT_EQ(OccurrenceDate({RhythmUnit::Months, 1}, QDate(2024, 1, 30), 1),
            QDate(2024, 2, 29));
  EXPECT_EQ(Dates({RhythmUnit::Months, 2}, QDate(2025, 12, 31), 3),
            (QList<QDate>{QDate(2025, 12, 31), QDate(2026, 2, 28),
                          QDate(2026, 4, 30)}));
  // 29 February in years without it is the 28th.
  EXPECT_EQ(Dates({RhythmUnit::Years, 1}, QDate(2024, 2, 29), 5),
            (QList<QDate>{QDate(2024, 2, 29), QDate(2025, 2, 28),
                          QDate(2026, 2, 28), QDate(2027, 2, 28),
                          QDate(2028, 2, 29)}));
  // Weeks keep the weekday across the year's end.
  for (const QDate &date : Dates({RhythmUnit::Weeks, 2}, QDate(2025, 12, 17), 6))
    EXPECT_EQ(date.dayOfWeek(), 3) << qPrintable(date.toString());
  EXPECT_EQ(OccurrenceDate({RhythmUnit::Weeks, 2}, QDate(2025, 12, 17), 2),
            QDate(2026, 1, 14));
  EXPECT_FALSE(OccurrenceDate({RhythmUnit::Years, 1}, QDate(9999, 1, 1), 1)
                   .isValid());
}

TEST(RhythmTest, FirstOccurrenceAfterAgreesWithCounting) {
  const QList<Rhythm> rhythms = {
      {RhythmUnit::Days, 1},   {RhythmUnit::Days, 10}, {RhythmUnit::Weeks, 1},
      {RhythmUnit::Weeks, 3},  {RhythmUnit::Months, 1}, {RhythmUnit::Months, 5},
      {RhythmUnit::Years, 1},  {RhythmUnit::Years, 4}};
  const QList<QDate> firsts = {QDate(2024, 2, 29), QDate(2025, 1, 31),
                               QDate(2026, 3, 29)};
  for (const Rhythm &rhythm : rhythms) {
    for (const QDate &first : firsts) {
      for (int offset = -3; offset < 1500; offset += 7) {
        const QDate date = first.addDays(offset);
        int counted = 0;
        while (OccurrenceDate(rhythm, first, counted) <= date)
          ++counted;
        EXPECT_EQ(FirstOccurrenceAfter(rhythm, first, date), counted)
            << int(rhythm.unit) << " " << rhythm.every << " "
            << qPrintable(date.toString(Qt::ISODate));
      }
    }
  }
}

TEST(RhythmTest, DaylightSavingChangeMovesNoDate) {
  // Berlin leaves winter time on 2026-03-29 and returns on 2026-10-25.
  const char *before = std::getenv("TZ");
  const std::string saved = before ? before : "";
  setenv("TZ", "Europe/Berlin", 1);
  tzset();
  EXPECT_EQ(Dates({RhythmUnit::Days, 1}, QDate(2026, 3, 28), 3),
            (QList<QDate>{QDate(2026, 3, 28), QDate(2026, 3, 29),
                          QDate(2026, 3, 30)}));
  EXPECT_EQ(FirstOccurrenceAfter({RhythmUnit::Days, 1}, QDate(2026, 10, 24),
                                 QDate(2026, 10, 25)),
            2);
  EXPECT_EQ(OccurrenceDate({RhythmUnit::Weeks, 1}, QDate(2026, 3, 23), 1),
            QDate(2026, 3, 30));
  before ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
  tzset();
}
