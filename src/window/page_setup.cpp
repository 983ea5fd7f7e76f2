// The page set-up dialog; see page_setup.h.
#include "window/page_setup.h"

#include "window/dialog_runner.h"

#include <QPageSetupDialog>

bool RunPageSetup(QWidget *parent, QPrinter &printer) {
  QPageSetupDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("打印设置"));
  return CurrentDialogRunner().Run(dialog);
}
