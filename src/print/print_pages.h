// Paging a print job onto a device: the printable area of the device's page
// layout in print units, one framed page painted on demand (for the
// preview), or every page of a range onto a printer or PDF writer.
#pragma once

#include <QRectF>

class PrintJob;
class QPageLayout;
class QPagedPaintDevice;
class QPainter;
struct PageFrame;

// The printable area of a page of that layout, in print units, from (0, 0).
QRectF PrintableArea(const QPageLayout &layout);

// The layout the job is printed on: a portrait layout turned to landscape
// when the job is wider than its body (a table that would be shrunk or
// split otherwise); otherwise layout as it is.
QPageLayout FittingLayout(const PrintJob &job, const QPageLayout &layout);

// Paints page index of count, frame and body, into area (print units) with
// painter already scaled to print units.
void PaintFramedPage(QPainter &painter, const PrintJob &job,
                     const PageFrame &frame, const QRectF &area, int index,
                     int count);

// Lays the job out for the device's page layout (turned when that makes
// the job fit, see FittingLayout; the device's own layout is put back
// afterwards) and paints pages first to last (from 0; last -1 for the last page) onto it. False when the device
// cannot be painted on (a file that cannot be written).
bool PrintPages(PrintJob &job, const PageFrame &frame,
                QPagedPaintDevice &device, int first = 0, int last = -1);
