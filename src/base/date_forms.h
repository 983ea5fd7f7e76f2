// The text forms of dates and times: reading what a user types or the
// program writes, and writing the fixed display forms.
//
// A date reads as "yyyy/M/d", "yyyy-M-d" or "yyyyMMdd", optionally followed
// by blanks (or ISO's "T") and a time "H:m" or "H:m:s"; a time may also
// stand alone. Years run from 100 to 9999. The display forms are "yyyy/M/d"
// for a day and "H:mm:ss" for a time of day.
#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>

// The date of the zero day, 1899-12-30, on which a time alone lies.
QDate ZeroDay();

// What a date text names: a day, a time of day or both.
struct DateTextParts {
  QDate date = ZeroDay();   // the zero day unless hasDate
  QTime time = QTime(0, 0); // midnight unless hasTime
  bool hasDate = false;
  bool hasTime = false;
};

// Reads text in one of the forms above; surrounding blanks are ignored.
// False for anything else, an impossible day or time or an empty text.
bool ReadDateText(QStringView text, DateTextParts &out);

// "yyyy/M/d".
QString DayText(const QDate &date);
// "H:mm:ss".
QString TimeOfDayText(const QTime &time);

// A typed date in the display form: "yyyy/M/d", followed by " H:mm:ss" when
// a time was typed that is not midnight. Empty when text names no day.
QString TypedDateText(const QString &text);
