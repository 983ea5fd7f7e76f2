// The budget page's month as a printed table.
#include "analysis/ui/budget_table_source.h"

#include <cmath>

BudgetTableSource::BudgetTableSource(const BudgetMonth &figures,
                                     const QString &optionCaption)
    : figures_(figures), optionCaption_(optionCaption) {}

QString BudgetTableSource::Caption(int column) const {
  switch (column) {
  case 0:
    return optionCaption_;
  case 1:
    return QStringLiteral("预算");
  case 2:
    return QStringLiteral("已用");
  case 3:
    return QStringLiteral("剩余");
  default:
    return QStringLiteral("已用比例");
  }
}

int BudgetTableSource::Width(int column) const {
  return column == 0 ? 160 : 110;
}

const BudgetLine &BudgetTableSource::Line(int row) const {
  return row == 0 ? figures_.total : figures_.lines[row - 1];
}

QString BudgetTableSource::Text(int column, int row) const {
  const BudgetLine &line = Line(row);
  switch (column) {
  case 0:
    return line.option;
  case 1:
    return BudgetAmountText(line.budget);
  case 2:
    return BudgetAmountText(line.spent);
  case 3:
    return BudgetAmountText(line.Left());
  default:
    // Spent of no budget has no share.
    if (line.budget <= 0)
      return QString();
    return QStringLiteral("%1%").arg(std::lround(100 * line.spent / line.budget));
  }
}

Qt::Alignment BudgetTableSource::Alignment(int column, int) const {
  return (column == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
}
