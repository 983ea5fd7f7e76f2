// PieChartWidget: the pie chart widget of the proportion pie chart page. Each
// slice shows its share of the total of the slices accepted; a legend
// beside the pie lists every slice with its colour, name and share. Resting
// the pointer on a slice or its legend entry shows the slice's tip, and each
// slice is a child of the chart in the accessibility tree.
#pragma once

#include "analysis/ui/chart_accessible.h"
#include "print/pie_chart_painter.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QWidget>

class QPainter;

class PieChartWidget : public QWidget, public ChartAccessibleItems {
  Q_OBJECT

public:
  explicit PieChartWidget(const QString &caption, QWidget *parent = nullptr);
  ~PieChartWidget() override;

  QString Caption() const { return chart_.Caption(); }
  void SetBackgroundColour(const QColor &colour);
  // What the chart says where the pie would be while it has no slice (what
  // to do to see one); empty for nothing. Repaints.
  void SetEmptyText(const QString &text);
  QString EmptyText() const { return chart_.EmptyText(); }

  // Adds a slice; a slice whose name is empty or already present, or whose
  // value is not above 0, is ignored (false). Repaints.
  bool AddSlice(const QString &name, const QString &tip, quint32 argb,
                double value);
  // Removes the slice at index, if any, and repaints.
  void RemoveSlice(int index);
  int SliceCount() const { return chart_.SliceCount(); }
  QString SliceName(int i) const { return chart_.Slice(i).name; }
  double SliceValue(int i) const { return chart_.Slice(i).value; }
  QColor SliceColour(int i) const { return chart_.Slice(i).colour; }
  // The sum of the values accepted.
  double Total() const { return chart_.Total(); }
  // The drawing the widget shows: for pictures and printed pages.
  const PieChartPainter &Drawing() const { return chart_; }

  // The slice whose wedge or legend entry holds a point of the widget, or -1.
  int SliceAt(const QPoint &pos) const;
  QString TipAt(const QPoint &pos) const;
  // A point inside the wedge of slice i, in widget coordinates.
  QPoint SliceCentre(int i) const;

  // Paints caption, pie and legend into rect; for the screen and for saving
  // images.
  void Paint(QPainter &painter, const QRect &rect) const;

  // ChartAccessibleItems
  int AccessibleItemCount() const override { return SliceCount(); }
  QString AccessibleItemName(int i) const override { return SliceName(i); }
  QString AccessibleItemValue(int i) const override;
  QRect AccessibleItemRect(int i) const override;
  ChartAccessibleCache &AccessibleCache() const override { return accessible_; }

protected:
  void paintEvent(QPaintEvent *event) override;
  bool event(QEvent *event) override;

private:
  void Changed();

  PieChartPainter chart_;
  mutable ChartAccessibleCache accessible_;
};
