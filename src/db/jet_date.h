// Dates and times as an account file stores them.
//
// A stored date is the canonical text "YYYY-MM-DD HH:MM:SS" (always 19
// characters, zero-padded), so that text order is time order and Min, Max,
// ORDER BY and comparisons with date literals are right. A time alone lies
// on the zero day 1899-12-30. This file reads the texts of Jet date literals,
// writes the canonical and the display forms, and converts to and from the
// day count (days since the zero day, the time in the fraction) that Jet
// uses for a date taken as a number.
#pragma once

#include <QString>
#include <QStringView>

struct JetDateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;

  bool IsZeroDay() const { return year == 1899 && month == 12 && day == 30; }
  bool IsMidnight() const { return hour == 0 && minute == 0 && second == 0; }
};

// True when the fields make a real date in the years 100 to 9999 and a real
// time of day.
bool IsValidJetDateTime(const JetDateTime &value);

// Reads the text of a date literal (what stands between the # signs) or of a
// date typed as text: "yyyy/M/d", "yyyy-M-d", "M/d/yyyy", each optionally
// followed by a time "H:m[:s]" (with an optional AM/PM), or a time alone.
// Surrounding blanks are ignored. False for anything else or an impossible
// date or time.
bool ParseJetDateText(QStringView text, JetDateTime &out);

// Reads the canonical form; false unless text is exactly that form and a
// valid date and time.
bool ParseCanonicalDate(const char *text, qsizetype size, JetDateTime &out);
// A quick test for the canonical shape, for recognising dates in results.
bool LooksCanonicalDate(const char *text, qsizetype size);

// "YYYY-MM-DD HH:MM:SS".
QString CanonicalDateText(const JetDateTime &value);

// The display form: "yyyy/M/d" at midnight, "H:mm:ss" on the zero day (even
// at midnight), else "yyyy/M/d H:mm:ss".
QString DisplayDateText(const JetDateTime &value);

// Days since the zero day, the time of day in the fraction; days before the
// zero day count away from zero (1899-12-29 6:00 is -1.25).
double JetDayCount(const JetDateTime &value);
// The inverse, rounded to the second; false outside the years 100 to 9999 or
// for a value that is not a number.
bool JetDateFromDayCount(double days, JetDateTime &out);
