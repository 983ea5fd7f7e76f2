// The proportion pie chart as a drawing: its slices, their layout and their
// painting onto any QPainter. The chart page's widget shows it on the
// screen; pictures, printed pages and the yearly statement paint it the
// same way. Each slice shows its share of the total of the slices
// accepted; a legend beside the pie lists every slice with its colour, name
// and share, as many as fit.
#pragma once

#include <QColor>
#include <QList>
#include <QRect>
#include <QString>

class QFont;
class QPainter;

struct ChartSlice {
  QString name;
  QString tip;
  QColor colour;
  double value = 0;
};

class PieChartPainter {
public:
  explicit PieChartPainter(const QString &caption = QString())
      : caption_(caption) {}

  const QString &Caption() const { return caption_; }
  void SetCaption(const QString &caption) { caption_ = caption; }
  void SetBackgroundColour(const QColor &colour) { background_ = colour; }
  void SetTextColour(const QColor &colour) { text_ = colour; }
  // What the chart says where the pie would be while it has no slice.
  void SetEmptyText(const QString &text) { emptyText_ = text; }
  const QString &EmptyText() const { return emptyText_; }

  // Adds a slice; a slice whose name is empty or already present, or whose
  // value is not above 0, is ignored (false).
  bool AddSlice(const ChartSlice &slice);
  void RemoveSlice(int index);
  int SliceCount() const { return int(slices_.size()); }
  const ChartSlice &Slice(int i) const { return slices_[i]; }
  // The sum of the values accepted.
  double Total() const { return total_; }

  // The slice whose wedge or legend entry holds a point of rect, or -1.
  int SliceAt(const QRect &rect, const QPoint &pos) const;
  // A point inside the wedge of slice i.
  QPoint SliceCentre(const QRect &rect, int i) const;
  // How many legend rows rect has room for.
  int LegendRows(const QRect &rect) const { return LayOut(rect).rows; }

  // Paints caption, pie and legend into rect with font as the base font.
  void Paint(QPainter &painter, const QRect &rect, const QFont &font) const;

private:
  struct Layout {
    QRect caption;
    QRect pie; // the square the circle fills
    QRect legend;
    int rowHeight = 22;
    int rows = 0; // legend rows that fit
  };

  Layout LayOut(const QRect &rect) const;
  // Start and span of slice i in degrees, clockwise from twelve o'clock.
  void SliceAngles(int i, double &start, double &span) const;
  QRect LegendRow(const Layout &layout, int i) const;
  void PaintShares(QPainter &painter, const QRectF &pie) const;
  void PaintLegend(QPainter &painter, const Layout &layout) const;

  QString caption_;
  QColor background_ = Qt::white;
  QColor text_ = Qt::black;
  QList<ChartSlice> slices_;
  QString emptyText_;
  QList<double> starts_; // the sum of the values before each slice
  double total_ = 0;
};
