// The charts on printed pages, as vector drawing by the charts' own
// painting: a line with the scope, then the chart fitted to the rest of the
// page. The bar chart keeps its bars at their legible pitch and goes on
// over as many pages as its bars need, each page with the axis; the pie
// chart takes one page, with as much legend as fits.
#pragma once

#include "print/bar_chart_painter.h"
#include "print/pie_chart_painter.h"
#include "print/print_job.h"

#include <QString>

class BarChartPrintJob : public PrintJob {
public:
  // A copy of the chart is kept: the page may change while a preview is open.
  BarChartPrintJob(const BarChartPainter &chart, const QString &scope);

  int Paginate(const QSizeF &body) override;
  void PaintPage(QPainter &painter, const QRectF &body,
                 int index) const override;
  // Bars on each page of the last layout.
  int BarsPerPage() const { return barsPerPage_; }

private:
  BarChartPainter chart_;
  QString scope_;
  int barsPerPage_ = 1;
};

class PieChartPrintJob : public PrintJob {
public:
  PieChartPrintJob(const PieChartPainter &chart, const QString &scope);

  int Paginate(const QSizeF &body) override;
  void PaintPage(QPainter &painter, const QRectF &body,
                 int index) const override;

private:
  PieChartPainter chart_;
  QString scope_;
};

// The height of the scope line above a chart, in print units.
double ChartScopeLineHeight();
// Paints the scope line at the top of body; the rest of body as a whole
// rectangle in print units.
QRect PaintChartScope(QPainter &painter, const QRectF &body,
                      const QString &scope);
