// The widgets of the "视图" page; they show the views and pass the user's
// edits to ViewConfig.
#include "app/options/view_page.h"

#include "document/account_file.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CViewPage::CViewPage(AccountFile &file, QWidget *parent)
    : CPropertyPageBase(file, parent), config_(file.Views().views) {
  auto *listLabel = new QLabel(QStringLiteral("视图列表"), this);
  list_ = new QListWidget(this);
  list_->setAccessibleName(QStringLiteral("视图列表"));
  listLabel->setBuddy(list_);
  add_ = new QPushButton(QStringLiteral("添加->"), this);
  delete_ = new QPushButton(QStringLiteral("<-删除"), this);
  change_ = new QPushButton(QStringLiteral("更改->"), this);
  auto *nameLabel = new QLabel(QStringLiteral("视图名称"), this);
  name_ = new QLineEdit(this);
  name_->setAccessibleName(QStringLiteral("视图名称"));
  nameLabel->setBuddy(name_);
  auto *sqlLabel = new QLabel(QStringLiteral("视图命令"), this);
  sql_ = new QPlainTextEdit(this);
  sql_->setAccessibleName(QStringLiteral("视图命令"));

  auto *left = new QVBoxLayout;
  left->addWidget(listLabel);
  left->addWidget(list_, 1);
  auto *middle = new QVBoxLayout;
  middle->addStretch(1);
  middle->addWidget(add_);
  middle->addWidget(delete_);
  middle->addWidget(change_);
  middle->addStretch(1);
  auto *right = new QVBoxLayout;
  right->addWidget(nameLabel);
  right->addWidget(name_);
  right->addWidget(sqlLabel);
  right->addWidget(sql_, 1);
  auto *layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(middle);
  layout->addLayout(right, 2);

  connect(list_, &QListWidget::currentRowChanged, this, &CViewPage::OnSelected);
  connect(add_, &QPushButton::clicked, this, &CViewPage::OnAdd);
  connect(delete_, &QPushButton::clicked, this, &CViewPage::OnDelete);
  connect(change_, &QPushButton::clicked, this, &CViewPage::OnChange);
  Fill(0);
  delete_->setEnabled(false);
  change_->setEnabled(false);
}

void CViewPage::Fill(int select) {
  QSignalBlocker blocker(list_);
  list_->clear();
  for (const ViewItem &view : config_.Views())
    list_->addItem(view.name);
  if (select >= 0 && select < list_->count()) {
    list_->setCurrentRow(select);
    name_->setText(config_.Views()[select].name);
    sql_->setPlainText(config_.Views()[select].sql);
  }
  delete_->setEnabled(false);
  change_->setEnabled(false);
}

void CViewPage::OnSelected(int row) {
  if (row < 0 || row >= config_.Views().size())
    return;
  name_->setText(config_.Views()[row].name);
  sql_->setPlainText(config_.Views()[row].sql);
  delete_->setEnabled(config_.CanEdit(row));
  change_->setEnabled(config_.CanEdit(row));
}

void CViewPage::OnAdd() {
  if (!config_.Add(name_->text(), sql_->toPlainText()))
    return;
  SetModified();
  Fill(int(config_.Views().size()) - 1);
}

void CViewPage::OnDelete() {
  if (!config_.Remove(list_->currentRow(), name_->text(), sql_->toPlainText()))
    return;
  SetModified();
  Fill(-1);
}

void CViewPage::OnChange() {
  if (!config_.Change(list_->currentRow(), name_->text(), sql_->toPlainText()))
    return;
  SetModified();
  Fill(int(config_.Views().size()) - 1);
}

bool CViewPage::Write() { return config_.Apply(*file_.Session()); }
