// Finding the date and sum columns of the charts.
#include "analysis/chart_columns.h"

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

QString BracketedField(const QString &fieldName) {
  return QLatin1Char('[') + fieldName + QLatin1Char(']');
}
