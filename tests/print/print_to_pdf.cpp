// Printing a job onto an A4 portrait PDF; see print_to_pdf.h.
#include "print_to_pdf.h"

#include "print/page_frame.h"
#include "print/pdf_text_layer.h"
#include "print/print_pages.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

bool PrintToPdf(PrintJob &job, const PageFrame &frame, const QString &path) {
  QPdfWriter writer(path);
  writer.setResolution(600);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
  if (!PrintPages(job, frame, writer))
    return false;
  return MendPdfTextLayer(path);
}
