// The new-file wizard's window: the template list, name and folder fields,
// and the checks of "确定".
#include "app/new_file_wizard.h"

#include "app/new_file_rules.h"
#include "base/prompt.h"
#include "widgets/start_folder.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kPathRole = Qt::UserRole + 1;

} // namespace

CNewFileWizard::CNewFileWizard(const QString &fileName, const QString &folder,
                               const QString &systemFolder, QWidget *parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("欢迎使用Sorvanel新建账簿向导"));
  setSizeGripEnabled(true);

  auto *group = new QGroupBox(QStringLiteral("模板"), this);
  list_ = new QTreeWidget(group);
  list_->setColumnCount(1);
  list_->setHeaderLabels({QStringLiteral("选择账簿类型")});
  list_->setRootIsDecorated(false);
  list_->setAccessibleName(QStringLiteral("选择账簿类型"));
  list_->header()->setSectionsClickable(true);
  list_->header()->setSortIndicatorShown(true);
  list_->header()->setSortIndicator(0, order_);
  connect(list_->header(), &QHeaderView::sectionClicked, this,
          &CNewFileWizard::SortByHeader);
  connect(list_, &QTreeWidget::itemDoubleClicked, this,
          &CNewFileWizard::TryAccept);
  auto *groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(list_);

  auto *nameLabel = new QLabel(QStringLiteral("文件名："), this);
  nameEdit_ = new QLineEdit(fileName, this);
  nameEdit_->setAccessibleName(QStringLiteral("文件名："));
  nameLabel->setBuddy(nameEdit_);
  auto *folderLabel = new QLabel(QStringLiteral("位置："), this);
  folderEdit_ = new QLineEdit(folder, this);
  folderEdit_->setAccessibleName(QStringLiteral("位置："));
  folderLabel->setBuddy(folderEdit_);
  auto *browse = new QToolButton(this);
  browse->setText(QStringLiteral("..."));
  browse->setAccessibleName(QStringLiteral("选择文件存放位置"));
  browse->setToolTip(QStringLiteral("选择文件存放位置"));
  connect(browse, &QToolButton::clicked, this, &CNewFileWizard::BrowseFolder);

  auto *buttons = new QDialogButtonBox(this);
  QPushButton *ok =
      buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this,
          &CNewFileWizard::TryAccept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto *fields = new QGridLayout;
  fields->addWidget(nameLabel, 0, 0);
  fields->addWidget(nameEdit_, 0, 1, 1, 2);
  fields->addWidget(folderLabel, 1, 0);
  fields->addWidget(folderEdit_, 1, 1);
  fields->addWidget(browse, 1, 2);

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(group, 1);
  layout->addLayout(fields);
  layout->addWidget(buttons);
  resize(460, 400);

  FillTemplates(systemFolder);
}

void CNewFileWizard::FillTemplates(const QString &systemFolder) {
  for (const TemplateEntry &entry : ListTemplates(systemFolder)) {
    auto *item = new QTreeWidgetItem(list_, {entry.name});
    item->setData(0, kPathRole, entry.path);
    item->setToolTip(0, entry.path);
  }
  if (list_->topLevelItemCount() > 0)
    list_->setCurrentItem(list_->topLevelItem(0));
}

void CNewFileWizard::SortByHeader() {
  order_ = order_ == Qt::AscendingOrder ? Qt::DescendingOrder
                                        : Qt::AscendingOrder;
  list_->sortItems(0, order_);
  list_->header()->setSortIndicator(0, order_);
}

void CNewFileWizard::BrowseFolder() {
  const QString folder = QFileDialog::getExistingDirectory(
      this, QStringLiteral("选择文件存放位置"), StartFolder(folderEdit_->text()));
  if (!folder.isEmpty())
    folderEdit_->setText(folder);
}

void CNewFileWizard::TryAccept() {
  const QString name = nameEdit_->text();
  const QString folder = folderEdit_->text();
  const QTreeWidgetItem *item = list_->currentItem();
  const QString templatePath =
      item && !item->text(0).isEmpty() ? item->data(0, kPathRole).toString()
                                       : QString();
  const WizardCheck check = CheckWizardInput(name, folder, templatePath);
  if (!check.message.isEmpty()) {
    ShowMessage(check.message);
    if (check.field == WizardField::FileName)
      nameEdit_->setFocus();
    else if (check.field == WizardField::Folder)
      folderEdit_->setFocus();
    else
      list_->setFocus();
    return;
  }
  const QString path = ::NewFilePath(folder, name);
  if (QFileInfo::exists(path)) {
    const int answer = CurrentPrompt().AskWarning(
        QStringLiteral("新建文件确认"),
        QStringLiteral("文件%1已存在\r\n是否覆盖？").arg(name),
        {QStringLiteral("覆盖"), QStringLiteral("取消")}, 1);
    if (answer != 0) {
      nameEdit_->setFocus();
      return;
    }
  }
  templatePath_ = templatePath;
  newFilePath_ = path;
  accept();
}
