// The recurring record dialog; see recurring_edit_dialog.h.
#include "recurring/ui/recurring_edit_dialog.h"

#include "base/date_text.h"
#include "base/prompt.h"
#include "document/account_file.h"
#include "groups/group_node.h"
#include "model/field_type.h"
#include "widgets/date_line_edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Every group (not folder) under node in tree order.
void CollectGroups(const GroupNode &node, QList<const GroupNode *> &out) {
  for (const auto &child : node.children) {
    if (child->IsGroup())
      out.append(child.get());
    CollectGroups(*child, out);
  }
}

QString DayShown(const QDate &date) {
  return date.isValid() ? DayText(date) : QString();
}

// The day a date field names; false, with the reason shown, when its text
// is not a date.
bool ReadDay(const DateLineEdit *edit, const QString &what, QDate &day) {
  const DateValue value = ParseDateTime(edit->text().trimmed());
  if (value.IsValid()) {
    day = value.Date();
    return true;
  }
  ShowMessage(QStringLiteral("%1不是有效的日期：%2").arg(what, edit->text()));
  return false;
}

} // namespace

RecurringEditDialog::RecurringEditDialog(AccountFile &file,
                                         const RecurringRecord &record,
                                         QWidget *parent)
    : QDialog(parent), file_(file), record_(record) {
  setWindowTitle(record.id ? QStringLiteral("编辑定期记录")
                           : QStringLiteral("新建定期记录"));
  title_ = new QLineEdit(record.title, this);
  title_->setAccessibleName(QStringLiteral("名称"));
  group_ = new QComboBox(this);
  group_->setAccessibleName(QStringLiteral("分组"));
  FillGroups(record.groupId);

  every_ = new QSpinBox(this);
  every_->setRange(1, 999);
  every_->setValue(std::max(1, record.rhythm.every));
  every_->setAccessibleName(QStringLiteral("周期"));
  unit_ = new QComboBox(this);
  unit_->setAccessibleName(QStringLiteral("周期单位"));
  for (RhythmUnit unit : {RhythmUnit::Days, RhythmUnit::Weeks,
                          RhythmUnit::Months, RhythmUnit::Years})
    unit_->addItem(RhythmUnitName(unit), int(unit));
  unit_->setCurrentIndex(int(record.rhythm.unit));
  auto *rhythm = new QHBoxLayout;
  rhythm->addWidget(every_);
  rhythm->addWidget(unit_);
  rhythm->addStretch();

  first_ = new DateLineEdit(this);
  first_->setText(DayShown(record.first.isValid() ? record.first
                                                  : QDate::currentDate()));
  first_->setAccessibleName(QStringLiteral("开始日期"));
  first_->SetPickerName(QStringLiteral("选择开始日期"));

  end_ = new QComboBox(this);
  end_->setAccessibleName(QStringLiteral("结束"));
  end_->addItems({QStringLiteral("永不结束"), QStringLiteral("重复次数"),
                  QStringLiteral("截止日期")});
  end_->setCurrentIndex(int(record.end));
  times_ = new QSpinBox(this);
  times_->setRange(1, 9999);
  times_->setValue(std::max(1, record.times));
  times_->setAccessibleName(QStringLiteral("重复次数"));
  until_ = new DateLineEdit(this);
  until_->setText(DayShown(record.until));
  until_->setAccessibleName(QStringLiteral("截止日期"));
  until_->SetPickerName(QStringLiteral("选择截止日期"));
  auto *end = new QHBoxLayout;
  end->addWidget(end_);
  end->addWidget(times_);
  end->addWidget(until_);
  connect(end_, &QComboBox::currentIndexChanged, this,
          &RecurringEditDialog::UpdateEnd);

  automatic_ = new QCheckBox(QStringLiteral("到期时自动添加，不再询问"), this);
  automatic_->setAccessibleName(automatic_->text());
  automatic_->setChecked(record.automatic);

  values_ = new QTableWidget(0, 2, this);
  values_->setAccessibleName(QStringLiteral("记录内容"));
  values_->setHorizontalHeaderLabels(
      {QStringLiteral("字段"), QStringLiteral("内容")});
  values_->verticalHeader()->hide();
  values_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  values_->setTabKeyNavigation(false);
  FillValues(record);

  auto *form = new QFormLayout;
  form->addRow(QStringLiteral("名称："), title_);
  form->addRow(QStringLiteral("分组："), group_);
  form->addRow(QStringLiteral("每："), rhythm);
  form->addRow(QStringLiteral("开始日期："), first_);
  form->addRow(QStringLiteral("结束："), end);
  form->addRow(QString(), automatic_);

  auto *buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
  connect(buttons, &QDialogButtonBox::accepted, this,
          &RecurringEditDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(values_);
  layout->addWidget(buttons);
  UpdateEnd();
  resize(480, 520);
}

void RecurringEditDialog::FillGroups(int groupId) {
  QList<const GroupNode *> groups;
  CollectGroups(file_.Root(), groups);
  for (const GroupNode *group : groups) {
    group_->addItem(group->title, group->id);
    if (group->id == groupId)
      group_->setCurrentIndex(group_->count() - 1);
  }
}

void RecurringEditDialog::FillValues(const RecurringRecord &record) {
  const ColumnList &columns = file_.Columns();
  const int datePosition = columns.DatePosition();
  for (int i = 0; i < columns.Size(); ++i) {
    const int type = columns.Type(i);
    // The key comes from the group, the date from the due date, the
    // automatic time from the moment the record is made.
    if (type == FT_KEY || type == FT_AUTOTIME || i == datePosition)
      continue;
    QString text;
    for (const auto &[field, value] : record.values)
      if (columns.PositionOf(field) == i)
        text = value;
    const int row = values_->rowCount();
    values_->insertRow(row);
    auto *caption = new QTableWidgetItem(columns.Title(i));
    caption->setFlags(Qt::ItemIsEnabled);
    values_->setItem(row, 0, caption);
    values_->setItem(row, 1, new QTableWidgetItem(text));
    positions_.append(i);
  }
  values_->resizeColumnToContents(0);
}

void RecurringEditDialog::UpdateEnd() {
  times_->setVisible(end_->currentIndex() == int(RecurringEnd::AfterTimes));
  until_->setVisible(end_->currentIndex() == int(RecurringEnd::OnDate));
}

bool RecurringEditDialog::Read(RecurringRecord &out) const {
  RecurringRecord record = record_;
  record.title = title_->text().trimmed();
  record.groupId = group_->currentData().toInt();
  record.rhythm.every = every_->value();
  record.rhythm.unit = RhythmUnit(unit_->currentData().toInt());
  if (!ReadDay(first_, QStringLiteral("开始日期"), record.first))
    return false;
  record.end = RecurringEnd(end_->currentIndex());
  record.times = times_->value();
  record.until = QDate();
  if (record.end == RecurringEnd::OnDate &&
      !ReadDay(until_, QStringLiteral("截止日期"), record.until))
    return false;
  record.automatic = automatic_->isChecked();
  // Values of columns the table does not show are kept as they were.
  record.values.clear();
  for (const auto &value : record_.values)
    if (!positions_.contains(file_.Columns().PositionOf(value.first)))
      record.values.append(value);
  for (int row = 0; row < values_->rowCount(); ++row) {
    const QString text = values_->item(row, 1)->text();
    if (!text.isEmpty())
      record.values.append({file_.Columns().FieldName(positions_[row]), text});
  }
  out = record;
  return true;
}

void RecurringEditDialog::accept() {
  RecurringRecord record;
  if (!Read(record))
    return;
  const QString problem = RecurringValuesProblem(record, file_);
  if (!problem.isEmpty()) {
    ShowMessage(problem);
    return;
  }
  QDialog::accept();
}
