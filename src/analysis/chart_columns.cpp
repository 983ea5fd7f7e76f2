// Finding the date and sum columns of the charts.
#include "analysis/chart_columns.h"

#include "formula/plain_number.h"
#include "model/column_list.h"

namespace {

const ColumnDef *FirstOfType(const ColumnList &columns, int type) {
  for (const ColumnDef &column : columns.All())
    if (column.enabled && column.type == type)
      return &column;
  return nullptr;
}

} // namespace

const ColumnDef *ChartDateColumn(const ColumnList &columns) {
  if (const ColumnDef *date = FirstOfType(columns, FT_DATE))
    return date;
  return FirstOfType(columns, FT_AUTODATE);
}

const ColumnDef *ChartSumColumn(const ColumnList &columns,
                                const QString &fieldName) {
  if (fieldName.isEmpty())
    return nullptr;
  const int position = columns.PositionOf(fieldName);
  if (position < 0)
    return nullptr;
  const ColumnDef &column = columns.At(position);
  return column.enabled && IsNumericType(column.type) ? &column : nullptr;
}

QString DefaultSumField(const ColumnList &columns) {
  const QList<ColumnDef> numeric = columns.NumericColumns();
  for (qsizetype i = numeric.size() - 1; i >= 0; --i) {
    const ColumnDef &column = numeric[i];
    if (column.enabled && column.type == FT_FLOAT &&
        !column.defaultValue.isEmpty() && !IsPlainNumber(column.defaultValue))
      return column.fieldName;
  }
  for (const int type : {int(FT_FLOAT), int(FT_INTEGER)})
    for (const ColumnDef &column : numeric)
      if (column.enabled && column.type == type)
        return column.fieldName;
  return QString();
}

QString BracketedField(const QString &fieldName) {
  return QLatin1Char('[') + fieldName + QLatin1Char(']');
}
