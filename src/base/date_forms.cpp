// Reading and writing the text forms of dates and times.
#include "base/date_forms.h"

namespace {

constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

bool IsDigit(QChar c) {
  return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// A cursor over the text being read.
class Scanner {
public:
  explicit Scanner(QStringView text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  QChar Peek() const { return AtEnd() ? QChar() : text_[pos_]; }

  // Reads 1 to maxDigits decimal digits not followed by another digit;
  // false otherwise.
  bool Number(int maxDigits, int &value) {
    int digits = 0;
    value = 0;
    while (!AtEnd() && digits < maxDigits && IsDigit(text_[pos_])) {
      value = value * 10 + (text_[pos_].unicode() - '0');
      ++pos_;
      ++digits;
    }
    return digits > 0 && !IsDigit(Peek());
  }

  // Exactly eight digits, not followed by another.
  bool EightDigits(int &year, int &month, int &day) {
    if (text_.size() - pos_ < 8)
      return false;
    int value[8];
    for (int i = 0; i < 8; ++i) {
      if (!IsDigit(text_[pos_ + i]))
        return false;
      value[i] = text_[pos_ + i].unicode() - '0';
    }
    pos_ += 8;
    if (IsDigit(Peek()))
      return false;
    year = value[0] * 1000 + value[1] * 100 + value[2] * 10 + value[3];
    month = value[4] * 10 + value[5];
    day = value[6] * 10 + value[7];
    return true;
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
  QStringView text_;
  qsizetype pos_ = 0;
};

bool MakeDate(int year, int month, int day, QDate &date) {
  date = QDate(year, month, day);
  return date.isValid() && year >= kFirstYear && year <= kLastYear;
}

// y/M/d or y-M-d with the same separator both times, or yyyyMMdd.
bool ReadDate(Scanner &in, QDate &date) {
  int year = 0, month = 0, day = 0;
  const qsizetype start = in.Position();
  if (in.EightDigits(year, month, day))
    return MakeDate(year, month, day, date);
  in.Rewind(start);
  if (!in.Number(4, year))
    return false;
  const QChar separator = in.Peek();
  if (separator != QLatin1Char('/') && separator != QLatin1Char('-'))
    return false;
  in.Accept(separator);
  if (!in.Number(2, month) || !in.Accept(separator) || !in.Number(2, day))
    return false;
  return MakeDate(year, month, day, date);
}

// H:m or H:m:s.
bool ReadTime(Scanner &in, QTime &time) {
  int hour = 0, minute = 0, second = 0;
  if (!in.Number(2, hour) || !in.Accept(QLatin1Char(':')) ||
      !in.Number(2, minute))
    return false;
  if (in.Accept(QLatin1Char(':')) && !in.Number(2, second))
    return false;
  time = QTime(hour, minute, second);
  return time.isValid();
}

} // namespace

QDate ZeroDay() { return QDate(1899, 12, 30); }

bool ReadDateText(QStringView text, DateTextParts &out) {
  Scanner in(text);
  in.Blanks();
  const qsizetype start = in.Position();

  DateTextParts parts;
  if (ReadDate(in, parts.date)) {
    parts.hasDate = true;
    // A date alone, or a date, blanks (or ISO's "T") and a time.
    parts.hasTime = in.Accept(QLatin1Char('T'));
    if (!parts.hasTime)
      parts.hasTime = in.Blanks() && !in.AtEnd();
    if (parts.hasTime && !ReadTime(in, parts.time))
      return false;
  } else {
    in.Rewind(start);
    if (!ReadTime(in, parts.time))
      return false;
    parts.hasTime = true;
  }
  in.Blanks();
  if (!in.AtEnd())
    return false;
  out = parts;
  return true;
}

QString DayText(const QDate &date) {
  return QStringLiteral("%1/%2/%3")
      .arg(date.year())
      .arg(date.month())
      .arg(date.day());
}

QString TimeOfDayText(const QTime &time) {
  return QStringLiteral("%1:%2:%3")
      .arg(time.hour())
      .arg(time.minute(), 2, 10, QLatin1Char('0'))
      .arg(time.second(), 2, 10, QLatin1Char('0'));
}

QString TypedDateText(const QString &text) {
  DateTextParts parts;
  if (!ReadDateText(text, parts) || !parts.hasDate)
    return QString();
  if (parts.time == QTime(0, 0))
    return DayText(parts.date);
  return DayText(parts.date) + QLatin1Char(' ') + TimeOfDayText(parts.time);
}
