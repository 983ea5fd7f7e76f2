// Value conversion between column kinds, as Jet does it when a column's
// type changes.
#include "db/jet_functions.h"

#include "base/date_text.h"
#include "db/value_text.h"

#include <QByteArray>
#include <QString>

#include <climits>
#include <cmath>

namespace {

QByteArray TextOf(sqlite3_value *value) {
  const char *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
  return QByteArray(text ? text : "", sqlite3_value_bytes(value));
}

// A date's day count when the text is a stored date.
bool DateDays(const QByteArray &text, double &days) {
  JetDateTime date;
  if (!ParseCanonicalDate(text.constData(), text.size(), date))
    return false;
  days = JetDayCount(date);
  return true;
}

bool ToInteger(double real, ConvertedValue &out) {
  const double rounded = RoundHalfEven(real);
  // Jet's integers are 32-bit.
  if (!std::isfinite(rounded) || rounded > INT_MAX || rounded < INT_MIN)
    return false;
  out.type = ConvertedValue::Integer;
  out.integer = qint64(rounded);
  return true;
}

bool SetText(const QString &text, ConvertedValue &out) {
  out.type = ConvertedValue::Text;
  out.bytes = text.toUtf8();
  return true;
}

// Reads a number typed as text; blank text becomes null (no value).
enum class NumberText { Blank, Number, Bad };
NumberText ReadNumberText(const QByteArray &text, double &value) {
  if (text.trimmed().isEmpty())
    return NumberText::Blank;
  return WholeNumber(text, value) ? NumberText::Number : NumberText::Bad;
}

bool ConvertToNumber(sqlite3_value *value, ColumnKind from, bool integer,
                     ConvertedValue &out) {
  double real = 0.0;
  switch (sqlite3_value_type(value)) {
  case SQLITE_INTEGER:
    if (integer) {
      const qint64 v = sqlite3_value_int64(value);
      if (v > INT_MAX || v < INT_MIN)
        return false;
      out.type = ConvertedValue::Integer;
      out.integer = v;
      return true;
    }
    real = double(sqlite3_value_int64(value));
    break;
  case SQLITE_FLOAT:
    real = sqlite3_value_double(value);
    break;
  case SQLITE_TEXT: {
    const QByteArray text = TextOf(value);
    if (from == ColumnKind::Date && DateDays(text, real))
      break;
    const NumberText read = ReadNumberText(text, real);
    if (read == NumberText::Blank) {
      out.type = ConvertedValue::Null;
      return true;
    }
    if (read == NumberText::Bad)
      return false;
    break;
  }
  default:
    return false;
  }
  if (integer)
    return ToInteger(real, out);
  out.type = ConvertedValue::Float;
  out.real = real;
  return true;
}

bool ConvertToText(sqlite3_value *value, ColumnKind from, ConvertedValue &out) {
  switch (sqlite3_value_type(value)) {
  case SQLITE_INTEGER:
    return SetText(QString::number(sqlite3_value_int64(value)), out);
  case SQLITE_FLOAT:
    return SetText(FormatJetDouble(sqlite3_value_double(value)), out);
  case SQLITE_TEXT: {
    const QByteArray text = TextOf(value);
    JetDateTime date;
    // A date becomes the text the user saw in the cell.
    if (from == ColumnKind::Date &&
        ParseCanonicalDate(text.constData(), text.size(), date))
      return SetText(DisplayDateText(date), out);
    out.type = ConvertedValue::Text;
    out.bytes = text;
    return true;
  }
  default:
    return false;
  }
}

bool ConvertToDate(sqlite3_value *value, ConvertedValue &out) {
  JetDateTime date;
  switch (sqlite3_value_type(value)) {
  case SQLITE_INTEGER:
  case SQLITE_FLOAT:
    if (!JetDateFromDayCount(sqlite3_value_double(value), date))
      return false;
    return SetText(CanonicalDateText(date), out);
  case SQLITE_TEXT: {
    const QByteArray text = TextOf(value);
    if (text.trimmed().isEmpty()) {
      out.type = ConvertedValue::Null;
      return true;
    }
    if (!ParseCanonicalDate(text.constData(), text.size(), date) &&
        !ParseJetDateText(QString::fromUtf8(text), date))
      return false;
    return SetText(CanonicalDateText(date), out);
  }
  default:
    return false;
  }
}

bool ConvertToBool(sqlite3_value *value, ConvertedValue &out) {
  out.type = ConvertedValue::Integer;
  switch (sqlite3_value_type(value)) {
  case SQLITE_INTEGER:
  case SQLITE_FLOAT:
    out.integer = sqlite3_value_double(value) != 0.0 ? 1 : 0;
    return true;
  case SQLITE_TEXT: {
    const QByteArray text = TextOf(value).trimmed().toLower();
    double number = 0.0;
    if (text.isEmpty())
      out.type = ConvertedValue::Null;
    else if (text == "true" || text == "yes" || text == "on")
      out.integer = 1;
    else if (text == "false" || text == "no" || text == "off")
      out.integer = 0;
    else if (WholeNumber(text, number))
      out.integer = number != 0.0 ? 1 : 0;
    else
      return false;
    return true;
  }
  default:
    return false;
  }
}

void ConvertFunction(sqlite3_context *context, int, sqlite3_value **argv) {
  ConvertedValue out;
  const auto from = ColumnKind(sqlite3_value_int(argv[1]));
  const auto to = ColumnKind(sqlite3_value_int(argv[2]));
  if (!ConvertJetValue(argv[0], from, to, out)) {
    sqlite3_result_error(context, "Data type conversion error.", -1);
    return;
  }
  switch (out.type) {
  case ConvertedValue::Null:
    sqlite3_result_null(context);
    break;
  case ConvertedValue::Integer:
    sqlite3_result_int64(context, out.integer);
    break;
  case ConvertedValue::Float:
    sqlite3_result_double(context, out.real);
    break;
  case ConvertedValue::Text:
    sqlite3_result_text64(context, out.bytes.constData(),
                          sqlite3_uint64(out.bytes.size()), SQLITE_TRANSIENT,
                          SQLITE_UTF8);
    break;
  case ConvertedValue::Blob:
    sqlite3_result_blob64(context, out.bytes.constData(),
                          sqlite3_uint64(out.bytes.size()), SQLITE_TRANSIENT);
    break;
  }
}

// Jet's functions. Null in gives null out, as in Jet.

bool ArgumentDate(sqlite3_value *value, JetDateTime &date) {
  switch (sqlite3_value_type(value)) {
  case SQLITE_INTEGER:
  case SQLITE_FLOAT:
    return JetDateFromDayCount(sqlite3_value_double(value), date);
  case SQLITE_TEXT: {
    const QByteArray text = TextOf(value);
    return ParseCanonicalDate(text.constData(), text.size(), date) ||
           ParseJetDateText(QString::fromUtf8(text), date);
  }
  default:
    return false;
  }
}

// Year, Month, Day, Hour, Minute, Second; which part in the user data.
void DatePartFunction(sqlite3_context *context, int, sqlite3_value **argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(context);
    return;
  }
  JetDateTime date;
  if (!ArgumentDate(argv[0], date)) {
    sqlite3_result_error(context, "Data type mismatch in criteria expression.", -1);
    return;
  }
  const int parts[] = {date.year, date.month, date.day, date.hour, date.minute, date.second};
  const auto part = reinterpret_cast<quintptr>(sqlite3_user_data(context));
  sqlite3_result_int(context, parts[part]);
}

