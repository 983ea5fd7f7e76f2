// What a typed text may be before it is stored in a column: a date column
// takes a date, a numeric column a number or a formula of numbers. A text
// that is neither is refused with one clear message, before the formulas
// of the row or the statement would each complain in their own words.
#pragma once

#include <QString>

class ColumnList;

// The refusal of text typed into the column at position: "日期格式不正确"
// and "时间格式不正确" for dates and times, "单价：abc 不是数字" for a
// numeric column; empty when the text can be stored (a date, an empty text
// outside the date columns, a number, a formula that reads as one or names
// a field of the row).
QString TypedValueRefusal(const ColumnList &columns, int position,
                          const QString &text);
