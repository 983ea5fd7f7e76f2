// The options sheet and the reload after it.
#include "app/options/setup_prop_sheet.h"

#include "app/options/configure_page.h"
#include "app/options/general_page.h"
#include "app/options/view_page.h"
#include "document/account_file.h"
#include "records/command_history.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

CSetUpPropSheet::CSetUpPropSheet(AccountFile &file,
                                 const StartupSettings &startup,
                                 QWidget *parent)
    : QDialog(parent), file_(file) {
  setWindowTitle(QStringLiteral("选项..."));
  setSizeGripEnabled(true);
  tabs_ = new QTabWidget(this);
  general_ = new CDGeneralPage(file, startup, tabs_);
  configure_ = new CDConfigurePage(file, tabs_);
  views_ = new CViewPage(file, tabs_);
  tabs_->addTab(general_, QStringLiteral("常规"));
  tabs_->addTab(configure_, QStringLiteral("配置"));
  tabs_->addTab(views_, QStringLiteral("视图"));
  shown_ = {true, false, false};
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
    if (index >= 0 && index < shown_.size())
      shown_[index] = true;
  });

  auto *buttons = new QDialogButtonBox(this);
  QPushButton *ok =
      buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  QPushButton *apply =
      buttons->addButton(QStringLiteral("应用"), QDialogButtonBox::ApplyRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &CSetUpPropSheet::OnOk);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(apply, &QPushButton::clicked, this, [this] { ApplyPages(); });

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addWidget(buttons);
  resize(980, 580);
}

bool CSetUpPropSheet::ApplyPages() {
  const QList<CPropertyPageBase *> pages = {general_, configure_, views_};
  // A file opened for viewing takes no change; the sheet stays open with
  // what was typed.
  const bool changed = std::any_of(pages.begin(), pages.end(),
                                   [](const CPropertyPageBase *page) { return page->Modified(); });
  if (changed && file_.RefuseChange())
    return false;
  for (int i = 0; i < pages.size(); ++i) {
    if (!shown_[i])
      continue;
    if (!pages[i]->Apply()) {
      tabs_->setCurrentIndex(i);
      return false;
    }
  }
  return true;
}

bool CSetUpPropSheet::AnyApplied() const {
  return general_->Applied() || configure_->Applied() || views_->Applied();
}

void CSetUpPropSheet::OnOk() {
  if (ApplyPages())
    accept();
}

void ReloadAfterOptions(AccountFile &file) {
  file.LoadAccountFile();
  file.History().Clear();
  file.Notify(HINT_ALL);
}
