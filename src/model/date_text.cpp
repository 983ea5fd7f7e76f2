// Date values: day counts, parsing and formatting in the fixed text forms.
#include "model/date_text.h"

#include <cmath>

namespace {

constexpr qint64 kMsecsPerDay = 24LL * 60 * 60 * 1000;
constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

bool InYearRange(const QDate &date) {
  return date.isValid() && date.year() >= kFirstYear &&
         date.year() <= kLastYear;
}

bool IsMidnight(const QTime &time) {
  return time.hour() == 0 && time.minute() == 0 && time.second() == 0;
}

} // namespace

DateValue DateValue::MakeInvalid() {
  DateValue value;
  value.status_ = Invalid;
  return value;
}

DateValue DateValue::FromDateAndTime(const QDate &date, const QTime &time) {
  if (!InYearRange(date) || !time.isValid())
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

DateValue DateValue::FromDays(double days) {
  // Beyond this the value is far outside the years 100 to 9999 anyway, and
  // the conversions below would overflow.
  if (!std::isfinite(days) || std::fabs(days) > 1e7)
    return MakeInvalid();
  // Rounded to the second, as every text form of a date shows it.
  double whole = std::trunc(days);
  qint64 msecs = std::llround(std::fabs(days - whole) * 86400.0) * 1000;
  if (msecs >= kMsecsPerDay) {
    msecs -= kMsecsPerDay;
    whole += days < 0 ? -1 : 1;
  }
  const QDate date = ZeroDay().addDays(qint64(whole));
  return FromDateAndTime(date, QTime::fromMSecsSinceStartOfDay(int(msecs)));
}

double DateValue::Days() const {
  if (!IsValid())
    return 0;
  const double whole = double(ZeroDay().daysTo(date_));
  const double fraction = time_.msecsSinceStartOfDay() / double(kMsecsPerDay);
  return whole < 0 ? whole - fraction : whole + fraction;
}

bool DateValue::operator==(const DateValue &other) const {
  if (status_ != other.status_)
    return false;
  return status_ != Valid || (date_ == other.date_ && time_ == other.time_);
}

DateValue ParseDateTime(const QString &text) {
  DateTextParts parts;
  if (!ReadDateText(text, parts))
    return DateValue::MakeInvalid();
  return DateValue::FromDateAndTime(parts.date, parts.time);
}

QString FormatDateTime(const DateValue &value, DateTimePart part) {
  if (value.IsNull())
    return QString();
  if (!value.IsValid())
    return QStringLiteral("Invalid DateTime");
  switch (part) {
  case DTP_DATE:
    return DayText(value.Date());
  case DTP_TIME:
    return TimeOfDayText(value.Time());
  case DTP_BOTH:
    break;
  }
  if (value.Date() == ZeroDay())
    return TimeOfDayText(value.Time());
  if (IsMidnight(value.Time()))
    return DayText(value.Date());
  return DayText(value.Date()) + QLatin1Char(' ') +
         TimeOfDayText(value.Time());
}
