// The pie chart widget: slices, layout, painting, tips.
#include "analysis/ui/pie_chart_widget.h"

#include "analysis/chart_texts.h"
#include "formula/format_decimal.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

PieChartWidget::PieChartWidget(const QString &caption, QWidget *parent)
    : QWidget(parent), chart_(caption) {
  InstallChartAccessibility();
  setAccessibleName(caption);
  setMouseTracking(true);
  chart_.SetBackgroundColour(palette().color(QPalette::Button));
  chart_.SetTextColour(palette().color(QPalette::ButtonText));
}

PieChartWidget::~PieChartWidget() = default;

void PieChartWidget::SetBackgroundColour(const QColor &colour) {
  chart_.SetBackgroundColour(colour);
  update();
}

bool PieChartWidget::AddSlice(const QString &name, const QString &tip,
                              quint32 argb, double value) {
  if (!chart_.AddSlice(ChartSlice{name, tip, QColor::fromRgba(argb), value}))
    return false;
  Changed();
  return true;
}

void PieChartWidget::RemoveSlice(int index) {
  if (index < 0 || index >= SliceCount())
    return;
  chart_.RemoveSlice(index);
  Changed();
}

void PieChartWidget::Changed() {
  NotifyChartItemsChanged(this, accessible_);
  update();
}

int PieChartWidget::SliceAt(const QPoint &pos) const {
  return chart_.SliceAt(rect(), pos);
}

QPoint PieChartWidget::SliceCentre(int i) const {
  return chart_.SliceCentre(rect(), i);
}

void PieChartWidget::SetEmptyText(const QString &text) {
  chart_.SetEmptyText(text);
  update();
}

QString PieChartWidget::TipAt(const QPoint &pos) const {
  const int i = SliceAt(pos);
  return i < 0 ? QString() : chart_.Slice(i).tip;
}

void PieChartWidget::Paint(QPainter &painter, const QRect &rect) const {
  chart_.Paint(painter, rect, font());
}

QString PieChartWidget::AccessibleItemValue(int i) const {
  return FormatDecimal(SliceValue(i), 2) + QLatin1Char(' ') +
         PieShareText(SliceValue(i), Total());
}

QRect PieChartWidget::AccessibleItemRect(int i) const {
  const QPoint centre = SliceCentre(i);
  return QRect(centre - QPoint(6, 6), QSize(12, 12));
}

void PieChartWidget::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  Paint(painter, rect());
}

bool PieChartWidget::event(QEvent *event) {
  if (event->type() == QEvent::ToolTip) {
    auto *help = static_cast<QHelpEvent *>(event);
    const QString tip = TipAt(help->pos());
    if (tip.isEmpty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), tip, this);
    }
    return true;
  }
  return QWidget::event(event);
}
