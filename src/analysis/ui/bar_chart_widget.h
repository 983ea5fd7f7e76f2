// BarChartWidget: the chart of the monthly bar chart page. Bars stand
// at a fixed pitch with their labels below them; when they do not fit, the
// chart scrolls sideways while the value axis stays. Only the bars in view
// are painted, so a chart of a hundred thousand months scrolls as quickly as
// one of twelve. Resting the pointer on a bar shows its tip, and each bar is
// a child of the chart in the accessibility tree.
#pragma once

#include "analysis/ui/chart_accessible.h"
#include "print/bar_chart_painter.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QList>
#include <QString>

class QPainter;

class BarChartWidget : public QAbstractScrollArea, public ChartAccessibleItems {
  Q_OBJECT

public:
  // Horizontal layout of the bars, in pixels.
  static constexpr int kBarPitch = BarChartPainter::kBarPitch;
  static constexpr int kBarWidth = BarChartPainter::kBarWidth;
  static constexpr int kAxisWidth = BarChartPainter::kAxisWidth;
  static constexpr int kTitleHeight = BarChartPainter::kTitleHeight;
  static constexpr int kLabelHeight = BarChartPainter::kLabelHeight;

  explicit BarChartWidget(QWidget *parent = nullptr);
  ~BarChartWidget() override;

  void SetTitle(const QString &title);
  void SetBackgroundColour(const QColor &colour);
  void SetTitleColour(const QColor &colour);
  QString Title() const { return chart_.Title(); }

  // Removes every bar and resets the scroll extent.
  void RemoveAllBars();
  // Appends a bar. The second colour frames the bar under the pointer.
  void AddBar(const QString &label, const QColor &fill, const QColor &second,
              double value);
  // Lays the bars out again and repaints.
  void Redraw();

  int BarCount() const { return chart_.BarCount(); }
  QString BarLabel(int i) const { return chart_.Bar(i).label; }
  double BarValue(int i) const { return chart_.Bar(i).value; }
  QColor BarFill(int i) const { return chart_.Bar(i).fill; }
  // The drawing the widget shows: for pictures and printed pages.
  const BarChartPainter &Drawing() const { return chart_; }
  // The bar's rectangle in the viewport, clipped to the plot; empty when it
  // is scrolled out of view.
  QRect BarRect(int i) const;
  // The bar under a point of the viewport, or -1.
  int BarAt(const QPoint &viewportPos) const;
  // The tip of the bar under a point of the viewport; empty when none.
  QString TipAt(const QPoint &viewportPos) const;
  // Scrolls so that bar i is in view.
  void ScrollToBar(int i);

  // The width of all bars and the axis: what an image of the whole chart
  // needs.
  int ContentWidth() const;
  // Paints the chart into rect as it looks scrolled by scrollX pixels; for
  // the screen and for saving images.
  void Paint(QPainter &painter, const QRect &rect, int scrollX) const;
  // The chart as shown now.
  void Paint(QPainter &painter, const QRect &rect) const;

  // ChartAccessibleItems
  int AccessibleItemCount() const override { return BarCount(); }
  QString AccessibleItemName(int i) const override { return BarLabel(i); }
  QString AccessibleItemValue(int i) const override;
  QRect AccessibleItemRect(int i) const override;
  ChartAccessibleCache &AccessibleCache() const override { return accessible_; }

protected:
  void paintEvent(QPaintEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void focusInEvent(QFocusEvent *event) override;
  void focusOutEvent(QFocusEvent *event) override;
  bool viewportEvent(QEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void scrollContentsBy(int dx, int dy) override;

private:
  void UpdateScrollRange();

  BarChartPainter chart_;
  int hovered_ = -1;
  mutable ChartAccessibleCache accessible_;
};
