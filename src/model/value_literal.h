// A cell text as an SQL literal of its column, and a column compared with
// such a literal.
//
// Text columns give the text between single quotes (quotes doubled), date
// and time columns a #...# literal in the fixed date form with fixed
// fallbacks for unreadable texts, and all other columns a number.
#pragma once

#include <QString>

class ColumnList;
struct BoundValue;

// The literal of value for a column of the given FieldType code.
QString TypedLiteral(const QString &value, int type);
// The value to bind in place of TypedLiteral(value, type) so that a
// prepared statement stores what the literal stores; false when the literal
// has no such value (an infinite number, a date the adapter refuses), and
// the statement is then to be written out with the literal.
bool TypedBoundValue(const QString &value, int type, BoundValue *out);
// The refusal of a text typed into a date or time column that the literal
// would replace by a date or time of its own: "日期格式不正确" for a date
// column and a text that names no day (an empty one, a time alone),
// "时间格式不正确" for a time column and a text that reads as no time
// (ParseDateTime). Empty text when the text can be stored: a readable one,
// an empty one in a time column, any text of another column.
QString TypedDateRefusal(const QString &value, int type);
// The literal of value for the column at position of columns; empty text
// when the position is out of range.
QString ValueLiteral(const ColumnList &columns, const QString &value,
                     int position);
// "[field]=literal" for the column at position; empty text when the position
// is out of range. Used for SET items and WHERE conditions on Users.
QString ColumnCondition(const ColumnList &columns, const QString &value,
                        int position);

// The number at the start of text read the way the C library's strtod does
// (leading blanks, sign, digits, point, exponent; reading stops at the first
// other character), independent of the locale; 0 when there is no number.
double LeadingNumber(const QString &text);
