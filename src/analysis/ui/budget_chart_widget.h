// BudgetChartWidget: the month's budget as rows of bars, the total on top,
// then one row per budgeted option: its name, a bar of what was spent
// against the budget (green under 80%, amber up to 100%, red over) and the
// figures. Painted on the bar chart's background in its colours. A double
// click on a row (or Enter on the current one) activates it; each row is a child of the chart in the
// accessibility tree, named by its option, its value the figures.
#pragma once

#include "analysis/budget_month.h"
#include "analysis/ui/chart_accessible.h"

#include <QWidget>

class QPainter;

class BudgetChartWidget : public QWidget, public ChartAccessibleItems {
  Q_OBJECT

public:
  static constexpr int kTitleHeight = 44;
  static constexpr int kRowPitch = 36;

  explicit BudgetChartWidget(QWidget *parent = nullptr);
  ~BudgetChartWidget() override;

  // The figures to show under title; rows are the total, then the lines.
  void SetFigures(const BudgetMonth &figures, const QString &title);
  QString Title() const { return title_; }
  int RowCount() const;
  // Row 0 is the total.
  const BudgetLine &Row(int row) const;
  // The row's rectangle in the widget; the row under a point, or -1.
  QRect RowRect(int row) const;
  int RowAt(const QPoint &pos) const;
  // "预算 1000.00，已用 330.00，剩余 670.00"
  static QString RowFigures(const BudgetLine &line);

  // Paints the chart into rect: for the screen and for pictures.
  void Paint(QPainter &painter, const QRect &rect) const;
  // The height every row needs.
  int ContentHeight() const;
  QSize sizeHint() const override;

  // ChartAccessibleItems
  int AccessibleItemCount() const override { return RowCount(); }
  // A row is read whole: its option and its figures.
  QString AccessibleItemName(int i) const override {
    return Row(i).option + QStringLiteral("，") + RowFigures(Row(i));
  }
  QString AccessibleItemValue(int i) const override { return RowFigures(Row(i)); }
  QRect AccessibleItemRect(int i) const override { return RowRect(i); }
  ChartAccessibleCache &AccessibleCache() const override { return accessible_; }

signals:
  // A row was double-clicked.
  void rowActivated(int row);

protected:
  void paintEvent(QPaintEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  // Up and Down move the current row, Enter activates it.
  void keyPressEvent(QKeyEvent *event) override;

private:
  void PaintRow(QPainter &painter, const QRect &rowRect, int row) const;

  QString title_;
  BudgetMonth figures_;
  int current_ = 0;
  mutable ChartAccessibleCache accessible_;
};
