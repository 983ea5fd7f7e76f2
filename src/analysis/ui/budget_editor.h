// BudgetEditor ("设置预算"): the option column and the sum column of the
// budget, whether the amounts hold for every month or for the page's month
// alone, and a grid of options × amount with the month's total last.
// "复制上月" fills the grid with the amounts of the month before. 确定
// writes the budget in one unit of work; a text that is no amount keeps
// the dialog open on its cell. Budgets are settings of the file, as the
// options sheet's are: they are not part of the records' undo history.
#pragma once

#include "analysis/budget.h"

#include <QDialog>

class AccountFile;
class QComboBox;
class QRadioButton;
class QTableWidget;

class BudgetEditor : public QDialog {
  Q_OBJECT

public:
  BudgetEditor(AccountFile &file, const YearMonth &month,
               QWidget *parent = nullptr);

  QComboBox *ByBox() const { return by_; }
  QComboBox *SumBox() const { return sum_; }
  QRadioButton *ThisMonthButton() const { return thisMonth_; }
  QTableWidget *Grid() const { return grid_; }

public slots:
  // Fills the amounts with those of the month before.
  void CopyMonthBefore();
  // Checks and writes; closes when it worked.
  void accept() override;

private:
  // "" for every month, else the page's month.
  QString MonthKey() const;
  // Fills the grid with the rows of the chosen column for month.
  void ShowRows(const QString &month);

  AccountFile &file_;
  Budget budget_;
  YearMonth month_;
  QComboBox *by_;
  QComboBox *sum_;
  QRadioButton *thisMonth_;
  QTableWidget *grid_;
};
