// The monthly bar chart as a drawing: its bars, their layout and their
// painting onto any QPainter. The chart page's widget shows it on the
// screen; pictures, printed pages and the yearly statement paint it the
// same way. Bars stand at a fixed pitch with their labels below them; a
// rectangle narrower than the bars shows those from scrollX on.
#pragma once

#include <QColor>
#include <QList>
#include <QRect>
#include <QString>

class QFont;
class QPainter;

struct ChartBar {
  QString label;
  QColor fill;
  QColor second; // frames the bar under the pointer
  double value = 0;
};

class BarChartPainter {
public:
  // Horizontal layout of the bars, in pixels.
  static constexpr int kBarPitch = 56;
  static constexpr int kBarWidth = 34;
  static constexpr int kAxisWidth = 80;
  static constexpr int kTitleHeight = 44;
  static constexpr int kLabelHeight = 30;
  // Space before the first bar and after the last, within the plot.
  static constexpr int kPadding = 8;
  static constexpr int kRightMargin = 12;

  void SetTitle(const QString &title) { title_ = title; }
  const QString &Title() const { return title_; }
  void SetBackgroundColour(const QColor &colour) { background_ = colour; }
  const QColor &BackgroundColour() const { return background_; }
  void SetTitleColour(const QColor &colour) { titleColour_ = colour; }

  void RemoveAllBars();
  void AddBar(const ChartBar &bar);
  int BarCount() const { return int(bars_.size()); }
  const ChartBar &Bar(int i) const { return bars_[i]; }
  double MaxValue() const { return max_; }

  // The width of all bars and the axis: what a picture of the whole chart
  // needs.
  int ContentWidth() const;
  // The width of the bars alone, with their padding.
  int BarsWidth() const { return 2 * kPadding + BarCount() * kBarPitch; }
  // The area of the bars within rect.
  static QRect PlotRect(const QRect &rect);
  // Bar i within rect scrolled by scrollX, not clipped to the plot.
  QRect BarRect(const QRect &rect, int scrollX, int i) const;
  // The bar at a point of rect scrolled by scrollX, or -1.
  int BarAt(const QRect &rect, int scrollX, const QPoint &pos) const;

  // Paints title, axis and the bars in view into rect with font as the
  // chart's base font; bar hovered gets its frame.
  void Paint(QPainter &painter, const QRect &rect, int scrollX,
             const QFont &font, int hovered = -1) const;

private:
  // The value range the axis shows, always including 0.
  struct Scale {
    double low = 0;
    double high = 1;
    double step = 1;
  };

  Scale ValueScale() const;
  QRect BarRectIn(const QRect &plot, const Scale &scale, int scrollX,
                  int i) const;
  void PaintAxis(QPainter &painter, const QRect &plot, const Scale &scale,
                 const QFont &font) const;
  void PaintBars(QPainter &painter, const QRect &rect, const QRect &plot,
                 const Scale &scale, int scrollX, const QFont &font,
                 int hovered) const;

  QString title_;
  QColor background_ = Qt::white;
  QColor titleColour_ = Qt::black;
  QList<ChartBar> bars_;
  double min_ = 0;
  double max_ = 0;
};
