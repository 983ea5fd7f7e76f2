// The bar chart widget: layout, painting, scrolling, tips.
#include "analysis/ui/bar_chart_widget.h"

#include "analysis/chart_texts.h"
#include "formula/format_decimal.h"
#include "widgets/focus_frame_style.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

// Space before the first bar and after the last, within the plot.
constexpr int kPadding = 8;
constexpr int kRightMargin = 12;
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

BarChartWidget::BarChartWidget(QWidget *parent) : QAbstractScrollArea(parent) {
  InstallChartAccessibility();
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAutoFillBackground(false);
  background_ = palette().color(QPalette::Window);
  titleColour_ = palette().color(QPalette::WindowText);
}

BarChartWidget::~BarChartWidget() = default;

void BarChartWidget::SetTitle(const QString &title) {
  title_ = title;
  setAccessibleName(title);
  viewport()->update();
}

void BarChartWidget::SetBackgroundColour(const QColor &colour) {
  background_ = colour;
  viewport()->update();
}

void BarChartWidget::SetTitleColour(const QColor &colour) {
  titleColour_ = colour;
  viewport()->update();
}

void BarChartWidget::RemoveAllBars() {
  bars_.clear();
  min_ = max_ = 0;
  hovered_ = -1;
  horizontalScrollBar()->setRange(0, 0);
  horizontalScrollBar()->setValue(0);
  NotifyChartItemsChanged(this, accessible_);
}

void BarChartWidget::AddBar(const QString &label, const QColor &fill,
                            const QColor &second, double value) {
  if (bars_.isEmpty()) {
    min_ = max_ = value;
  } else {
    min_ = std::min(min_, value);
    max_ = std::max(max_, value);
  }
  bars_.append(Bar{label, fill, second, value});
}

void BarChartWidget::Redraw() {
  UpdateScrollRange();
  NotifyChartItemsChanged(this, accessible_);
  viewport()->update();
}

int BarChartWidget::ContentWidth() const {
  return kAxisWidth + kRightMargin + 2 * kPadding + BarCount() * kBarPitch;
}

void BarChartWidget::UpdateScrollRange() {
  const int plotWidth = PlotRect(viewport()->rect()).width();
  const int bars = 2 * kPadding + BarCount() * kBarPitch;
  QScrollBar *bar = horizontalScrollBar();
  bar->setRange(0, std::max(0, bars - plotWidth));
  bar->setPageStep(std::max(1, plotWidth));
  bar->setSingleStep(kBarPitch);
}

