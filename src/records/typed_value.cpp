// Checking typed texts before they are stored.
#include "records/typed_value.h"

#include "formula/evaluate_formula.h"
#include "formula/formula_code.h"
#include "formula/plain_number.h"
#include "model/column_list.h"
#include "model/field_type.h"
#include "model/value_literal.h"

#include <exception>

namespace {

// Whether text compiles as a formula of numbers alone ("2*3", "1/0"); its
// value is the formulas' business.
bool CompilesAlone(const QString &text) {
  FormulaCode code;
  bool compiled = false;
  try {
    Compile(text, code);
    compiled = true;
  } catch (const std::exception &) {
  }
  try {
    code.Release();
  } catch (const std::exception &) {
  }
  return compiled;
}

// Whether text names a field of the list: a formula over the row, which
// the row's evaluation substitutes and judges.
bool NamesAField(const ColumnList &columns, const QString &text) {
  for (const ColumnDef &column : columns.All())
    if (!column.fieldName.isEmpty() &&
        text.contains(column.fieldName, Qt::CaseInsensitive))
      return true;
  return false;
}

} // namespace

QString TypedValueRefusal(const ColumnList &columns, int position,
                          const QString &text) {
  if (!columns.IsValid(position))
    return QString();
  const ColumnDef &column = columns.At(position);
  const QString date = TypedDateRefusal(text, column.type);
  if (!date.isEmpty())
    return date;
  if (text.isEmpty() || !IsNumericType(column.type) ||
      IsPlainNumber(text.trimmed()) || CompilesAlone(text) ||
      NamesAField(columns, text))
    return QString();
  return QStringLiteral("%1：%2 不是数字").arg(column.title, text);
}
