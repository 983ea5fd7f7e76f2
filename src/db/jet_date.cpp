// Reading and writing the date texts of the Jet dialect and of storage.
#include "db/jet_date.h"

#include <cmath>
#include <cstdio>

namespace {

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

// A small cursor over the literal's text.
struct Scanner {
  QStringView text;
  qsizetype pos = 0;

  bool AtEnd() const { return pos >= text.size(); }
  QChar Peek() const { return AtEnd() ? QChar() : text[pos]; }
  void SkipBlanks() {
    while (!AtEnd() && text[pos].isSpace())
      ++pos;
  }
  // Up to maxDigits ASCII digits; false when there is none.
  bool Number(int &value, int maxDigits) {
    int digits = 0;
    value = 0;
    while (!AtEnd() && digits < maxDigits && text[pos] >= QLatin1Char('0') &&
           text[pos] <= QLatin1Char('9')) {
      value = value * 10 + (text[pos].unicode() - '0');
      ++pos;
      ++digits;
    }
    return digits > 0;
  }
  bool Accept(char c) {
    if (Peek() != QLatin1Char(c))
      return false;
    ++pos;
    return true;
  }
  bool AcceptWord(const char *word) {
    const QLatin1StringView w(word);
    if (text.size() - pos < w.size() ||
        text.mid(pos, w.size()).compare(w, Qt::CaseInsensitive) != 0)
      return false;
    pos += w.size();
    return true;
  }
};

// "H:m[:s]" with an optional AM/PM after blanks.
bool ParseTime(Scanner &s, JetDateTime &out) {
  int hour = 0, minute = 0, second = 0;
  if (!s.Number(hour, 2) || !s.Accept(':') || !s.Number(minute, 2))
    return false;
  if (s.Accept(':') && !s.Number(second, 2))
    return false;
  s.SkipBlanks();
  if (s.AcceptWord("AM") || s.AcceptWord("PM")) {
    const bool pm = s.text[s.pos - 2].toUpper() == QLatin1Char('P');
    if (hour < 1 || hour > 12)
      return false;
    hour = hour % 12 + (pm ? 12 : 0);
  }
  out.hour = hour;
  out.minute = minute;
  out.second = second;
  return true;
}

// A date in one of the accepted orders; the scanner stands after it.
bool ParseDate(Scanner &s, JetDateTime &out) {
  int first = 0, second = 0, third = 0;
  const qsizetype start = s.pos;
  if (!s.Number(first, 4))
    return false;
  const qsizetype firstDigits = s.pos - start;
  const QChar separator = s.Peek();
  if (separator != QLatin1Char('/') && separator != QLatin1Char('-'))
    return false;
  ++s.pos;
  if (!s.Number(second, 2) || !s.Accept(char(separator.unicode())) ||
      !s.Number(third, 4))
    return false;
  if (firstDigits >= 3) {  // year first
    out.year = first;
    out.month = second;
    out.day = third;
  } else if (separator == QLatin1Char('/')) {  // Jet's own M/d/yyyy
    out.month = first;
    out.day = second;
    out.year = third;
  } else {
    return false;
  }
  return true;
}

} // namespace

bool IsValidJetDateTime(const JetDateTime &v) {
  if (v.year < 100 || v.year > 9999 || v.month < 1 || v.month > 12)
    return false;
  if (v.day < 1 || v.day > DaysInMonth(v.year, v.month))
    return false;
  return v.hour >= 0 && v.hour < 24 && v.minute >= 0 && v.minute < 60 &&
         v.second >= 0 && v.second < 60;
}

bool ParseJetDateText(QStringView text, JetDateTime &out) {
  Scanner s{text};
  JetDateTime value;
  s.SkipBlanks();
  const qsizetype start = s.pos;
  if (ParseDate(s, value)) {
    s.SkipBlanks();
    if (!s.AtEnd() && !ParseTime(s, value))
      return false;
  } else {
    s.pos = start;
    value = JetDateTime();
    if (!ParseTime(s, value))
      return false;
  }
  s.SkipBlanks();
  if (!s.AtEnd() || !IsValidJetDateTime(value))
    return false;
  out = value;
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

QString CanonicalDateText(const JetDateTime &v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", v.year,
                v.month, v.day, v.hour, v.minute, v.second);
  return QString::fromLatin1(buffer);
}

namespace {

// Small writers for the display form; results are read for every date
// shown, so no printf.
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

char *PutTime(char *out, const JetDateTime &v) {
  out = PutNumber(out, v.hour);
  *out++ = ':';
  out = PutTwoDigits(out, v.minute);
  *out++ = ':';
  return PutTwoDigits(out, v.second);
}

char *PutDate(char *out, const JetDateTime &v) {
  out = PutNumber(out, v.year);
  *out++ = '/';
  out = PutNumber(out, v.month);
  *out++ = '/';
  return PutNumber(out, v.day);
}

} // namespace

QString DisplayDateText(const JetDateTime &v) {
  char buffer[40];
  char *end = buffer;
  if (v.IsZeroDay()) {
    end = PutTime(end, v);
  } else {
    end = PutDate(end, v);
    if (!v.IsMidnight()) {
      *end++ = ' ';
      end = PutTime(end, v);
    }
  }
  return QString::fromLatin1(buffer, end - buffer);
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
