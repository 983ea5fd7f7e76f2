// Dates and amounts of statements; see statement_values.h.
#include "exchange/statement_values.h"

#include <QRegularExpression>

#include <cmath>
#include <map>

QStringList DateForms() {
  return {QStringLiteral("yyyy-MM-dd"), QStringLiteral("yyyy/M/d"),
          QStringLiteral("d.M.yyyy"),   QStringLiteral("M/d/yyyy"),
          QStringLiteral("d/M/yyyy"),   QStringLiteral("yyyyMMdd")};
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
};

const QRegularExpression &FormExpression(const FormPattern &pattern) {
  static std::map<QString, QRegularExpression> cache;
  auto it = cache.find(QString::fromLatin1(pattern.form));
  if (it == cache.end())
    it = cache
             .emplace(QString::fromLatin1(pattern.form),
                      QRegularExpression(
                          QStringLiteral("^\\s*%1(?:[ T]+(\\d{1,2}):(\\d{1,2})"
                                         "(?::(\\d{1,2}))?)?\\s*$")
                              .arg(QLatin1String(pattern.date))))
             .first;
  return it->second;
}

} // namespace

DateValue ParseDateInForm(const QString &text, const QString &form) {
  for (const FormPattern &pattern : kPatterns) {
    if (form != QLatin1String(pattern.form))
      continue;
    const QRegularExpressionMatch match = FormExpression(pattern).match(text);
    if (!match.hasMatch())
      return DateValue::MakeInvalid();
    const QDate date(match.captured(pattern.year).toInt(),
                     match.captured(pattern.month).toInt(),
                     match.captured(pattern.day).toInt());
    QTime time(0, 0);
    if (match.hasCaptured(4))
      time = QTime(match.captured(4).toInt(), match.captured(5).toInt(),
                   match.captured(6).toInt());
    return DateValue::FromDateAndTime(date, time);
  }
  return DateValue::MakeInvalid();
}

QStringList DetectDateForms(const QStringList &samples) {
  QStringList forms;
  for (const QString &form : DateForms()) {
    bool any = false, all = true;
    for (const QString &sample : samples) {
      if (sample.trimmed().isEmpty())
        continue;
      any = true;
      if (!ParseDateInForm(sample, form).IsValid()) {
        all = false;
        break;
      }
    }
    if (any && all)
      forms.append(form);
  }
  return forms;
}

bool ParseAmount(const QString &text, bool decimalComma, double *value) {
  QString t = text.trimmed();
  bool negative = false;
  if (t.startsWith(QLatin1Char('(')) && t.endsWith(QLatin1Char(')'))) {
    negative = true;
    t = t.mid(1, t.size() - 2);
  }
  // Currency signs and codes, blanks and thousands separators go.
  static const QRegularExpression currency(
      QStringLiteral("[¥￥$€£\\s\\x{00A0}\\x{202F}']|CNY|RMB|EUR|USD"),
      QRegularExpression::CaseInsensitiveOption);
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
  if (decimalComma) {
    t.remove(QLatin1Char('.'));
    t.replace(QLatin1Char(','), QLatin1Char('.'));
  } else {
    t.remove(QLatin1Char(','));
  }
  static const QRegularExpression number(
      QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)([eE][+-]?\\d+)?$"));
  if (!number.match(t).hasMatch())
    return false;
  bool ok = false;
  const double v = t.toDouble(&ok);
  if (!ok || !std::isfinite(v))
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
