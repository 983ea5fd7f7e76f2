// The dialog of due occurrences; see due_records_dialog.h.
#include "recurring/ui/due_records_dialog.h"

#include "document/account_file.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"
#include "window/list_table.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

DueRecordsDialog::DueRecordsDialog(AccountFile &file,
                                   const QList<RecurringRecord> &records,
                                   const QList<DueOccurrence> &due,
                                   QWidget *parent)
    : QDialog(parent), file_(file), records_(records), selection_(due) {
  setWindowTitle(QStringLiteral("到期的定期记录"));
  auto *note = new QLabel(
      QStringLiteral("以下定期记录已到期，勾选的将按各自的日期添加："), this);
  table_ = MakeListTable(QStringLiteral("到期的定期记录"),
                         {QStringLiteral("日期"), QStringLiteral("定期记录"),
                          QStringLiteral("分组"), QStringLiteral("内容")},
                         this);
  table_->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
  table_->setMinimumWidth(620);
  connect(table_, &QTableWidget::itemChanged, this,
          &DueRecordsDialog::OnItemChanged);

  auto *buttons = new QDialogButtonBox(this);
  auto button = [&](const QString &text, void (DueRecordsDialog::*slot)()) {
    QPushButton *pushButton =
        buttons->addButton(text, QDialogButtonBox::ActionRole);
    pushButton->setAccessibleName(text);
    connect(pushButton, &QPushButton::clicked, this, slot);
    return pushButton;
  };
  button(QStringLiteral("确定"), &DueRecordsDialog::AddTicked)->setDefault(true);
  button(QStringLiteral("跳过"), &DueRecordsDialog::SkipTicked);
  button(QStringLiteral("稍后"), &DueRecordsDialog::Later);

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(note);
  layout->addWidget(table_);
  layout->addWidget(buttons);
  Fill();
  resize(760, 420);
}

void DueRecordsDialog::Fill() {
  showing_ = true;
  const QList<DueOccurrence> &due = selection_.All();
  table_->setRowCount(int(due.size()));
  for (int row = 0; row < due.size(); ++row) {
    const RecurringRecord *record = RecordOf(records_, due[row]);
    const GroupNode *group =
        record ? FindGroupNode(file_.Root(), record->groupId) : nullptr;
    // The day as the records grid shows it.
    QTableWidgetItem *date =
        ListCell(due[row].date.toString(QStringLiteral("yyyy/M/d")));
    date->setFlags(date->flags() | Qt::ItemIsUserCheckable);
    table_->setItem(row, 0, date);
    table_->setItem(row, 1, ListCell(record ? record->title : QString()));
    table_->setItem(row, 2, ListCell(group ? group->title : QString()));
    table_->setItem(
        row, 3,
        ListCell(record ? ValuesShown(*record, file_.Columns()) : QString()));
  }
  showing_ = false;
  ShowTicks();
  // The date column's width includes its check box.
  table_->resizeColumnsToContents();
}

void DueRecordsDialog::ShowTicks() {
  showing_ = true;
  for (int row = 0; row < table_->rowCount(); ++row)
    table_->item(row, 0)->setCheckState(selection_.IsTicked(row) ? Qt::Checked
                                                                 : Qt::Unchecked);
  showing_ = false;
}

void DueRecordsDialog::OnItemChanged(QTableWidgetItem *item) {
  if (showing_ || item->column() != 0)
    return;
  selection_.SetTicked(item->row(), item->checkState() == Qt::Checked);
  ShowTicks();
}

void DueRecordsDialog::AddTicked() {
  if (AddOccurrences(file_, records_, selection_.Ticked()))
    accept();
}

void DueRecordsDialog::SkipTicked() {
  if (SkipOccurrences(file_, selection_.Ticked()))
    accept();
}
