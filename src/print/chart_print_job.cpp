// The charts on printed pages; see chart_print_job.h.
#include "print/chart_print_job.h"

#include "print/print_font.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The plot width of a chart in a body of that width.
int PlotWidth(double width) {
  return int(width) - BarChartPainter::kAxisWidth - BarChartPainter::kRightMargin -
         2 * BarChartPainter::kPadding;
}

} // namespace

double ChartScopeLineHeight() {
  return std::ceil(QFontMetricsF(PrintFont(12)).height() + 8);
}

QRect PaintChartScope(QPainter &painter, const QRectF &body,
                      const QString &scope) {
  const double line = ChartScopeLineHeight();
  painter.save();
  painter.setFont(PrintFont(12));
  painter.setPen(Qt::black);
  const QRectF box(body.left(), body.top(), body.width(), line);
  painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                   QFontMetricsF(painter.font())
                       .elidedText(scope, Qt::ElideRight, box.width()));
  painter.restore();
  return QRectF(body.left(), body.top() + line, body.width(),
                body.height() - line)
      .toAlignedRect()
      .intersected(body.toAlignedRect());
}

BarChartPrintJob::BarChartPrintJob(const BarChartPainter &chart,
                                   const QString &scope)
    : chart_(chart), scope_(scope) {}

int BarChartPrintJob::Paginate(const QSizeF &body) {
  barsPerPage_ = std::max(1, PlotWidth(body.width()) / BarChartPainter::kBarPitch);
  const int bars = std::max(1, chart_.BarCount());
  return (bars + barsPerPage_ - 1) / barsPerPage_;
}

void BarChartPrintJob::PaintPage(QPainter &painter, const QRectF &body,
                                 int index) const {
  const QRect rect = PaintChartScope(painter, body, scope_);
  const int scrollX = index * barsPerPage_ * BarChartPainter::kBarPitch;
  // The bars of the next page stay off this one.
  const int barsHere =
      std::min(barsPerPage_, std::max(0, chart_.BarCount() - index * barsPerPage_));
  const int width = std::min(rect.width(), BarChartPainter::kAxisWidth +
                                               BarChartPainter::kRightMargin +
                                               2 * BarChartPainter::kPadding +
                                               barsHere * BarChartPainter::kBarPitch);
  const QRect chartRect(rect.topLeft(),
                        QSize(chart_.BarCount() > barsPerPage_ ? width : rect.width(),
                              rect.height()));
  painter.save();
  painter.setClipRect(chartRect);
  chart_.Paint(painter, chartRect, scrollX, PrintFont(12));
  painter.restore();
}

PieChartPrintJob::PieChartPrintJob(const PieChartPainter &chart,
                                   const QString &scope)
    : chart_(chart), scope_(scope) {}

int PieChartPrintJob::Paginate(const QSizeF &) { return 1; }

void PieChartPrintJob::PaintPage(QPainter &painter, const QRectF &body,
                                 int) const {
  const QRect rect = PaintChartScope(painter, body, scope_);
  chart_.Paint(painter, rect, PrintFont(12));
}
