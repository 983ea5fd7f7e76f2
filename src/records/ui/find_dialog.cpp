// The find dialog of the records page.
#include "records/ui/find_dialog.h"

#include "records/ui/grid_commands.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CFindDialog::CFindDialog(QWidget *parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("查找"));
  setModal(false);

  auto *label = new QLabel(QStringLiteral("查找内容(&N):"), this);
  text_ = new QLineEdit(this);
  text_->setAccessibleName(QStringLiteral("查找内容"));
  label->setBuddy(text_);
  wholeWord_ = new QCheckBox(QStringLiteral("全字匹配(&W)"), this);
  wholeWord_->setAccessibleName(QStringLiteral("全字匹配"));
  matchCase_ = new QCheckBox(QStringLiteral("区分大小写(&C)"), this);
  matchCase_->setAccessibleName(QStringLiteral("区分大小写"));
  matchCase_->setChecked(true);

  auto *direction = new QGroupBox(QStringLiteral("方向"), this);
  up_ = new QRadioButton(QStringLiteral("向上(&U)"), direction);
  up_->setAccessibleName(QStringLiteral("向上"));
  down_ = new QRadioButton(QStringLiteral("向下(&D)"), direction);
  down_->setAccessibleName(QStringLiteral("向下"));
  down_->setChecked(true);
  auto *directionLayout = new QHBoxLayout(direction);
  directionLayout->addWidget(up_);
  directionLayout->addWidget(down_);

  find_ = new QPushButton(QStringLiteral("查找下一个(&F)"), this);
  find_->setAccessibleName(QStringLiteral("查找下一个"));
  find_->setDefault(true);
  find_->setEnabled(false);
  auto *cancel = new QPushButton(QStringLiteral("取消"), this);
  cancel->setAccessibleName(QStringLiteral("取消"));

  auto *grid = new QGridLayout(this);
  grid->addWidget(label, 0, 0);
  grid->addWidget(text_, 0, 1, 1, 2);
  grid->addWidget(find_, 0, 3);
  grid->addWidget(wholeWord_, 1, 0, 1, 2);
  grid->addWidget(direction, 1, 2, 2, 1);
  grid->addWidget(cancel, 1, 3);
  grid->addWidget(matchCase_, 2, 0, 1, 2);
  grid->setColumnStretch(1, 1);

  connect(text_, &QLineEdit::textChanged, this,
          [this](const QString &text) { find_->setEnabled(!text.isEmpty()); });
  connect(find_, &QPushButton::clicked, this,
          [this] { emit findNext(FindText(), Flags()); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

unsigned CFindDialog::Flags() const {
  unsigned flags = 0;
  if (down_->isChecked())
    flags |= FR_DOWN;
  if (wholeWord_->isChecked())
    flags |= FR_WHOLEWORD;
  if (matchCase_->isChecked())
    flags |= FR_MATCHCASE;
  return flags;
}

QString CFindDialog::FindText() const { return text_->text(); }
