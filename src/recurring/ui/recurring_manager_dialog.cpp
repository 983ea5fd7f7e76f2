// The recurring records dialog; see recurring_manager_dialog.h.
#include "recurring/ui/recurring_manager_dialog.h"

#include "base/date_text.h"
#include "base/prompt.h"
#include "document/account_file.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"
#include "model/field_type.h"
#include "records/row_item.h"
#include "recurring/recurring_store.h"
#include "recurring/ui/recurring_edit_dialog.h"
#include "window/dialog_runner.h"
#include "window/list_table.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Runs the dialog on record and stores what it gives (added when the record
// has no ID yet); whether it was stored.
bool EditAndStore(AccountFile &file, RecurringRecord &record,
                  QWidget *parent) {
  RecurringEditDialog dialog(file, record, parent);
  if (!CurrentDialogRunner().Run(dialog) || !dialog.Read(record))
    return false;
  return record.id ? UpdateRecurringRecord(file, record)
                   : AddRecurringRecord(file, record);
}

// The texts of a stored record as the values of a recurring record: every
// column with a text but the key, the date and the automatic time.
QList<QPair<QString, QString>> RecordValues(const CRowItem &row,
                                            const ColumnList &columns) {
  QList<QPair<QString, QString>> values;
  for (int i = 0; i < columns.Size() && i < int(row.items.size()); ++i) {
    const int type = columns.Type(i);
    if (type == FT_KEY || type == FT_AUTOTIME || i == columns.DatePosition() ||
        row.items[i].text.isEmpty())
      continue;
    values.append({columns.FieldName(i), row.items[i].text});
  }
  return values;
}

} // namespace

RecurringManagerDialog::RecurringManagerDialog(AccountFile &file,
                                               QWidget *parent)
    : QDialog(parent), file_(file) {
  setWindowTitle(QStringLiteral("定期记录"));
  table_ = MakeListTable(QStringLiteral("定期记录"),
                         {QStringLiteral("名称"), QStringLiteral("下次日期"),
                          QStringLiteral("周期"), QStringLiteral("分组"),
                          QStringLiteral("状态")},
                         this);
  table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  table_->setMinimumWidth(620);
  connect(table_, &QTableWidget::itemSelectionChanged, this,
          &RecurringManagerDialog::UpdateButtons);
  connect(table_, &QTableWidget::itemActivated, this,
          &RecurringManagerDialog::Edit);

  auto *side = new QVBoxLayout;
  auto button = [&](const QString &name, const QString &keyAndDots,
                    void (RecurringManagerDialog::*slot)()) {
    QPushButton *pushButton = MakeSideButton(name, keyAndDots, this);
    connect(pushButton, &QPushButton::clicked, this, slot);
    side->addWidget(pushButton);
    return pushButton;
  };
  add_ = button(QStringLiteral("添加"), QStringLiteral("(&A)…"),
                &RecurringManagerDialog::Add);
  edit_ = button(QStringLiteral("编辑"), QStringLiteral("(&E)…"),
                 &RecurringManagerDialog::Edit);
  pause_ = button(QStringLiteral("暂停"), QStringLiteral("(&P)"),
                  &RecurringManagerDialog::TogglePause);
  delete_ = button(QStringLiteral("删除"), QStringLiteral("(&D)"),
                   &RecurringManagerDialog::Delete);
  LayOutListDialog(this, table_, side);
  Reload(0);
}

void RecurringManagerDialog::Reload(int selectId) {
  records_ = LoadRecurringRecords(file_);
  table_->setRowCount(int(records_.size()));
  for (int row = 0; row < records_.size(); ++row) {
    const RecurringRecord &record = records_[row];
    const GroupNode *group = FindGroupNode(file_.Root(), record.groupId);
    const QDate next = NextDueDate(record);
    table_->setItem(row, 0, ListCell(record.title));
    table_->setItem(row, 1, ListCell(next.isValid() ? DayText(next) : QString()));
    table_->setItem(row, 2, ListCell(RhythmText(record.rhythm)));
    table_->setItem(row, 3, ListCell(group ? group->title : QString()));
    table_->setItem(row, 4, ListCell(RecurringStateText(record)));
  }
  table_->resizeColumnsToContents();
  SelectId(selectId ? selectId : records_.isEmpty() ? 0 : records_[0].id);
  UpdateButtons();
}

