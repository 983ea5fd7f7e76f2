// The rhythm of a recurring record: every N days, weeks, months or years,
// counted from its first date. Plain arithmetic on local dates: no time of
// day and no time zone enters it, so a change of daylight saving time moves
// nothing.
//
// The first date fixes the weekday of a weekly rhythm, the day of the month
// of a monthly one and the date of a yearly one. A day the month does not
// have means its last day (the 31st in April is the 30th, 29 February in a
// year that is not a leap year is the 28th), and the following months go
// back to the day itself.
#pragma once

#include <QDate>
#include <QString>

enum class RhythmUnit { Days = 0, Weeks = 1, Months = 2, Years = 3 };

struct Rhythm {
  RhythmUnit unit = RhythmUnit::Months;
  int every = 1; // at least 1
};

// The date of occurrence n (0 the first) of rhythm counted from first;
// an invalid date when it lies beyond the year 9999.
QDate OccurrenceDate(const Rhythm &rhythm, const QDate &first, int n);
// The number of the first occurrence after date: 0 when date lies before
// first.
int FirstOccurrenceAfter(const Rhythm &rhythm, const QDate &first,
                         const QDate &date);

// "每天", "每2周", "每月", "每3年" ...
QString RhythmText(const Rhythm &rhythm);
// The unit a word of the command line names: days, weeks, months, years
// (singular too); false for any other word.
bool ParseRhythmUnit(const QString &word, RhythmUnit &unit);
// The unit's word in Chinese (天, 周, 月, 年) as the dialogs show it.
QString RhythmUnitName(RhythmUnit unit);
