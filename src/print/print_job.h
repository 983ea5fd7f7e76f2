// What a page prints: anything that lays itself out on pages of a given
// size and paints any one of them on demand. The records page, the chart
// pages and the yearly statement are print jobs; the print dialog, the
// preview and the PDF writer page through them the same way (print_pages.h),
// so that the preview shows exactly what is printed.
//
// Print jobs work in print units of 1/96 inch, the screen's pixel at its
// usual density: the grid's column widths and the charts' layouts keep
// their sizes on paper, and fonts are given in those units (pixel sizes).
#pragma once

#include <QRectF>
#include <QSizeF>

class QPainter;

inline constexpr double kPrintUnitsPerInch = 96;

class PrintJob {
public:
  virtual ~PrintJob() = default;
  // Lays the pages out for a body of that size; the number of pages (at
  // least 1: an empty job prints one page that says so).
  virtual int Paginate(const QSizeF &body) = 0;
  // Paints page index (from 0) of the last layout into body.
  virtual void PaintPage(QPainter &painter, const QRectF &body,
                         int index) const = 0;
  // The width the job's columns take at their own sizes, in print units;
  // 0 for jobs that take any width (charts, the statement).
  virtual double NaturalWidth() const { return 0; }
};
