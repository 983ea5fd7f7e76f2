// Paging a print job onto a device; see print_pages.h.
#include "print/print_pages.h"

#include "print/page_frame.h"
#include "print/print_job.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

QRectF PrintableArea(const QPageLayout &layout) {
  const QRectF inches = layout.paintRect(QPageLayout::Inch);
  return QRectF(0, 0, inches.width() * kPrintUnitsPerInch,
                inches.height() * kPrintUnitsPerInch);
}

QPageLayout FittingLayout(const PrintJob &job, const QPageLayout &layout) {
  if (layout.orientation() != QPageLayout::Portrait ||
      job.NaturalWidth() <= PageFrame::BodyRect(PrintableArea(layout)).width())
    return layout;
  QPageLayout turned = layout;
  turned.setOrientation(QPageLayout::Landscape);
  return turned;
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

namespace {

// Sets a layout on a device while it prints and puts the old one back.
class ScopedPageLayout {
public:
  ScopedPageLayout(QPagedPaintDevice &device, const QPageLayout &layout)
      : device_(device), saved_(device.pageLayout()) {
    device_.setPageLayout(layout);
  }
  ~ScopedPageLayout() { device_.setPageLayout(saved_); }

private:
  QPagedPaintDevice &device_;
  const QPageLayout saved_;
};

} // namespace

bool PrintPages(PrintJob &job, const PageFrame &frame,
                QPagedPaintDevice &device, int first, int last) {
  const ScopedPageLayout fitted(device, FittingLayout(job, device.pageLayout()));
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
