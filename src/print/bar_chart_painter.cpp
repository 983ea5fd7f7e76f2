// The bar chart's layout and painting; see bar_chart_painter.h.
#include "print/bar_chart_painter.h"

#include "formula/format_decimal.h"
#include "print/plated_title.h"
#include "print/scaled_font.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTargetTicks = 5;

// A step of 1, 2 or 5 times a power of ten near range / kTargetTicks.
double NiceStep(double range) {
  const double raw = range / kTargetTicks;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  const double normal = raw / magnitude;
  const double nice = normal <= 1 ? 1 : normal <= 2 ? 2 : normal <= 5 ? 5 : 10;
  return nice * magnitude;
}

int ValueY(const QRect &plot, double low, double high, double value) {
  const double share = (value - low) / (high - low);
  return plot.bottom() - int(std::lround(share * plot.height()));
}

} // namespace

void BarChartPainter::RemoveAllBars() {
  bars_.clear();
  min_ = max_ = 0;
}

void BarChartPainter::AddBar(const ChartBar &bar) {
  if (bars_.isEmpty()) {
    min_ = max_ = bar.value;
  } else {
    min_ = std::min(min_, bar.value);
    max_ = std::max(max_, bar.value);
  }
  bars_.append(bar);
}

int BarChartPainter::ContentWidth() const {
  return kAxisWidth + kRightMargin + BarsWidth();
}

BarChartPainter::Scale BarChartPainter::ValueScale() const {
  Scale scale;
  const double low = std::min(0.0, min_);
  const double high = std::max(0.0, max_);
  const double range = high - low;
  if (!(range > 0) || !std::isfinite(range)) {
    scale.low = low;
    scale.high = range > 0 ? high : low + 1;
    scale.step = (scale.high - scale.low) / kTargetTicks;
    return scale;
  }
  scale.step = NiceStep(range);
  scale.low = std::floor(low / scale.step) * scale.step;
  scale.high = std::ceil(high / scale.step) * scale.step;
  if (!std::isfinite(scale.low) || !std::isfinite(scale.high) ||
      scale.high <= scale.low) {
    scale.low = low;
    scale.high = high;
    scale.step = range / kTargetTicks;
  }
  return scale;
}

QRect BarChartPainter::PlotRect(const QRect &rect) {
  return QRect(QPoint(rect.left() + kAxisWidth, rect.top() + kTitleHeight),
               QPoint(rect.right() - kRightMargin, rect.bottom() - kLabelHeight));
}

QRect BarChartPainter::BarRectIn(const QRect &plot, const Scale &scale,
                                 int scrollX, int i) const {
  const int x = plot.left() + kPadding + i * kBarPitch +
                (kBarPitch - kBarWidth) / 2 - scrollX;
  const int zero = ValueY(plot, scale.low, scale.high, 0);
  const int top = ValueY(plot, scale.low, scale.high, bars_[i].value);
  const int y1 = std::min(zero, top);
  const int y2 = std::max(zero, top);
  return QRect(x, y1, kBarWidth, std::max(1, y2 - y1));
}

QRect BarChartPainter::BarRect(const QRect &rect, int scrollX, int i) const {
  if (i < 0 || i >= BarCount())
    return QRect();
  return BarRectIn(PlotRect(rect), ValueScale(), scrollX, i);
}

int BarChartPainter::BarAt(const QRect &rect, int scrollX,
                           const QPoint &pos) const {
  const QRect plot = PlotRect(rect);
  if (pos.x() < plot.left() || pos.x() > plot.right() || pos.y() < plot.top() ||
      pos.y() > plot.bottom() + kLabelHeight)
    return -1;
  const int x = pos.x() - plot.left() - kPadding + scrollX;
  if (x < 0)
    return -1;
  const int i = x / kBarPitch;
  const int within = x % kBarPitch - (kBarPitch - kBarWidth) / 2;
  if (i >= BarCount() || within < 0 || within >= kBarWidth)
    return -1;
  return i;
}

void BarChartPainter::Paint(QPainter &painter, const QRect &rect, int scrollX,
                            const QFont &font, int hovered) const {
  painter.save();
  painter.fillRect(rect, background_);
  QFont titleFont = ScaledFont(font, 1.5);
  titleFont.setBold(true);
  painter.setFont(titleFont);
  DrawPlatedTitle(painter, QRect(rect.left(), rect.top(), rect.width(), kTitleHeight),
                  title_, titleColour_);
  if (!bars_.isEmpty()) {
    const Scale scale = ValueScale();
    const QRect plot = PlotRect(rect);
    PaintAxis(painter, plot, scale, font);
    PaintBars(painter, rect, plot, scale, scrollX, font, hovered);
  }
  painter.restore();
}

void BarChartPainter::PaintAxis(QPainter &painter, const QRect &plot,
                                const Scale &scale, const QFont &font) const {
  painter.setFont(font);
  const QColor grid(255, 255, 255, 60);
  const QColor text(255, 255, 255);
  const int ticks = int(std::lround((scale.high - scale.low) / scale.step));
  for (int t = 0; t <= std::min(ticks, 20); ++t) {
    const double value = scale.low + t * scale.step;
    const int y = ValueY(plot, scale.low, scale.high, value);
    painter.setPen(grid);
    painter.drawLine(plot.left(), y, plot.right(), y);
    painter.setPen(text);
    const QRect label(plot.left() - kAxisWidth, y - 10, kAxisWidth - 6, 20);
    painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(
                         FormatDecimal(value, 2), Qt::ElideLeft, label.width()));
  }
  painter.setPen(QPen(text, 1));
  const int zero = ValueY(plot, scale.low, scale.high, 0);
  painter.drawLine(plot.left(), zero, plot.right(), zero);
  painter.drawLine(plot.left(), plot.top(), plot.left(), plot.bottom());
}

void BarChartPainter::PaintBars(QPainter &painter, const QRect &rect,
                                const QRect &plot, const Scale &scale,
                                int scrollX, const QFont &font,
                                int hovered) const {
  const QRect clip(plot.left() + 1, rect.top(), plot.width(), rect.height());
  painter.setClipRect(clip);
  painter.setFont(ScaledFont(font, 0.9));
  const int first = std::max(0, (scrollX - kPadding) / kBarPitch);
  const int last = std::min(BarCount() - 1,
                            (scrollX + plot.width()) / kBarPitch + 1);
  for (int i = first; i <= last; ++i) {
    const ChartBar &bar = bars_[i];
    const QRect box = BarRectIn(plot, scale, scrollX, i);
    // A bar out of view draws nothing, not even clipped text: a printed
    // page holds only the bars it shows.
    if (box.right() < clip.left() || box.left() > clip.right())
      continue;
    painter.fillRect(box, bar.fill);
    painter.setPen(QPen(bar.fill.darker(140), 1));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    if (i == hovered) {
      painter.setPen(QPen(bar.second, 2));
      painter.drawRect(box.adjusted(-1, -1, 0, 0));
    }
    const QRect label(box.center().x() - kBarPitch / 2, plot.bottom() + 4,
                      kBarPitch, kLabelHeight - 4);
    painter.setPen(Qt::white);
    painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop,
                     painter.fontMetrics().elidedText(bar.label, Qt::ElideRight,
                                                      kBarPitch - 2));
  }
  painter.setClipping(false);
}