double ArgumentNumber(sqlite3_value *value) {
  if (sqlite3_value_type(value) == SQLITE_TEXT)
    return LeadingNumber(TextOf(value));
  return sqlite3_value_double(value);
}

enum NumberFunction { kInt, kFix, kCLng, kCDbl, kVal };

void NumberFunctionBody(sqlite3_context *context, int, sqlite3_value **argv) {
  const auto which = NumberFunction(reinterpret_cast<quintptr>(sqlite3_user_data(context)));
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL && which != kVal) {
    sqlite3_result_null(context);
    return;
  }
  const double number = ArgumentNumber(argv[0]);
  switch (which) {
  case kInt:
    sqlite3_result_double(context, std::floor(number));
    return;
  case kFix:
    sqlite3_result_double(context, std::trunc(number));
    return;
  case kCLng: {
    ConvertedValue out;
    if (!ToInteger(number, out)) {
      sqlite3_result_error(context, "Overflow", -1);
      return;
    }
    sqlite3_result_int64(context, out.integer);
    return;
  }
  case kCDbl:
  case kVal:
    sqlite3_result_double(context, number);
    return;
  }
}

void CStrFunction(sqlite3_context *context, int, sqlite3_value **argv) {
  ConvertedValue out;
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL ||
      !ConvertToText(argv[0], ColumnKind::Other, out)) {
    sqlite3_result_null(context);
    return;
  }
  sqlite3_result_text64(context, out.bytes.constData(), sqlite3_uint64(out.bytes.size()),
                        SQLITE_TRANSIENT, SQLITE_UTF8);
}

