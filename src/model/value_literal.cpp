// SQL literals of cell texts by column type.
#include "model/value_literal.h"

#include "base/date_text.h"
#include "db/insert_statements.h"
#include "db/value_text.h"
#include "formula/format_decimal.h"
#include "model/column_list.h"
#include "model/sql_text.h"

#include <QHash>

namespace {

const char *const kDateFallback = "#1985-05-22#";
const char *const kTimeFallback = "#00:00:00#";

QString DateLiteral(const QString &value, int type) {
  const DateValue date = ParseDateTime(value);
  const bool timeOnly = type == FT_TIME || type == FT_AUTOTIME;
  if (!date.IsValid())
    return QString::fromLatin1(timeOnly ? kTimeFallback : kDateFallback);
  DateTimePart part = DTP_BOTH;
  if (type == FT_DATE || type == FT_AUTODATE)
    part = DTP_DATE;
  else if (timeOnly)
    part = DTP_TIME;
  return QLatin1Char('#') + FormatDateTime(date, part) + QLatin1Char('#');
}

// Texts a memo keeps before it starts over.
constexpr qsizetype kMemoSize = 4096;

// The canonical text the adapter stores for the date literal of a typed
// value it reads: the literal holds the part of the value its column keeps
// (the day, the time of day on the zero day, or both), which the adapter
// stores as it is. Written straight from the value's fields: every row of
// an import stores its dates this way.
bool ReadableStoredDate(const QString &value, int type, QString *stored) {
  DateTextParts parts;
  if (!ReadDateText(value, parts))
    return false;
  JetDateTime fields; // the zero day at midnight
  if (type != FT_TIME && type != FT_AUTOTIME)
    parts.date.getDate(&fields.year, &fields.month, &fields.day);
  if (type != FT_DATE && type != FT_AUTODATE) {
    fields.hour = parts.time.hour();
    fields.minute = parts.time.minute();
    fields.second = parts.time.second();
  }
  *stored = CanonicalDateText(fields);
  return true;
}

// The canonical text the adapter stores for the date literal of value, or
// a null text when the adapter refuses that literal.
QString StoredDateText(const QString &value, int type) {
  QString stored;
  if (ReadableStoredDate(value, type, &stored))
    return stored;
  // An unreadable text stores the fallback literal of its column.
  const QString literal = DateLiteral(value, type);
  JetDateTime date;
  if (ParseJetDateText(QStringView(literal).mid(1, literal.size() - 2), date))
    stored = CanonicalDateText(date);
  return stored;
}

// Whether text is a whole number of at most 15 digits without leading
// zeros: a double holds it exactly, and its literal is the text itself.
bool PlainWholeNumber(const QString &text) {
  const qsizetype first = text.startsWith(QLatin1Char('-')) ? 1 : 0;
  const qsizetype digits = text.size() - first;
  if (digits < 1 || digits > 15 ||
      (digits > 1 && text[first] == QLatin1Char('0')))
    return false;
  for (qsizetype i = first; i < text.size(); ++i)
    if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
      return false;
  return true;
}

// The literal of a plain decimal "-?d+.d+" of at most 15 digits without
// leading zeros: the text without the trailing zeros of its fraction, and
// without a bare point. That is the number FormatDecimal writes for it, in
// its shortest form: the two read as the same double.
bool PlainDecimalLiteral(const QString &text, QString *literal) {
  const qsizetype first = text.startsWith(QLatin1Char('-')) ? 1 : 0;
  const qsizetype point = text.indexOf(QLatin1Char('.'), first);
  const qsizetype size = text.size();
  if (point <= first || point == size - 1 || size - first - 1 > 15 ||
      (point - first > 1 && text[first] == QLatin1Char('0')))
    return false;
  for (qsizetype i = first; i < size; ++i)
    if (i != point &&
        (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9')))
      return false;
  qsizetype end = size;
  while (end > point && (text[end - 1] == QLatin1Char('0') ||
                         text[end - 1] == QLatin1Char('.')))
    --end;
  *literal = text.left(end);
  return true;
}

// The literal of value for a number column. Keys are whole numbers and
// amounts plain decimals, whose literals are their own texts; amounts of
// other forms repeat from row to row, so the literal of another short text
// is worked out once per thread.
QString NumberLiteral(const QString &value) {
  if (value.isEmpty())
    return QStringLiteral("0");
  if (PlainWholeNumber(value))
    return value;
  QString literal;
  if (PlainDecimalLiteral(value, &literal))
    return literal;
  if (value.size() > 64)
    return FormatDecimal(LeadingNumber(value), 18);
  thread_local QHash<QString, QString> known;
  const auto found = known.constFind(value);
  if (found != known.cend())
    return found.value();
  literal = FormatDecimal(LeadingNumber(value), 18);
  if (known.size() >= kMemoSize)
    known.clear();
  known.insert(value, literal);
  return literal;
}

} // namespace

double LeadingNumber(const QString &text) {
  return LeadingNumber(QByteArrayView(text.toUtf8()));
}

QString TypedLiteral(const QString &value, int type) {
  if (IsTextType(type))
    return SqlTextLiteral(value);
  if (IsDateTimeType(type))
    return DateLiteral(value, type);
  return NumberLiteral(value);
}

bool TypedBoundValue(const QString &value, int type, BoundValue *out) {
  if (IsTextType(type)) {
    out->kind = BoundValue::Text;
    out->text = value;
    return true;
  }
  if (IsDateTimeType(type)) {
    // The adapter stores a #...# literal as its canonical text.
    out->text = StoredDateText(value, type);
    out->kind = BoundValue::Text;
    return !out->text.isNull();
  }
  out->text = NumberLiteral(value);
  // "inf" and "nan" are no number literal at all.
  for (const QChar c : std::as_const(out->text))
    if (c != QLatin1Char('-') && c != QLatin1Char('.') && !c.isDigit())
      return false;
  out->kind = BoundValue::Number;
  return true;
}

QString TypedDateRefusal(const QString &value, int type) {
  if (!IsDateTimeType(type))
    return QString();
  if (type == FT_TIME || type == FT_AUTOTIME) {
    if (value.isEmpty() || ParseDateTime(value).IsValid())
      return QString();
    return QStringLiteral("时间格式不正确");
  }
  // An empty text or a time alone would store a day of the literal's own.
  DateTextParts parts;
  if (ReadDateText(value, parts) && parts.hasDate)
    return QString();
  return QStringLiteral("日期格式不正确");
}

QString ValueLiteral(const ColumnList &columns, const QString &value,
                     int position) {
  if (!columns.IsValid(position))
    return QString();
  return TypedLiteral(value, columns.At(position).type);
}

QString ColumnCondition(const ColumnList &columns, const QString &value,
                        int position) {
  if (!columns.IsValid(position))
    return QString();
  return QStringLiteral("[%1]=%2").arg(columns.At(position).fieldName,
                                       ValueLiteral(columns, value, position));
}
