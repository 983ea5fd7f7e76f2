// The budget page's month as a printed table: per option its budget, what
// was spent, what is left and the share of the budget used (the bar of the
// page), the total first, as the page shows them.
#pragma once

#include "analysis/budget_month.h"
#include "print/table_source.h"

class BudgetTableSource : public TableSource {
public:
  // optionCaption heads the column of the options (the option column's
  // caption, e.g. 类别).
  BudgetTableSource(const BudgetMonth &figures, const QString &optionCaption);

  int ColumnCount() const override { return 5; }
  QString Caption(int column) const override;
  int Width(int column) const override;
  int RowCount() const override { return int(figures_.lines.size()) + 1; }
  bool IsGroupRow(int) const override { return false; }
  QString Text(int column, int row) const override;
  Qt::Alignment Alignment(int column, int row) const override;

private:
  const BudgetLine &Line(int row) const;

  BudgetMonth figures_;
  QString optionCaption_;
};
