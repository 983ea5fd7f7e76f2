// CSorvanBudgetView: the budget page ("预算") of an account file's window.
// For a chosen month (this month at first; arrows for the month before and
// after) it shows the budget's rows over the records in scope: the active
// groups and the filter, as the charts use them. It recomputes when a
// notification touches the records, the scope or the budget while it is
// showing, and marks itself for reload otherwise. A double click on a row
// shows that row's records on the records page. Its pop-up menu opens the
// budget editor ("设置预算…").
//
// It also watches every change of records, shown or not, and says in the
// status bar when one took an option over its month's budget.
#pragma once

#include "analysis/budget_month.h"
#include "analysis/budget_watch.h"
#include "window/sorvan_base_view.h"

class BudgetChartWidget;
class QLabel;
class QMenu;
class QToolButton;

class CSorvanBudgetView : public CSorvanBaseView {
  Q_OBJECT

public:
  explicit CSorvanBudgetView(DocumentWindow *window, QWidget *parent = nullptr);
  ~CSorvanBudgetView() override;

  int GetPageKind() const override { return BudgetPage; }
  void OnChangeNotify(AccountFile &file, unsigned hint) override;
  // Clears the pending mark and recomputes.
  void Refresh() override;

  // Prints the month's table as shown, once it has figures.
  bool CanPrint() const override;
  std::unique_ptr<PrintJob> MakePrintJob(bool selectedOnly) const override;

  // The month shown and its figures: what a printer reads.
  const YearMonth &Month() const { return month_; }
  const BudgetMonth &Figures() const { return figures_; }
  BudgetChartWidget *Chart() const { return chart_; }
  QMenu *ContextMenu() const { return menu_; }

public slots:
  // Shows the month step months away (-1: the month before) and recomputes.
  void StepMonth(int step);
  // "设置预算…": the editor for the month shown.
  void OnEditBudget();
  // Shows the records of a row (0: every budgeted option) on the records
  // page, by narrowing the filter to the month and the option.
  void ShowRowRecords(int row);

signals:
  // A text for the status bar ("餐饮本月已超出预算 120.00 元").
  void statusNote(const QString &text);

protected:
  unsigned PageHintBits() const override;
  void contextMenuEvent(QContextMenuEvent *event) override;

private:
  void Recompute();
  // "2026年3月预算　范围：分组 日常开支；已筛选": the month and the scope.
  QString Title() const;
  // The scope of the active groups and the filter; false when the filter
  // cannot be built.
  bool ScopeWhere(QString &where) const;

  YearMonth month_;
  Budget budget_;
  BudgetMonth figures_;
  BudgetWatch watch_;
  BudgetChartWidget *chart_ = nullptr;
  QLabel *monthLabel_ = nullptr;
  QMenu *menu_ = nullptr;
};