BarChartWidget::Scale BarChartWidget::ValueScale() const {
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

QRect BarChartWidget::PlotRect(const QRect &rect) const {
  return QRect(QPoint(rect.left() + kAxisWidth, rect.top() + kTitleHeight),
               QPoint(rect.right() - kRightMargin, rect.bottom() - kLabelHeight));
}

QRect BarChartWidget::BarRectIn(const QRect &plot, const Scale &scale,
                                int scrollX, int i) const {
  const int x = plot.left() + kPadding + i * kBarPitch +
                (kBarPitch - kBarWidth) / 2 - scrollX;
  const int zero = ValueY(plot, scale.low, scale.high, 0);
  const int top = ValueY(plot, scale.low, scale.high, bars_[i].value);
  const int y1 = std::min(zero, top);
  const int y2 = std::max(zero, top);
  return QRect(x, y1, kBarWidth, std::max(1, y2 - y1));
}

QRect BarChartWidget::BarRect(int i) const {
  if (i < 0 || i >= BarCount())
    return QRect();
  const QRect plot = PlotRect(viewport()->rect());
  const QRect rect =
      BarRectIn(plot, ValueScale(), horizontalScrollBar()->value(), i);
  return rect.intersected(plot.adjusted(0, 0, 1, 1));
}

int BarChartWidget::BarAt(const QPoint &pos) const {
  const QRect plot = PlotRect(viewport()->rect());
  if (pos.x() < plot.left() || pos.x() > plot.right() || pos.y() < plot.top() ||
      pos.y() > plot.bottom() + kLabelHeight)
    return -1;
  const int x = pos.x() - plot.left() - kPadding + horizontalScrollBar()->value();
  if (x < 0)
    return -1;
  const int i = x / kBarPitch;
  const int within = x % kBarPitch - (kBarPitch - kBarWidth) / 2;
  if (i >= BarCount() || within < 0 || within >= kBarWidth)
    return -1;
  return i;
}

QString BarChartWidget::TipAt(const QPoint &pos) const {
  const int i = BarAt(pos);
  if (i < 0)
    return QString();
  return BarTipText(bars_[i].label, bars_[i].value, max_);
}

void BarChartWidget::ScrollToBar(int i) {
  if (i < 0 || i >= BarCount())
    return;
  const int plotWidth = PlotRect(viewport()->rect()).width();
  const int left = kPadding + i * kBarPitch;
  QScrollBar *bar = horizontalScrollBar();
  if (left < bar->value())
    bar->setValue(left - kPadding);
  else if (left + kBarPitch > bar->value() + plotWidth)
    bar->setValue(left + kBarPitch + kPadding - plotWidth);
}

void BarChartWidget::Paint(QPainter &painter, const QRect &rect) const {
  Paint(painter, rect, horizontalScrollBar()->value());
}

void BarChartWidget::Paint(QPainter &painter, const QRect &rect,
                           int scrollX) const {
  painter.save();
  painter.fillRect(rect, background_);
  QFont titleFont = font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
  titleFont.setBold(true);
  painter.setFont(titleFont);
  painter.setPen(titleColour_);
  painter.drawText(QRect(rect.left(), rect.top(), rect.width(), kTitleHeight),
                   Qt::AlignCenter, title_);
  if (!bars_.isEmpty()) {
    const Scale scale = ValueScale();
    const QRect plot = PlotRect(rect);
    PaintAxis(painter, plot, scale);
    PaintBars(painter, rect, plot, scale, scrollX);
  }
  painter.restore();
}

void BarChartWidget::PaintAxis(QPainter &painter, const QRect &plot,
                               const Scale &scale) const {
  painter.setFont(font());
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

void BarChartWidget::PaintBars(QPainter &painter, const QRect &rect,
                               const QRect &plot, const Scale &scale,
                               int scrollX) const {
  painter.setClipRect(QRect(plot.left() + 1, rect.top(), plot.width(),
                            rect.height()));
  QFont labelFont = font();
  labelFont.setPointSizeF(labelFont.pointSizeF() * 0.9);
  painter.setFont(labelFont);
  const int first = std::max(0, (scrollX - kPadding) / kBarPitch);
  const int last = std::min(BarCount() - 1,
                            (scrollX + plot.width()) / kBarPitch + 1);
  for (int i = first; i <= last; ++i) {
    const Bar &bar = bars_[i];
    const QRect box = BarRectIn(plot, scale, scrollX, i);
    painter.fillRect(box, bar.fill);
    painter.setPen(QPen(bar.fill.darker(140), 1));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    if (i == hovered_) {
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

QString BarChartWidget::AccessibleItemValue(int i) const {
  return FormatDecimal(bars_[i].value, 4);
}

QRect BarChartWidget::AccessibleItemRect(int i) const {
  const QRect rect = BarRect(i);
  return rect.isEmpty() ? QRect() : rect.translated(viewport()->pos());
}

void BarChartWidget::paintEvent(QPaintEvent *) {
  QPainter painter(viewport());
  Paint(painter, viewport()->rect());
  // The chart scrolls by keys: show that it has them. Only on the screen,
  // never in a saved picture; in the light colour on a dark background.
  if (hasFocus())
    DrawFocusFrame(painter, viewport()->rect(), palette(),
                   background_.lightness() < 128);
}

void BarChartWidget::focusInEvent(QFocusEvent *event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void BarChartWidget::focusOutEvent(QFocusEvent *event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

void BarChartWidget::resizeEvent(QResizeEvent *event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRange();
}

bool BarChartWidget::viewportEvent(QEvent *event) {
  switch (event->type()) {
  case QEvent::ToolTip: {
    auto *help = static_cast<QHelpEvent *>(event);
    const QString tip = TipAt(help->pos());
    if (tip.isEmpty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), tip, viewport(),
                         BarRect(BarAt(help->pos())));
    }
    return true;
  }
  case QEvent::Leave:
    if (hovered_ >= 0) {
      hovered_ = -1;
      viewport()->update();
    }
    break;
  default:
    break;
  }
  return QAbstractScrollArea::viewportEvent(event);
}

void BarChartWidget::mouseMoveEvent(QMouseEvent *event) {
  const int bar = BarAt(event->position().toPoint());
  if (bar != hovered_) {
    hovered_ = bar;
    viewport()->update();
  }
  QAbstractScrollArea::mouseMoveEvent(event);
}

void BarChartWidget::scrollContentsBy(int, int) { viewport()->update(); }