// Nz(value[, instead]): instead (or 0) for null.
void NzFunction(sqlite3_context *context, int argc, sqlite3_value **argv) {
  if (sqlite3_value_type(argv[0]) != SQLITE_NULL)
    sqlite3_result_value(context, argv[0]);
  else if (argc > 1)
    sqlite3_result_value(context, argv[1]);
  else
    sqlite3_result_int(context, 0);
}

// Left(text, n) and Right(text, n), counted in characters.
void SideFunction(sqlite3_context *context, int, sqlite3_value **argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(context);
    return;
  }
  const qint64 count = sqlite3_value_int64(argv[1]);
  if (count < 0) {
    sqlite3_result_error(context, "Invalid procedure call or argument", -1);
    return;
  }
  const QString text = QString::fromUtf8(TextOf(argv[0]));
  const bool left = sqlite3_user_data(context) != nullptr;
  const QByteArray part = (left ? text.left(count) : text.right(count)).toUtf8();
  sqlite3_result_text64(context, part.constData(), sqlite3_uint64(part.size()),
                        SQLITE_TRANSIENT, SQLITE_UTF8);
}

// jet_number(value): a bound number text read the way SQLite reads the same
// text written into a statement as a number literal (the conversion a
// decimal goes through is SQLite's own, to the last bit), so that a value
// bound to a prepared INSERT is stored exactly as its literal would be. The
// caller binds texts that look like whole numbers as integers itself:
// numeric affinity would round those beyond 2^53 through a double. Any other
// value passes unchanged.
void NumberLiteralFunction(sqlite3_context *context, int, sqlite3_value **argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_TEXT)
    sqlite3_value_numeric_type(argv[0]);
  sqlite3_result_value(context, argv[0]);
}

// jet_integer(value): the value an integer column stores. Integers, nulls
// and long binary values stay as they are; fractions are rounded half to
// even; a text that is a number is that number, rounded; blank text is no
// value; any other text fails the statement.
void IntegerFunction(sqlite3_context *context, int, sqlite3_value **argv) {
  double real = 0.0;
  switch (sqlite3_value_type(argv[0])) {
  case SQLITE_FLOAT:
    real = sqlite3_value_double(argv[0]);
    break;
  case SQLITE_TEXT:
    switch (ReadNumberText(TextOf(argv[0]), real)) {
    case NumberText::Blank:
      sqlite3_result_null(context);
      return;
    case NumberText::Bad:
      sqlite3_result_error(context, "Data type mismatch in criteria expression.", -1);
      return;
    case NumberText::Number:
      break;
    }
    break;
  default:
    sqlite3_result_value(context, argv[0]);
    return;
  }
  const double rounded = RoundHalfEven(real);
  if (!std::isfinite(rounded) || rounded >= 9.2e18 || rounded <= -9.2e18) {
    sqlite3_result_error(context, "Overflow", -1);
    return;
  }
  sqlite3_result_int64(context, sqlite3_int64(rounded));
}