int RecurringManagerDialog::SelectedId() const {
  const RecurringRecord *record = Selected();
  return record ? record->id : 0;
}

const RecurringRecord *RecurringManagerDialog::Selected() const {
  const QList<QTableWidgetItem *> selected = table_->selectedItems();
  if (selected.isEmpty() || selected.first()->row() >= records_.size())
    return nullptr;
  return &records_[selected.first()->row()];
}

void RecurringManagerDialog::SelectId(int id) {
  for (int row = 0; row < records_.size(); ++row) {
    if (records_[row].id == id) {
      table_->selectRow(row);
      table_->setCurrentCell(row, 0);
    }
  }
}

void RecurringManagerDialog::UpdateButtons() {
  const bool writable = !file_.IsReadOnly();
  const RecurringRecord *record = Selected();
  add_->setEnabled(writable);
  edit_->setEnabled(writable && record);
  delete_->setEnabled(writable && record);
  pause_->setEnabled(writable && record);
  const QString pause = record && record->paused ? QStringLiteral("恢复")
                                                 : QStringLiteral("暂停");
  pause_->setText(pause + QStringLiteral("(&P)"));
  pause_->setAccessibleName(pause);
}

void RecurringManagerDialog::Add() {
  // The dialog offers the first group of the tree.
  RecurringRecord record;
  record.first = QDate::currentDate();
  if (EditAndStore(file_, record, this))
    Reload(record.id);
}

void RecurringManagerDialog::Edit() {
  const RecurringRecord *selected = Selected();
  if (!selected || file_.IsReadOnly())
    return;
  RecurringRecord record = *selected;
  if (EditAndStore(file_, record, this))
    Reload(record.id);
}

void RecurringManagerDialog::TogglePause() {
  const RecurringRecord *record = Selected();
  if (!record)
    return;
  const int id = record->id;
  if (SetRecurringPaused(file_, id, !record->paused))
    Reload(id);
}

void RecurringManagerDialog::Delete() {
  const RecurringRecord *record = Selected();
  if (!record ||
      !CurrentPrompt().AskYesNo(
          QStringLiteral("删除定期记录“%1”吗？").arg(record->title)))
    return;
  if (DeleteRecurringRecord(file_, record->id))
    Reload(0);
}

bool MakeRecurringFromRecord(AccountFile &file, int key, int groupId,
                             QWidget *parent) {
  if (file.RefuseChange())
    return false;
  CRowItem row = CRowItem::EmptyRow(file, groupId);
  if (!row.LoadFromDatabase(key, groupId)) {
    ShowMessage(QStringLiteral("找不到这条记录！"));
    return false;
  }
  RecurringRecord record;
  record.groupId = groupId;
  record.values = RecordValues(row, file.Columns());
  const int datePosition = file.Columns().DatePosition();
  const DateValue date = datePosition >= 0
                             ? ParseDateTime(row.items[datePosition].text)
                             : DateValue();
  record.first = date.IsValid() ? date.Date() : QDate::currentDate();
  // The record itself is the first occurrence: it counts as made, so the
  // due check starts with the next date (unless the dialog moves the start).
  const QDate madeOn = date.IsValid() ? date.Date() : QDate();
  // The name: the record's first text, which says what it is for.
  record.title = QStringLiteral("定期记录");
  for (const auto &[field, text] : record.values)
    if (file.Columns().Type(file.Columns().PositionOf(field)) == FT_TEXT) {
      record.title = text;
      break;
    }
  RecurringEditDialog dialog(file, record, parent);
  if (!CurrentDialogRunner().Run(dialog) || !dialog.Read(record))
    return false;
  if (madeOn.isValid() && record.first == madeOn)
    record.madeUpTo = madeOn;
  return AddRecurringRecord(file, record);
}
