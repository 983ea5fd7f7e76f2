// The template name dialog.
#include "widgets/name_sel_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CNameSelDlg::CNameSelDlg(const QStringList &names, const QString &start,
                         QWidget *parent)
    : QDialog(parent), nameBox_(new QComboBox(this)),
      saveButton_(new QPushButton(QStringLiteral("保存"), this)) {
  setWindowTitle(QStringLiteral("输入模板名称"));

  QStringList sorted = names;
  sorted.sort();
  nameBox_->setEditable(true);
  nameBox_->setInsertPolicy(QComboBox::NoInsert);
  nameBox_->addItems(sorted);
  nameBox_->setCurrentText(start);
  nameBox_->setMinimumWidth(220);
  nameBox_->setAccessibleName(QStringLiteral("模板名称"));

  auto *label = new QLabel(QStringLiteral("模板名称:"), this);
  label->setBuddy(nameBox_);

  auto *cancel = new QPushButton(QStringLiteral("取消"), this);
  saveButton_->setDefault(true);
  saveButton_->setAccessibleName(saveButton_->text());
  cancel->setAccessibleName(cancel->text());
  auto *buttons = new QDialogButtonBox(this);
  buttons->addButton(saveButton_, QDialogButtonBox::AcceptRole);
  buttons->addButton(cancel, QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(nameBox_);
  layout->addWidget(buttons);
  nameBox_->setFocus();
  nameBox_->lineEdit()->selectAll();
}

QString CNameSelDlg::Text() const { return nameBox_->currentText(); }

std::optional<QString> CNameSelDlg::Ask(const QString &title,
                                        const QStringList &names,
                                        const QString &start,
                                        QWidget *parent) {
  CNameSelDlg dialog(names, start, parent);
  if (!title.isEmpty())
    dialog.setWindowTitle(title);
  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  return dialog.Text();
}
