// Date values: a point in time as a day count and as its fields.
//
// Days are counted since the "zero day" 1899-12-30, the fraction being the
// time of day; a time alone lies on the zero day. Years run from 100 to
// 9999. JetDateTime is the plain fields the database session reads and
// writes on its hot paths; DateValue is the value the model and the windows
// pass around, with a status: valid, invalid (a text that could not be
// read) or null (no value at all). The texts of both are in date_text.h.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

// The date of the zero day, 1899-12-30, on which a time alone lies.
QDate ZeroDay();

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

// Days since the zero day, the time of day in the fraction; days before the
// zero day count away from zero (1899-12-29 6:00 is -1.25).
double JetDayCount(const JetDateTime &value);
// The inverse, rounded to the second; false outside the years 100 to 9999 or
// for a value that is not a number.
bool JetDateFromDayCount(double days, JetDateTime &out);

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
  static DateValue FromFields(const JetDateTime &fields);
  // A day count as JetDayCount gives it, rounded to the second. Invalid
  // outside the years 100 to 9999 or for a value that is not a number.
  static DateValue FromDays(double days);

  Status GetStatus() const { return status_; }
  bool IsValid() const { return status_ == Valid; }
  bool IsNull() const { return status_ == Null; }

  // Only meaningful for a valid value.
  QDate Date() const { return date_; }
  QTime Time() const { return time_; }
  QDateTime ToDateTime() const { return QDateTime(date_, time_); }
  JetDateTime Fields() const;
  // The day count of a valid value; 0 otherwise.
  double Days() const;

  bool operator==(const DateValue &other) const;

private:
  Status status_ = Null;
  QDate date_;
  QTime time_;
};
