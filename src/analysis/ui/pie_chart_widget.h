// PieChartWidget: the pie chart widget of the proportion pie chart page. Each
// slice shows its share of the total of the slices accepted; a legend
// beside the pie lists every slice with its colour, name and share. Resting
// the pointer on a slice or its legend entry shows the slice's tip, and each
// slice is a child of the chart in the accessibility tree.
#pragma once

#include "analysis/ui/chart_accessible.h"

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

  QString Caption() const { return caption_; }
  void SetBackgroundColour(const QColor &colour);
  // What the chart says where the pie would be while it has no slice (what
  // to do to see one); empty for nothing. Repaints.
  void SetEmptyText(const QString &text);
  QString EmptyText() const { return emptyText_; }

  // Adds a slice; a slice whose name is empty or already present, or whose
  // value is not above 0, is ignored (false). Repaints.
  bool AddSlice(const QString &name, const QString &tip, quint32 argb,
                double value);
  // Removes the slice at index, if any, and repaints.
  void RemoveSlice(int index);
  int SliceCount() const { return int(slices_.size()); }
  QString SliceName(int i) const { return slices_[i].name; }
  double SliceValue(int i) const { return slices_[i].value; }
  QColor SliceColour(int i) const { return slices_[i].colour; }
  // The sum of the values accepted.
  double Total() const { return total_; }

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
  struct Slice {
    QString name;
    QString tip;
    QColor colour;
    double value = 0;
  };
  struct Layout {
    QRect caption;
    QRect pie;     // the square the circle fills
    QRect legend;
    int rowHeight = 22;
    int rows = 0;  // legend rows that fit
  };

  Layout LayOut(const QRect &rect) const;
  // Start and span of slice i in degrees, clockwise from twelve o'clock.
  void SliceAngles(int i, double &start, double &span) const;
  QRect LegendRow(const Layout &layout, int i) const;
  void Changed();

  QString caption_;
  QColor background_;
  QList<Slice> slices_;
  QString emptyText_;
  QList<double> starts_; // the sum of the values before each slice
  double total_ = 0;
  mutable ChartAccessibleCache accessible_;
};
