// Date values and their texts.
//
// A date value is a point in time counted in days since 1899-12-30 (the
// "zero day"), the fraction being the time of day, together with a status:
// valid, invalid (a text that could not be read) or null (no value at all).
// A time alone lies on the zero day.
//
// The texts use one fixed, unambiguous form: dates "yyyy/M/d", times
// "H:mm:ss", both "yyyy/M/d H:mm:ss". Parsing accepts these, ISO
// "yyyy-M-d[ H:m[:s]]" and "yyyyMMdd[ H:m[:s]]" (base/date_forms.h); the
// database session reads back what FormatDateTime writes.
#pragma once

#include "base/date_forms.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

class DateValue {
public:
  enum Status { Valid, Invalid, Null };

  // A null value.
  DateValue() = default;
  static DateValue MakeNull() { return DateValue(); }
  static DateValue MakeInvalid();
  // Invalid when date is not a valid date in the years 100 to 9999 or time
  // is not a valid time.
  static DateValue FromDateAndTime(const QDate &date, const QTime &time);
  // The local date and time of dateTime; invalid for an invalid dateTime.
  static DateValue FromDateTime(const QDateTime &dateTime);
  // A day count as the platform keeps it: whole days since the zero day,
  // the time of day in the fraction, counted away from zero for days before
  // it (-1.25 is 1899-12-29 6:00); rounded to the second. Invalid outside
  // the years 100 to 9999 or for a value that is not a number.
  static DateValue FromDays(double days);

  Status GetStatus() const { return status_; }
  bool IsValid() const { return status_ == Valid; }
  bool IsNull() const { return status_ == Null; }

  // Only meaningful for a valid value.
  QDate Date() const { return date_; }
  QTime Time() const { return time_; }
  QDateTime ToDateTime() const { return QDateTime(date_, time_); }
  // The day count of a valid value; 0 otherwise.
  double Days() const;

  bool operator==(const DateValue &other) const;

private:
  Status status_ = Null;
  QDate date_;
  QTime time_;
};

// Which part of a date value a text shows.
enum DateTimePart {
  DTP_BOTH, // date and time; the time left out at midnight, the date on the
            // zero day
  DTP_DATE, // the date only
  DTP_TIME, // the time only
};

// Reads a date, a time or both; an empty or unreadable text gives an invalid
// value. Surrounding blanks are ignored.
DateValue ParseDateTime(const QString &text);

// Empty text for a null value, "Invalid DateTime" for an invalid one, else
// the text of the part asked for.
QString FormatDateTime(const DateValue &value, DateTimePart part = DTP_BOTH);