void Register(sqlite3 *db, const char *name, int arguments, void *data,
              void (*function)(sqlite3_context *, int, sqlite3_value **)) {
  sqlite3_create_function_v2(db, name, arguments,
                             SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                             data, function, nullptr, nullptr, nullptr);
}

} // namespace

bool ConvertJetValue(sqlite3_value *value, ColumnKind from, ColumnKind to,
                     ConvertedValue &out) {
  out = ConvertedValue();
  if (sqlite3_value_type(value) == SQLITE_NULL)
    return true;
  switch (to) {
  case ColumnKind::Integer:
    return ConvertToNumber(value, from, true, out);
  case ColumnKind::Float:
    return ConvertToNumber(value, from, false, out);
  case ColumnKind::Text:
    return ConvertToText(value, from, out);
  case ColumnKind::Date:
    return ConvertToDate(value, out);
  case ColumnKind::Bool:
    return ConvertToBool(value, out);
  case ColumnKind::Blob:
    if (sqlite3_value_type(value) == SQLITE_BLOB ||
        sqlite3_value_type(value) == SQLITE_TEXT) {
      out.type = ConvertedValue::Blob;
      out.bytes = QByteArray(static_cast<const char *>(sqlite3_value_blob(value)),
                             sqlite3_value_bytes(value));
      return true;
    }
    return false;
  case ColumnKind::Other:
    break;
  }
  // A type without a kind takes the value as it is.
  switch (sqlite3_value_type(value)) {
  case SQLITE_INTEGER:
    out.type = ConvertedValue::Integer;
    out.integer = sqlite3_value_int64(value);
    return true;
  case SQLITE_FLOAT:
    out.type = ConvertedValue::Float;
    out.real = sqlite3_value_double(value);
    return true;
  case SQLITE_TEXT:
    out.type = ConvertedValue::Text;
    out.bytes = TextOf(value);
    return true;
  default:
    out.type = ConvertedValue::Blob;
    out.bytes = QByteArray(static_cast<const char *>(sqlite3_value_blob(value)),
                           sqlite3_value_bytes(value));
    return true;
  }
}

void RegisterJetFunctions(sqlite3 *db) {
  sqlite3_create_function_v2(db, "jet_integer", 1,
                             SQLITE_UTF8 | SQLITE_DETERMINISTIC |
                                 SQLITE_DIRECTONLY,
                             nullptr, IntegerFunction, nullptr, nullptr, nullptr);
  sqlite3_create_function_v2(db, "jet_number", 1,
                             SQLITE_UTF8 | SQLITE_DETERMINISTIC |
                                 SQLITE_DIRECTONLY,
                             nullptr, NumberLiteralFunction, nullptr, nullptr,
                             nullptr);
  sqlite3_create_function_v2(db, "sorvanel_convert", 3,
                             SQLITE_UTF8 | SQLITE_DETERMINISTIC |
                                 SQLITE_DIRECTONLY,
                             nullptr, ConvertFunction, nullptr, nullptr, nullptr);
  const char *const dateParts[] = {"year", "month", "day", "hour", "minute", "second"};
  for (quintptr i = 0; i < 6; ++i)
    Register(db, dateParts[i], 1, reinterpret_cast<void *>(i), DatePartFunction);
  const struct {
    const char *name;
    NumberFunction which;
  } numbers[] = {{"int", kInt}, {"fix", kFix}, {"clng", kCLng}, {"cdbl", kCDbl},
                 {"val", kVal}};
  for (const auto &number : numbers)
    Register(db, number.name, 1, reinterpret_cast<void *>(quintptr(number.which)),
             NumberFunctionBody);
  Register(db, "cstr", 1, nullptr, CStrFunction);
  Register(db, "nz", 1, nullptr, NzFunction);
  Register(db, "nz", 2, nullptr, NzFunction);
  static int leftTag = 1;
  Register(db, "jet_left", 2, &leftTag, SideFunction);
  Register(db, "jet_right", 2, nullptr, SideFunction);
}
