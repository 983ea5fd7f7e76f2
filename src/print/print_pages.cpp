// Paging a print job onto a device; see print_pages.h.
#include "print/print_pages.h"

#include "print/page_frame.h"
#include "print/print_job.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

QRectF PrintableArea(const QPageLayout &layout) {
  const QRectF inches = layout.paintRect(QPageLayout::Inch);
  return QRectF(0, 0, inches.width() * kPrintUnitsPerInch,
                inches.height() * kPrintUnitsPerInch);
}

void PaintFramedPage(QPainter &painter, const PrintJob &job,
                     const PageFrame &frame, const QRectF &area, int index,
                     int count) {
  frame.Paint(painter, area, index, count);
  const QRectF body = PageFrame::BodyRect(area);
  painter.save();
  painter.setClipRect(body);
  job.PaintPage(painter, body, index);
  painter.restore();
}

bool PrintPages(PrintJob &job, const PageFrame &frame,
                QPagedPaintDevice &device, int first, int last) {
  const QRectF area = PrintableArea(device.pageLayout());
  const int count = job.Paginate(PageFrame::BodyRect(area).size());
  first = std::clamp(first, 0, count - 1);
  last = last < 0 ? count - 1 : std::clamp(last, first, count - 1);
  QPainter painter;
  if (!painter.begin(&device))
    return false;
  painter.scale(device.logicalDpiX() / kPrintUnitsPerInch,
                device.logicalDpiY() / kPrintUnitsPerInch);
  for (int index = first; index <= last; ++index) {
    if (index > first)
      device.newPage();
    PaintFramedPage(painter, job, frame, area, index, count);
  }
  return painter.end();
}
