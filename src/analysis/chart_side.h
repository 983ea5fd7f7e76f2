// Which side of a ledger with a side column (model/side_column.h) a chart,
// a statement or a budget sums: spending, income, or the balance (income
// less spending). Spending and income are never added together. In a
// ledger without a side column every record counts as it is.
#pragma once

#include <QString>
#include <QStringList>

class ColumnList;

enum class ChartSide : int { Spending = 0, Income = 1, Balance = 2 };

// "支出", "收入", "结余".
QString ChartSideName(ChartSide side);
// The side a name gives; false for any other text.
bool ParseChartSide(const QString &name, ChartSide &side);

// The sum and condition of one side: the records of that side, or for the
// balance the records of both with spending counted negative.
struct SideSum {
  QString sum;   // an expression over the bracketed sum field
  QString where; // the records of the side; empty without a side column
};

// The sum of sumField ("[Total]") taken on side; the plain field and no
// condition when columns have no side column.
SideSum SideSumOf(const ColumnList &columns, const QString &sumField,
                  ChartSide side);
// The condition on the records of one side (spending or income); empty
// without a side column.
QString SideWhere(const ColumnList &columns, ChartSide side);
