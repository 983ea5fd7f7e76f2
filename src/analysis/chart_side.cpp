// The sides of a ledger as chart statements take them.
#include "analysis/chart_side.h"

#include "analysis/chart_columns.h"
#include "model/column_list.h"
#include "model/side_column.h"
#include "model/sql_text.h"

QString ChartSideName(ChartSide side) {
  switch (side) {
  case ChartSide::Spending:
    return SpendingSide();
  case ChartSide::Income:
    return IncomeSide();
  case ChartSide::Balance:
    break;
  }
  return QStringLiteral("结余");
}

bool ParseChartSide(const QString &name, ChartSide &side) {
  for (const ChartSide each :
       {ChartSide::Spending, ChartSide::Income, ChartSide::Balance}) {
    if (ChartSideName(each) == name) {
      side = each;
      return true;
    }
  }
  return false;
}

QString SideWhere(const ColumnList &columns, ChartSide side) {
  const ColumnDef *column = SideColumnOf(columns);
  if (!column)
    return QString();
  const QString field = BracketedField(column->fieldName);
  if (side == ChartSide::Balance)
    return QStringLiteral("%1 In (%2,%3)")
        .arg(field, SqlTextLiteral(SpendingSide()),
             SqlTextLiteral(IncomeSide()));
  return field + QLatin1Char('=') + SqlTextLiteral(ChartSideName(side));
}

SideSum SideSumOf(const ColumnList &columns, const QString &sumField,
                  ChartSide side) {
  const ColumnDef *column = SideColumnOf(columns);
  if (!column)
    return SideSum{sumField, QString()};
  SideSum result{sumField, SideWhere(columns, side)};
  if (side == ChartSide::Balance)
    result.sum = QStringLiteral("IIf(%1=%2,%3,-%3)")
                     .arg(BracketedField(column->fieldName),
                          SqlTextLiteral(IncomeSide()), sumField);
  return result;
}
