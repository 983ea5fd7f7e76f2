// Dates and amounts of statements; see statement_values.h.
#include "exchange/statement_values.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <map>

QStringList DateForms() {
  return {QStringLiteral("yyyy-MM-dd"), QStringLiteral("yyyy/M/d"),
          QStringLiteral("d.M.yyyy"),   QStringLiteral("M/d/yyyy"),
          QStringLiteral("d/M/yyyy"),   QStringLiteral("yyyyMMdd"),
          QStringLiteral("yyyy年M月d日"), QStringLiteral("yyyy.M.d"),
          QStringLiteral("M/d"),
          QStringLiteral("M-d")};
}

QString DateFormExample(const QString &form) {
  const QString example = QDate(2024, 3, 5).toString(form);
  return IsYearlessForm(form) ? example + QStringLiteral("（无年份）") : example;
}

bool IsYearlessForm(const QString &form) {
  return form == QLatin1String("M/d") || form == QLatin1String("M-d");
}

namespace {

// The pattern of each form's date part, with year, month and day groups in
// the order given by its Order.
struct FormPattern {
  const char *form;
  const char *date;
  int year, month, day; // capture group numbers
};

const FormPattern kPatterns[] = {
    {"yyyy-MM-dd", R"((\d{4})-(\d{1,2})-(\d{1,2}))", 1, 2, 3},
    {"yyyy/M/d", R"((\d{4})/(\d{1,2})/(\d{1,2}))", 1, 2, 3},
    {"d.M.yyyy", R"((\d{1,2})\.(\d{1,2})\.(\d{4}))", 3, 2, 1},
    {"M/d/yyyy", R"((\d{1,2})/(\d{1,2})/(\d{4}))", 3, 1, 2},
    {"d/M/yyyy", R"((\d{1,2})/(\d{1,2})/(\d{4}))", 3, 2, 1},
    {"yyyyMMdd", R"((\d{4})(\d{2})(\d{2}))", 1, 2, 3},
    {"yyyy年M月d日", R"((\d{4})年(\d{1,2})月(\d{1,2})日?)", 1, 2, 3},
    {"yyyy.M.d", R"((\d{4})\.(\d{1,2})\.(\d{1,2}))", 1, 2, 3},
    {"M/d", R"(()(\d{1,2})/(\d{1,2}))", 1, 2, 3},
    {"M-d", R"(()(\d{1,2})-(\d{1,2}))", 1, 2, 3},
};

const QRegularExpression &FormExpression(const FormPattern &pattern) {
  static std::map<QString, QRegularExpression> cache;
  auto it = cache.find(QString::fromUtf8(pattern.form));
  if (it == cache.end())
    it = cache
             .emplace(QString::fromUtf8(pattern.form),
                      QRegularExpression(
                          QStringLiteral("^\\s*%1(?:[ T]+(\\d{1,2}):(\\d{1,2})"
                                         "(?::(\\d{1,2}))?)?\\s*$")
                              .arg(QLatin1String(pattern.date))))
             .first;
  return it->second;
}

} // namespace

DateValue ParseDateInForm(const QString &text, const QString &form,
                          const QDate &periodEnd) {
  for (const FormPattern &pattern : kPatterns) {
    if (form != QString::fromUtf8(pattern.form))
      continue;
    const QRegularExpressionMatch match = FormExpression(pattern).match(text);
    if (!match.hasMatch())
      return DateValue::MakeInvalid();
    const int month = match.captured(pattern.month).toInt();
    int year = match.captured(pattern.year).toInt();
    if (IsYearlessForm(form)) {
      if (!periodEnd.isValid())
        return DateValue::MakeInvalid();
      year = periodEnd.year() - (month > periodEnd.month() ? 1 : 0);
    }
    const QDate date(year, month, match.captured(pattern.day).toInt());
    if (!date.isValid())
      return DateValue::MakeInvalid();
    QTime time(0, 0);
    if (match.hasCaptured(4))
      time = QTime(match.captured(4).toInt(), match.captured(5).toInt(),
                   match.captured(6).toInt());
    return DateValue::FromDateAndTime(date, time);
  }
  return DateValue::MakeInvalid();
}

QStringList DetectDateForms(const QStringList &samples) {
  // A yearless form is tried with any year that has a 29 February.
  const QDate leap(2024, 12, 31);
  // The forms every sample reads in; failing any, the forms that read the
  // most samples, when those are most of them (a bad day among good ones).
  QStringList forms;
  int best = 0, filled = 0;
  for (const QString &sample : samples)
    filled += sample.trimmed().isEmpty() ? 0 : 1;
  for (const QString &form : DateForms()) {
    int read = 0;
    for (const QString &sample : samples)
      if (!sample.trimmed().isEmpty() &&
          ParseDateInForm(sample, form, leap).IsValid())
        ++read;
    if (read == 0 || read < best)
      continue;
    if (read > best)
      forms.clear();
    best = read;
    forms.append(form);
  }
  if (best * 2 <= filled)
    return {};
  return forms;
}

