// The start-up dialog's window and its three ways to a file.
#include "app/startup_wizard.h"

#include "window/app_icons.h"
#include "window/dialog_runner.h"
#include "app/program_paths.h"
#include "app/startup_settings.h"
#include "base/prompt.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

CStartupWizard::CStartupWizard(const QString &path, RecentFileList &recent,
                               NewFileMaker makeNewFile, QWidget *parent)
    : QDialog(parent), recent_(recent), makeNewFile_(std::move(makeNewFile)),
      path_(path) {
  setWindowTitle(QStringLiteral("欢迎使用Sorvanel"));
  setSizeGripEnabled(true);

  auto *toolbar = new QToolBar(this);
  toolbar->setIconSize(QSize(32, 32));
  toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  QAction *create = toolbar->addAction(AppIcon(AppIconKind::New),
                                       QStringLiteral("创建新文档"));
  create->setToolTip(QStringLiteral("新建一个账簿文件"));
  create->setStatusTip(QStringLiteral("新建一个账簿文件"));
  connect(create, &QAction::triggered, this, &CStartupWizard::CreateNew);
  QAction *open = toolbar->addAction(AppIcon(AppIconKind::Open),
                                     QStringLiteral("打开现有文档"));
  open->setToolTip(QStringLiteral("打开一个账簿文件"));
  open->setStatusTip(QStringLiteral("打开一个账簿文件"));
  connect(open, &QAction::triggered, this, &CStartupWizard::OpenExisting);

  auto *group = new QGroupBox(QStringLiteral("最近打开的文件"), this);
  list_ = new QTreeWidget(group);
  list_->setColumnCount(1);
  list_->setHeaderLabels({QStringLiteral("文件路径")});
  list_->setRootIsDecorated(false);
  list_->setAccessibleName(QStringLiteral("文件路径"));
  list_->header()->setStretchLastSection(true);
  connect(list_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem *item) {
            if (item && !item->text(0).isEmpty())
              OpenSelected();
          });
  auto *groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(list_);

  openDirect_ = new QCheckBox(QStringLiteral("下次直接打开此文件"), this);
  auto *openButton = new QPushButton(QStringLiteral("打开"), this);
  openButton->setDefault(true);
  connect(openButton, &QPushButton::clicked, this,
          &CStartupWizard::OpenSelected);
  auto *quit = new QPushButton(QStringLiteral("退出"), this);
  connect(quit, &QPushButton::clicked, this, &QDialog::reject);

  auto *bottom = new QHBoxLayout;
  bottom->addWidget(openDirect_);
  bottom->addStretch(1);
  bottom->addWidget(openButton);
  bottom->addWidget(quit);

  auto *layout = new QVBoxLayout(this);
  layout->setMenuBar(toolbar);
  layout->addWidget(group, 1);
  layout->addLayout(bottom);
  resize(520, 340);

  FillList(recent_.Entries());
}

int CStartupWizard::OpenDirect() const {
  return openDirect_->isChecked() ? 1 : 0;
}

void CStartupWizard::FillList(const QStringList &recentEntries) {
  QStringList entries = recentEntries;
  while (entries.size() < RecentFileList::kSize)
    entries.append(QString());
  if (!path_.isEmpty() && QFileInfo(path_).isFile()) {
    const QString canonical = CanonicalPath(path_);
    for (qsizetype i = entries.size() - 1; i >= 0; --i)
      if (!entries[i].isEmpty() && CanonicalPath(entries[i]) == canonical)
        entries.removeAt(i);
    entries.prepend(path_);
  }
  list_->clear();
  for (const QString &entry : entries) {
    auto *item = new QTreeWidgetItem(list_, {entry});
    item->setToolTip(0, entry);
  }
  // An empty row is never offered as the choice.
  if (list_->topLevelItemCount() > 0 && !list_->topLevelItem(0)->text(0).isEmpty())
    list_->setCurrentItem(list_->topLevelItem(0));
}

void CStartupWizard::OpenSelected() {
  QTreeWidgetItem *item = list_->currentItem();
  const QString path = item ? item->text(0) : QString();
  // No recent file chosen: 打开 opens the file the user picks.
  if (path.isEmpty()) {
    OpenExisting();
    return;
  }
  if (QFileInfo(path).isFile()) {
    path_ = path;
    accept();
    return;
  }
  delete item;
  recent_.Remove(path);
  path_.clear();
  ShowMessage(QStringLiteral("文件不存在\r\n请重新选择！"));
  list_->setFocus();
}

// The dialog stays where it is while the wizard or the file chooser runs
// over it: hiding a dialog would end its modal run.
void CStartupWizard::CreateNew() {
  const QString made = makeNewFile_ ? makeNewFile_(FolderOfPath(path_))
                                    : QString();
  if (!made.isEmpty()) {
    path_ = made;
    accept();
  }
}

void CStartupWizard::OpenExisting() {
  const QString chosen =
      CurrentDialogRunner().ChooseExistingFile(this, FolderOfPath(path_));
  if (!chosen.isEmpty()) {
    path_ = chosen;
    accept();
  }
}
