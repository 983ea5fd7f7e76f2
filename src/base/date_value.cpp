// Day counts and date fields: the calendar arithmetic behind every date.
#include "base/date_value.h"

#include <cmath>

namespace {

constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && IsLeapYear(year))
    return 29;
  return kDays[month - 1];
}

// Days from 0000-03-01 style civil counting (Howard Hinnant's algorithm),
// shifted so that 1970-01-01 is 0.
long long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, int &y, int &m, int &d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  d = int(doy - (153 * mp + 2) / 5 + 1);
  m = int(mp < 10 ? mp + 3 : mp - 9);
  y = int(yoe + era * 400 + (m <= 2));
}

const long long kZeroDay = DaysFromCivil(1899, 12, 30);

} // namespace

QDate ZeroDay() { return QDate(1899, 12, 30); }

bool IsValidJetDateTime(const JetDateTime &v) {
  if (v.year < kFirstYear || v.year > kLastYear || v.month < 1 ||
      v.month > 12)
    return false;
  if (v.day < 1 || v.day > DaysInMonth(v.year, v.month))
    return false;
  return v.hour >= 0 && v.hour < 24 && v.minute >= 0 && v.minute < 60 &&
         v.second >= 0 && v.second < 60;
}

double JetDayCount(const JetDateTime &v) {
  const long long days = DaysFromCivil(v.year, v.month, v.day) - kZeroDay;
  const double fraction = (v.hour * 3600 + v.minute * 60 + v.second) / 86400.0;
  return days < 0 ? double(days) - fraction : double(days) + fraction;
}

bool JetDateFromDayCount(double days, JetDateTime &out) {
  // Years 100 to 9999, as Jet allows them.
  if (!std::isfinite(days) || days < -657435.0 || days >= 2958466.0)
    return false;
  double whole = std::trunc(days);
  long long seconds = std::llround(std::fabs(days - whole) * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    whole += days < 0 ? -1 : 1;
  }
  JetDateTime v;
  CivilFromDays(kZeroDay + (long long)whole, v.year, v.month, v.day);
  v.hour = int(seconds / 3600);
  v.minute = int(seconds / 60 % 60);
  v.second = int(seconds % 60);
  if (!IsValidJetDateTime(v))
    return false;
  out = v;
  return true;
}

DateValue DateValue::MakeInvalid() {
  DateValue value;
  value.status_ = Invalid;
  return value;
}

DateValue DateValue::FromDateAndTime(const QDate &date, const QTime &time) {
  if (!date.isValid() || date.year() < kFirstYear || date.year() > kLastYear ||
      !time.isValid())
    return MakeInvalid();
  DateValue value;
  value.status_ = Valid;
  value.date_ = date;
  value.time_ = time;
  return value;
}

DateValue DateValue::FromDateTime(const QDateTime &dateTime) {
  if (!dateTime.isValid())
    return MakeInvalid();
  return FromDateAndTime(dateTime.date(), dateTime.time());
}

DateValue DateValue::FromFields(const JetDateTime &f) {
  return FromDateAndTime(QDate(f.year, f.month, f.day),
                         QTime(f.hour, f.minute, f.second));
}

DateValue DateValue::FromDays(double days) {
  JetDateTime fields;
  if (!JetDateFromDayCount(days, fields))
    return MakeInvalid();
  return FromFields(fields);
}

JetDateTime DateValue::Fields() const {
  JetDateTime f;
  f.year = date_.year();
  f.month = date_.month();
  f.day = date_.day();
  f.hour = time_.hour();
  f.minute = time_.minute();
  f.second = time_.second();
  return f;
}

double DateValue::Days() const {
  if (!IsValid())
    return 0;
  // From the milliseconds: a value taken from the clock keeps them.
  const double whole = double(ZeroDay().daysTo(date_));
  const double fraction = time_.msecsSinceStartOfDay() / 86400000.0;
  return whole < 0 ? whole - fraction : whole + fraction;
}

bool DateValue::operator==(const DateValue &other) const {
  if (status_ != other.status_)
    return false;
  return status_ != Valid || (date_ == other.date_ && time_ == other.time_);
}
