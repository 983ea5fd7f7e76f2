// The document window of pane tests.
#include "support/pane_test_window.h"

#include "db/db_visiter_factory.h"
#include "support/template_copy.h"

PaneTestWindow::PaneTestWindow(const QString &name) {
  const QString path = CopyTemplate(dir_, name, QStringLiteral("pane"));
  valid_ = !path.isEmpty() && file_.OpenAccountFile(path);
  file_.AddListener(this);
}

PaneTestWindow::~PaneTestWindow() {
  file_.RemoveListener(this);
  file_.Close();
  CDBVisiterFactory::Instance().DestroyAll();
}

QList<unsigned> PaneTestWindow::TakeHints() {
  QList<unsigned> hints;
  hints.swap(hints_);
  return hints;
}

void PaneTestWindow::Notify(AccountFile &, unsigned hint) {
  hints_.append(hint);
}
