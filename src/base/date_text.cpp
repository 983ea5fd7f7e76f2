// Reading and writing the text forms of dates and times.
#include "base/date_text.h"

#include <cstdio>

namespace {

constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

// The forms a reader takes beyond the ones both share.
enum class Forms { Typed, JetLiteral };

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

  // A word in any case; false when the text does not go on with it.
  bool AcceptWord(QLatin1StringView word) {
    if (text_.size() - pos_ < word.size() ||
        text_.mid(pos_, word.size()).compare(word, Qt::CaseInsensitive) != 0)
      return false;
    pos_ += word.size();
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

// y/M/d or y-M-d with the same separator both times; yyyyMMdd when typed,
// Jet's M/d/yyyy in a literal (whose day after a year may have up to four
// digits, as Jet reads it).
bool ReadDate(Scanner &in, Forms forms, QDate &date) {
  int first = 0, second = 0, third = 0;
  const qsizetype start = in.Position();
  if (forms == Forms::Typed && in.EightDigits(first, second, third))
    return MakeDate(first, second, third, date);
  in.Rewind(start);
  if (!in.Number(4, first))
    return false;
  const bool shortFirst = in.Position() - start <= 2;
  const QChar separator = in.Peek();
  if (separator != QLatin1Char('/') && separator != QLatin1Char('-'))
    return false;
  in.Accept(separator);
  if (!in.Number(2, second) || !in.Accept(separator))
    return false;
  const qsizetype thirdStart = in.Position();
  if (!in.Number(4, third))
    return false;
  if (forms == Forms::Typed)
    return in.Position() - thirdStart <= 2 &&
           MakeDate(first, second, third, date);
  if (!shortFirst)
    return MakeDate(first, second, third, date);
  return separator == QLatin1Char('/') && MakeDate(third, first, second, date);
}

// H:m or H:m:s; in a Jet literal optionally followed by AM or PM.
bool ReadTime(Scanner &in, Forms forms, QTime &time) {
  int hour = 0, minute = 0, second = 0;
  if (!in.Number(2, hour) || !in.Accept(QLatin1Char(':')) ||
      !in.Number(2, minute))
    return false;
  if (in.Accept(QLatin1Char(':')) && !in.Number(2, second))
    return false;
  if (forms == Forms::JetLiteral) {
    const qsizetype afterTime = in.Position();
    in.Blanks();
    const bool am = in.AcceptWord(QLatin1StringView("AM"));
    const bool pm = !am && in.AcceptWord(QLatin1StringView("PM"));
    if (am || pm) {
      if (hour < 1 || hour > 12)
        return false;
      hour = hour % 12 + (pm ? 12 : 0);
    } else {
      in.Rewind(afterTime);
    }
  }
  time = QTime(hour, minute, second);
  return time.isValid();
}

bool ReadText(QStringView text, Forms forms, DateTextParts &out) {
  Scanner in(text);
  in.Blanks();
  const qsizetype start = in.Position();

  DateTextParts parts;
  if (ReadDate(in, forms, parts.date)) {
    parts.hasDate = true;
    // A date alone, or a date, blanks (or ISO's "T") and a time.
    parts.hasTime = forms == Forms::Typed && in.Accept(QLatin1Char('T'));
    if (!parts.hasTime)
      parts.hasTime = in.Blanks() && !in.AtEnd();
    if (parts.hasTime && !ReadTime(in, forms, parts.time))
      return false;
  } else {
    in.Rewind(start);
    if (!ReadTime(in, forms, parts.time))
      return false;
    parts.hasTime = true;
  }
  in.Blanks();
  if (!in.AtEnd())
    return false;
  out = parts;
  return true;
}

} // namespace

bool ReadDateText(QStringView text, DateTextParts &out) {
  return ReadText(text, Forms::Typed, out);
}

bool ParseJetDateText(QStringView text, JetDateTime &out) {
  DateTextParts parts;
  if (!ReadText(text, Forms::JetLiteral, parts))
    return false;
  out = DateValue::FromDateAndTime(parts.date, parts.time).Fields();
  return true;
}

bool LooksCanonicalDate(const char *t, qsizetype n) {
  return n == 19 && t[4] == '-' && t[7] == '-' && t[10] == ' ' &&
         t[13] == ':' && t[16] == ':';
}

bool ParseCanonicalDate(const char *t, qsizetype n, JetDateTime &out) {
  if (!LooksCanonicalDate(t, n))
    return false;
  static const int kDigitPositions[] = {0, 1, 2, 3, 5, 6, 8, 9,
                                        11, 12, 14, 15, 17, 18};
  for (int p : kDigitPositions)
    if (t[p] < '0' || t[p] > '9')
      return false;
  auto two = [t](int p) { return (t[p] - '0') * 10 + (t[p + 1] - '0'); };
  JetDateTime v;
  v.year = two(0) * 100 + two(2);
  v.month = two(5);
  v.day = two(8);
  v.hour = two(11);
  v.minute = two(14);
  v.second = two(17);
  if (!IsValidJetDateTime(v))
    return false;
  out = v;
  return true;
}

DateValue ParseDateTime(const QString &text) {
  DateTextParts parts;
  if (!ReadDateText(text, parts))
    return DateValue::MakeInvalid();
  return DateValue::FromDateAndTime(parts.date, parts.time);
}

namespace {

// Small writers for the stored and display forms; they run for every date
// stored or shown, so printf writes only a negative field, which no valid
// date has.
char *PutNumber(char *out, int value) {
  char digits[8];
  int n = 0;
  do {
    digits[n++] = char('0' + value % 10);
    value /= 10;
  } while (value > 0 && n < 8);
  while (n > 0)
    *out++ = digits[--n];
  return out;
}

char *PutTwoDigits(char *out, int value) {
  *out++ = char('0' + value / 10 % 10);
  *out++ = char('0' + value % 10);
  return out;
}

// value in at least width digits, zero-padded like printf's "%0*d".
char *PutPadded(char *out, int value, int width) {
  if (value < 0)
    return out + std::snprintf(out, 16, "%0*d", width, value);
  char digits[12];
  int n = 0;
  do {
    digits[n++] = char('0' + value % 10);
    value /= 10;
  } while (value > 0);
  for (int pad = width - n; pad > 0; --pad)
    *out++ = '0';
  while (n > 0)
    *out++ = digits[--n];
  return out;
}

char *PutTime(char *out, int hour, int minute, int second) {
  out = PutNumber(out, hour);
  *out++ = ':';
  out = PutTwoDigits(out, minute);
  *out++ = ':';
  return PutTwoDigits(out, second);
}

char *PutDate(char *out, int year, int month, int day) {
  out = PutNumber(out, year);
  *out++ = '/';
  out = PutNumber(out, month);
  *out++ = '/';
  return PutNumber(out, day);
}

} // namespace

QString CanonicalDateText(const JetDateTime &v) {
  char buffer[80];
  char *end = PutPadded(buffer, v.year, 4);
  *end++ = '-';
  end = PutPadded(end, v.month, 2);
  *end++ = '-';
  end = PutPadded(end, v.day, 2);
  *end++ = ' ';
  end = PutPadded(end, v.hour, 2);
  *end++ = ':';
  end = PutPadded(end, v.minute, 2);
  *end++ = ':';
  end = PutPadded(end, v.second, 2);
  return QString::fromLatin1(buffer, end - buffer);
}

QString DisplayDateText(const JetDateTime &v) {
  char buffer[40];
  char *end = buffer;
  if (v.IsZeroDay()) {
    end = PutTime(end, v.hour, v.minute, v.second);
  } else {
    end = PutDate(end, v.year, v.month, v.day);
    if (!v.IsMidnight()) {
      *end++ = ' ';
      end = PutTime(end, v.hour, v.minute, v.second);
    }
  }
  return QString::fromLatin1(buffer, end - buffer);
}

QString DayText(const QDate &date) {
  char buffer[24];
  char *end = PutDate(buffer, date.year(), date.month(), date.day());
  return QString::fromLatin1(buffer, end - buffer);
}

QString TimeOfDayText(const QTime &time) {
  char buffer[16];
  char *end = PutTime(buffer, time.hour(), time.minute(), time.second());
  return QString::fromLatin1(buffer, end - buffer);
}

QString TypedDateText(const QString &text) {
  DateTextParts parts;
  if (!ReadDateText(text, parts) || !parts.hasDate)
    return QString();
  if (parts.time == QTime(0, 0))
    return DayText(parts.date);
  return DayText(parts.date) + QLatin1Char(' ') + TimeOfDayText(parts.time);
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
  return DisplayDateText(value.Fields());
}
