// The print commands of a page; see page_printing.h.
#include "window/page_printing.h"

#include "base/prompt.h"
#include "document/account_file.h"
#include "print/pdf_text_layer.h"
#include "print/print_job.h"
#include "print/print_pages.h"
#include "widgets/start_folder.h"
#include "window/dialog_runner.h"
#include "window/print_preview_dialog.h"
#include "window/print_scope.h"
#include "window/sorvan_base_view.h"

#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>

bool PrintPageTo(const CSorvanBaseView &page, QPrinter &printer,
                 bool selectedOnly) {
  std::unique_ptr<PrintJob> job = page.MakePrintJob(selectedOnly);
  if (!job || !page.Window())
    return false;
  // The dialog's page range counts from 1; 0 is every page.
  const int first = printer.printRange() == QPrinter::PageRange
                        ? printer.fromPage() - 1 : 0;
  const int last = printer.printRange() == QPrinter::PageRange &&
                           printer.toPage() > 0
                       ? printer.toPage() - 1 : -1;
  if (PrintPages(*job, WindowPageFrame(*page.Window()), printer, first, last)) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
      MendPdfTextLayer(printer.outputFileName());
    return true;
  }
  const QString target = printer.outputFileName();
  ShowMessage(target.isEmpty()
                  ? QStringLiteral("无法打印到打印机“%1”！").arg(printer.printerName())
                  : QStringLiteral("无法写入文件：%1").arg(target));
  return false;
}

namespace {

// A page with nothing to print says so instead of printing an empty page.
bool RefuseNothing(const CSorvanBaseView &page) {
  const QString nothing = page.NothingToPrint();
  if (nothing.isEmpty())
    return false;
  ShowMessage(nothing);
  return true;
}

} // namespace

bool RunPrint(CSorvanBaseView &page, QPrinter &printer) {
  if (!page.CanPrint() || RefuseNothing(page))
    return false;
  // Printing to a PDF file (no printer, or chosen before): the file goes
  // beside the account file, named after it, not into the program's folder.
  AccountFile *file = page.File();
  if (file && printer.outputFormat() == QPrinter::PdfFormat &&
      printer.outputFileName().isEmpty())
    printer.setOutputFileName(StartFolder(file->Path()) + QLatin1Char('/') +
                              QFileInfo(file->Path()).completeBaseName() +
                              QStringLiteral(".pdf"));
  QPrintDialog dialog(&printer, &page);
  dialog.setWindowTitle(QStringLiteral("打印"));
  const bool selection = page.HasPrintSelection();
  dialog.setOption(QAbstractPrintDialog::PrintSelection, selection);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  // Qt's own dialog names the choice plainly; say what it prints.
  if (auto *radio = dialog.findChild<QRadioButton *>(QStringLiteral("printSelection"))) {
    radio->setText(QString::fromUtf8(kPrintSelectionText));
    radio->setAccessibleName(QString::fromUtf8(kPrintSelectionText));
  }
  if (!CurrentDialogRunner().Run(dialog))
    return false;
  return PrintPageTo(page, printer,
                     selection && printer.printRange() == QPrinter::Selection);
}

void RunPrintPreview(CSorvanBaseView &page, QPrinter &printer) {
  if (RefuseNothing(page))
    return;
  std::unique_ptr<PrintJob> job = page.MakePrintJob(false);
  if (!job || !page.Window())
    return;
  PrintPreviewDialog dialog(*job, WindowPageFrame(*page.Window()), printer,
                            &page);
  if (CurrentDialogRunner().Run(dialog))
    RunPrint(page, printer);
}
