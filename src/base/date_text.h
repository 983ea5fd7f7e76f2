// The texts of dates and times: reading what a user types, what a Jet date
// literal holds and what storage keeps, and writing the display and stored
// forms. Every date text of the program is read and written here.
//
// A typed date reads as "yyyy/M/d", "yyyy-M-d" or "yyyyMMdd", optionally
// followed by blanks (or ISO's "T") and a time "H:m" or "H:m:s"; a time may
// also stand alone. A Jet literal (what stands between the # signs) reads
// "yyyy/M/d", "yyyy-M-d" and Jet's own "M/d/yyyy", each optionally followed
// by a time with an optional AM/PM, or a time alone. Years run from 100 to
// 9999.
//
// Storage keeps the canonical "YYYY-MM-DD HH:MM:SS" (always 19 characters,
// zero-padded), so that text order is time order and Min, Max, ORDER BY and
// comparisons with date literals are right. The display forms are
// "yyyy/M/d" for a day, "H:mm:ss" for a time of day and "yyyy/M/d H:mm:ss"
// for both.
#pragma once

#include "base/date_value.h"

#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>

// ---- Reading ----

// What a date text names: a day, a time of day or both.
struct DateTextParts {
  QDate date = ZeroDay();   // the zero day unless hasDate
  QTime time = QTime(0, 0); // midnight unless hasTime
  bool hasDate = false;
  bool hasTime = false;
};

// Reads a typed text in one of the forms above; surrounding blanks are
// ignored. False for anything else, an impossible day or time or an empty
// text.
bool ReadDateText(QStringView text, DateTextParts &out);

// Reads the text of a Jet date literal; surrounding blanks are ignored.
bool ParseJetDateText(QStringView text, JetDateTime &out);

// Reads the canonical form; false unless text is exactly that form and a
// valid date and time.
bool ParseCanonicalDate(const char *text, qsizetype size, JetDateTime &out);
// A quick test for the canonical shape, for recognising dates in results.
bool LooksCanonicalDate(const char *text, qsizetype size);

// A typed text as a value; an empty or unreadable text gives an invalid
// value.
DateValue ParseDateTime(const QString &text);

// ---- Writing ----

// "YYYY-MM-DD HH:MM:SS".
QString CanonicalDateText(const JetDateTime &value);

// The display form: "yyyy/M/d" at midnight, "H:mm:ss" on the zero day (even
// at midnight), else "yyyy/M/d H:mm:ss".
QString DisplayDateText(const JetDateTime &value);

// "yyyy/M/d".
QString DayText(const QDate &date);
// "H:mm:ss".
QString TimeOfDayText(const QTime &time);

// A typed date in the display form: "yyyy/M/d", followed by " H:mm:ss" when
// a time was typed that is not midnight. Empty when text names no day.
QString TypedDateText(const QString &text);

// Which part of a date value a text shows.
enum DateTimePart {
  DTP_BOTH, // the display form
  DTP_DATE, // the date only
  DTP_TIME, // the time only
};

// Empty text for a null value, "Invalid DateTime" for an invalid one, else
// the text of the part asked for.
QString FormatDateTime(const DateValue &value, DateTimePart part = DTP_BOTH);
