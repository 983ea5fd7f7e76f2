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

BarChartWidget::BarChartWidget(QWidget *parent) : QAbstractScrollArea(parent) {
  InstallChartAccessibility();
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAutoFillBackground(false);
  chart_.SetBackgroundColour(palette().color(QPalette::Window));
  chart_.SetTitleColour(palette().color(QPalette::WindowText));
}

BarChartWidget::~BarChartWidget() = default;

void BarChartWidget::SetTitle(const QString &title) {
  chart_.SetTitle(title);
  setAccessibleName(title);
  viewport()->update();
}

void BarChartWidget::SetBackgroundColour(const QColor &colour) {
  chart_.SetBackgroundColour(colour);
  viewport()->update();
}

void BarChartWidget::SetTitleColour(const QColor &colour) {
  chart_.SetTitleColour(colour);
  viewport()->update();
}

void BarChartWidget::RemoveAllBars() {
  chart_.RemoveAllBars();
  hovered_ = -1;
  horizontalScrollBar()->setRange(0, 0);
  horizontalScrollBar()->setValue(0);
  NotifyChartItemsChanged(this, accessible_);
}

void BarChartWidget::AddBar(const QString &label, const QColor &fill,
                            const QColor &second, double value) {
  chart_.AddBar(ChartBar{label, fill, second, value});
}

void BarChartWidget::Redraw() {
  UpdateScrollRange();
  NotifyChartItemsChanged(this, accessible_);
  viewport()->update();
}

int BarChartWidget::ContentWidth() const { return chart_.ContentWidth(); }

void BarChartWidget::UpdateScrollRange() {
  const int plotWidth = BarChartPainter::PlotRect(viewport()->rect()).width();
  const int bars = chart_.BarsWidth();
  QScrollBar *bar = horizontalScrollBar();
  bar->setRange(0, std::max(0, bars - plotWidth));
  bar->setPageStep(std::max(1, plotWidth));
  bar->setSingleStep(kBarPitch);
}

QRect BarChartWidget::BarRect(int i) const {
  if (i < 0 || i >= BarCount())
    return QRect();
  const QRect plot = BarChartPainter::PlotRect(viewport()->rect());
  const QRect rect =
      chart_.BarRect(viewport()->rect(), horizontalScrollBar()->value(), i);
  return rect.intersected(plot.adjusted(0, 0, 1, 1));
}

int BarChartWidget::BarAt(const QPoint &pos) const {
  return chart_.BarAt(viewport()->rect(), horizontalScrollBar()->value(), pos);
}

QString BarChartWidget::TipAt(const QPoint &pos) const {
  const int i = BarAt(pos);
  if (i < 0)
    return QString();
  return BarTipText(chart_.Bar(i).label, chart_.Bar(i).value,
                    chart_.MaxValue());
}

void BarChartWidget::ScrollToBar(int i) {
  if (i < 0 || i >= BarCount())
    return;
  const int plotWidth = BarChartPainter::PlotRect(viewport()->rect()).width();
  constexpr int kPadding = BarChartPainter::kPadding;
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
  chart_.Paint(painter, rect, scrollX, font(), hovered_);
}

QString BarChartWidget::AccessibleItemValue(int i) const {
  return FormatDecimal(chart_.Bar(i).value, 4);
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
                   chart_.BackgroundColour().lightness() < 128);
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
