// The print commands of the 文件 menu on the active page: "打印设置"
// (QPageSetupDialog), "打印" (QPrintDialog; its PDF output prints to a file
// without a printer) and "打印预览" (PrintPreviewDialog). The printer is the
// main window's, so that the page set-up holds for the next print. A page
// that cannot print leaves every command alone.
#pragma once

#include "window/page_setup.h"

class CSorvanBaseView;
class QPrinter;

// "仅打印选中的记录": the print dialog's choice of the selection.
inline constexpr const char *kPrintSelectionText = "仅打印选中的记录";

// Asks with the print dialog, then prints the page; false when cancelled
// or failed (failures are told through the prompt).
bool RunPrint(CSorvanBaseView &page, QPrinter &printer);
// Shows the page's print preview; its 打印… button closes it and runs
// RunPrint.
void RunPrintPreview(CSorvanBaseView &page, QPrinter &printer);
// Prints what the page shows (the selected records alone when
// selectedOnly) onto printer as it is set up, without asking.
bool PrintPageTo(const CSorvanBaseView &page, QPrinter &printer,
                 bool selectedOnly);