namespace {

bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Whether text holds nothing but digits, points, commas, signs and
// parentheses, as nearly every amount does: such a text has nothing for the
// currency pattern to remove.
bool IsPlainAmount(QStringView text) {
  for (const QChar c : text)
    if (!IsAsciiDigit(c) && c != QLatin1Char('.') && c != QLatin1Char(',') &&
        c != QLatin1Char('-') && c != QLatin1Char('+') &&
        c != QLatin1Char('(') && c != QLatin1Char(')'))
      return false;
  return true;
}

// Whether text is a decimal as "12", "12.", "12.5", ".5" or "1.5e3" (ASCII
// digits only, no sign).
bool IsDecimalForm(QStringView text) {
  const qsizetype n = text.size();
  qsizetype i = 0;
  auto digits = [&] {
    const qsizetype start = i;
    while (i < n && IsAsciiDigit(text[i]))
      ++i;
    return i - start;
  };
  const qsizetype whole = digits();
  qsizetype fraction = 0;
  if (i < n && text[i] == QLatin1Char('.')) {
    ++i;
    fraction = digits();
  }
  if (whole == 0 && fraction == 0)
    return false;
  if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
    ++i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
      ++i;
    if (digits() == 0)
      return false;
  }
  return i == n;
}

// Whether the grouping separators of text stand only where they belong:
// before the decimal mark, between groups of three digits after a first
// group of one to three. "1,234.5" has them right; "1,2.3", "12,34,5" and
// "1.234,56" (with a decimal point) do not.
bool GroupsInPlace(QStringView text, QChar group, QChar mark) {
  qsizetype whole = text.indexOf(mark);
  if (whole < 0)
    whole = text.size();
  if (text.sliced(whole).contains(group))
    return false;
  if (!text.left(whole).contains(group))
    return true;
  const QList<QStringView> groups = text.left(whole).split(group);
  for (qsizetype i = 0; i < groups.size(); ++i) {
    const qsizetype size = groups.at(i).size();
    if (i == 0 ? size < 1 || size > 3 : size != 3)
      return false;
    for (const QChar c : groups.at(i))
      if (!IsAsciiDigit(c))
        return false;
  }
  return true;
}

} // namespace

bool ParseAmount(const QString &text, bool decimalComma, double *value) {
  QString t = text.trimmed();
  bool negative = false;
  if (t.startsWith(QLatin1Char('(')) && t.endsWith(QLatin1Char(')'))) {
    negative = true;
    t = t.mid(1, t.size() - 2);
  }
  // Currency signs and codes, blanks and thousands separators go.
  static const QRegularExpression currency(
      QStringLiteral("[¥￥$€£元\\s\\x{00A0}\\x{202F}']|CNY|RMB|EUR|USD|人民币"),
      QRegularExpression::CaseInsensitiveOption);
  if (!IsPlainAmount(t))
    t.remove(currency);
  if (t.endsWith(QLatin1Char('-'))) {
    negative = !negative;
    t.chop(1);
  } else if (t.startsWith(QLatin1Char('-'))) {
    negative = !negative;
    t.remove(0, 1);
  } else if (t.startsWith(QLatin1Char('+'))) {
    t.remove(0, 1);
  }
  const QChar mark = QLatin1Char(decimalComma ? ',' : '.');
  const QChar group = QLatin1Char(decimalComma ? '.' : ',');
  if (!GroupsInPlace(t, group, mark))
    return false;
  if (decimalComma) {
    t.remove(QLatin1Char('.'));
    t.replace(QLatin1Char(','), QLatin1Char('.'));
  } else {
    t.remove(QLatin1Char(','));
  }
  if (!IsDecimalForm(t))
    return false;
  // The text is ASCII now; from_chars reads it exactly as toDouble would,
  // without the locale machinery.
  const QByteArray ascii = t.toLatin1();
  const char *end = ascii.constData() + ascii.size();
  double v = 0;
  const auto read = std::from_chars(ascii.constData(), end, v);
  if (read.ec != std::errc() || read.ptr != end || !std::isfinite(v))
    return false;
  *value = negative ? -v : v;
  return true;
}

bool DetectDecimalComma(const QStringList &samples) {
  bool commaOnly = false;
  for (const QString &sample : samples) {
    double v = 0;
    const bool point = ParseAmount(sample, false, &v);
    const bool comma = ParseAmount(sample, true, &v);
    if (point && !comma)
      return false;
    // "12,50" reads both ways; it means a decimal comma when two digits
    // follow the comma and no point is there.
    static const QRegularExpression decimalCommaShape(
        QStringLiteral(",\\d{1,2}\\s*\\)?-?$"));
    if (comma && (!point || (!sample.contains(QLatin1Char('.')) &&
                             decimalCommaShape.match(sample).hasMatch())))
      commaOnly = true;
  }
  return commaOnly;
}

QString NumberText(double value) {
  const QString text = QString::number(value, 'g', 15);
  if (!text.contains(QLatin1Char('e')))
    return text;
  // Very large or small values: plain digits, trailing zeros dropped.
  QString plain = QString::number(value, 'f', 12);
  while (plain.endsWith(QLatin1Char('0')))
    plain.chop(1);
  if (plain.endsWith(QLatin1Char('.')))
    plain.chop(1);
  return plain;
}
