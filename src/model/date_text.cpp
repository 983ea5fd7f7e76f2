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

// A cursor over the text being parsed.
class Scanner {
public:
  explicit Scanner(const QString &text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  QChar Peek() const { return AtEnd() ? QChar() : text_[pos_]; }

  // Reads 1 to maxDigits decimal digits; false when there is none.
  bool Number(int maxDigits, int &value) {
    int digits = 0;
    value = 0;
    while (!AtEnd() && digits < maxDigits && IsDigit(text_[pos_])) {
      value = value * 10 + (text_[pos_].unicode() - '0');
      ++pos_;
      ++digits;
    }
    return digits > 0 && !(!AtEnd() && IsDigit(text_[pos_]));
  }

  bool Accept(QChar c) {
    if (Peek() != c)
      return false;
    ++pos_;
    return true;
  }

  // Skips blanks; false when there was none.
  bool Blanks() {
    const qsizetype start = pos_;
    while (!AtEnd() && text_[pos_].isSpace())
      ++pos_;
    return pos_ > start;
  }

  qsizetype Position() const { return pos_; }
  void Rewind(qsizetype pos) { pos_ = pos; }

private:
  static bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

  const QString &text_;
  qsizetype pos_ = 0;
};

// y/M/d or y-M-d; the same separator both times.
bool ParseDate(Scanner &in, QDate &date) {
  int year = 0, month = 0, day = 0;
  if (!in.Number(4, year))
    return false;
  const QChar separator = in.Peek();
  if (separator != QLatin1Char('/') && separator != QLatin1Char('-'))
    return false;
  in.Accept(separator);
  if (!in.Number(2, month) || !in.Accept(separator) || !in.Number(2, day))
    return false;
  date = QDate(year, month, day);
  return InYearRange(date);
}

// H:m or H:m:s.
bool ParseTime(Scanner &in, QTime &time) {
  int hour = 0, minute = 0, second = 0;
  if (!in.Number(2, hour) || !in.Accept(QLatin1Char(':')) ||
      !in.Number(2, minute))
    return false;
  if (in.Accept(QLatin1Char(':')) && !in.Number(2, second))
    return false;
  time = QTime(hour, minute, second);
  return time.isValid();
}

QString DateText(const QDate &date) {
  return QStringLiteral("%1/%2/%3")
      .arg(date.year())
      .arg(date.month())
      .arg(date.day());
}

QString TimeText(const QTime &time) {
  return QStringLiteral("%1:%2:%3")
      .arg(time.hour())
      .arg(time.minute(), 2, 10, QLatin1Char('0'))
      .arg(time.second(), 2, 10, QLatin1Char('0'));
}

bool IsMidnight(const QTime &time) {
  return time.hour() == 0 && time.minute() == 0 && time.second() == 0;
}

} // namespace

QDate ZeroDay() { return QDate(1899, 12, 30); }

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
  Scanner in(text);
  in.Blanks();
  const qsizetype start = in.Position();

  QDate date;
  QTime time(0, 0);
  if (ParseDate(in, date)) {
    // A date alone, or a date, blanks (or ISO's "T") and a time.
    bool hasTime = in.Accept(QLatin1Char('T'));
    if (!hasTime)
      hasTime = in.Blanks() && !in.AtEnd();
    if (hasTime && !ParseTime(in, time))
      return DateValue::MakeInvalid();
  } else {
    in.Rewind(start);
    date = ZeroDay();
    if (!ParseTime(in, time))
      return DateValue::MakeInvalid();
  }
  in.Blanks();
  if (!in.AtEnd())
    return DateValue::MakeInvalid();
  return DateValue::FromDateAndTime(date, time);
}

QString FormatDateTime(const DateValue &value, DateTimePart part) {
  if (value.IsNull())
    return QString();
  if (!value.IsValid())
    return QStringLiteral("Invalid DateTime");
  switch (part) {
  case DTP_DATE:
    return DateText(value.Date());
  case DTP_TIME:
    return TimeText(value.Time());
  case DTP_BOTH:
    break;
  }
  if (value.Date() == ZeroDay())
    return TimeText(value.Time());
  if (IsMidnight(value.Time()))
    return DateText(value.Date());
  return DateText(value.Date()) + QLatin1Char(' ') + TimeText(value.Time());
}
