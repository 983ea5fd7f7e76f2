// The budget editor.
#include "analysis/ui/budget_editor.h"

#include "analysis/budget_edit.h"
#include "analysis/budget_store.h"
#include "analysis/chart_columns.h"
#include "base/prompt.h"
#include "document/account_file.h"
#include "model/column_list.h"
#include "model/field_type.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The columns of the list in a box, by caption, their field names as data;
// current is chosen when it is among them.
void FillColumns(QComboBox *box, const QList<ColumnDef> &columns,
                 const QString &current) {
  for (const ColumnDef &column : columns) {
    box->addItem(column.title.isEmpty() ? column.fieldName : column.title,
                 column.fieldName);
    if (column.fieldName.compare(current, Qt::CaseInsensitive) == 0)
      box->setCurrentIndex(box->count() - 1);
  }
}

QString Field(const QComboBox *box) { return box->currentData().toString(); }

} // namespace

BudgetEditor::BudgetEditor(AccountFile &file, const YearMonth &month,
                           QWidget *parent)
    : QDialog(parent), file_(file), month_(month) {
  setWindowTitle(QStringLiteral("设置预算"));
  if (file.Session())
    budget_ = LoadBudget(*file.Session());

  by_ = new QComboBox(this);
  by_->setAccessibleName(QStringLiteral("按字段"));
  const bool set = budget_.IsSet();
  FillColumns(by_, file.Columns().ChoiceColumns(),
              set ? budget_.byField : DefaultBudgetByField(file.Columns()));
  sum_ = new QComboBox(this);
  sum_->setAccessibleName(QStringLiteral("汇总字段"));
  // The key is a number, but no amount to sum.
  QList<ColumnDef> sums = file.Columns().NumericColumns();
  sums.removeIf([](const ColumnDef &column) { return column.type == FT_KEY; });
  FillColumns(sum_, sums,
              set ? budget_.sumField : DefaultSumField(file.Columns()));
  auto *everyMonth = new QRadioButton(QStringLiteral("每月"), this);
  everyMonth->setAccessibleName(everyMonth->text());
  thisMonth_ = new QRadioButton(
      QStringLiteral("仅%1年%2月").arg(month.year).arg(month.month), this);
  thisMonth_->setAccessibleName(thisMonth_->text());
  everyMonth->setChecked(true);
  auto *scope = new QHBoxLayout;
  scope->addWidget(everyMonth);
  scope->addWidget(thisMonth_);
  scope->addStretch(1);

  auto *form = new QFormLayout;
  form->addRow(QStringLiteral("按字段"), by_);
  form->addRow(QStringLiteral("汇总字段"), sum_);
  form->addRow(QStringLiteral("适用于"), scope);

  grid_ = new QTableWidget(0, 2, this);
  grid_->setAccessibleName(QStringLiteral("预算金额"));
  grid_->setHorizontalHeaderLabels({QStringLiteral("选项"), QStringLiteral("金额")});
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->verticalHeader()->hide();

  auto *buttons = new QDialogButtonBox(this);
  QPushButton *copy = buttons->addButton(QStringLiteral("复制上月"),
                                         QDialogButtonBox::ActionRole);
  copy->setAccessibleName(copy->text());
  buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  connect(copy, &QPushButton::clicked, this, &BudgetEditor::CopyMonthBefore);
  connect(buttons, &QDialogButtonBox::accepted, this, &BudgetEditor::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto *layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(grid_, 1);
  layout->addWidget(buttons);
  resize(420, 460);

  connect(by_, &QComboBox::currentIndexChanged, this, [this] { ShowRows(MonthKey()); });
  connect(thisMonth_, &QRadioButton::toggled, this, [this] { ShowRows(MonthKey()); });
  ShowRows(MonthKey());
}

QString BudgetEditor::MonthKey() const {
  return thisMonth_->isChecked() ? BudgetMonthKey(month_) : QString();
}

void BudgetEditor::ShowRows(const QString &month) {
  QList<BudgetEditRow> rows =
      BudgetEditRows(file_.Columns(), budget_, Field(by_), month);
  // The month's total comes first, where it is seen without scrolling.
  std::stable_partition(rows.begin(), rows.end(), [](const BudgetEditRow &row) {
    return row.option.isEmpty();
  });
  grid_->setRowCount(int(rows.size()));
  for (int i = 0; i < rows.size(); ++i) {
    auto *option = new QTableWidgetItem(
        rows[i].option.isEmpty() ? QStringLiteral("合计（可选）") : rows[i].option);
    option->setData(Qt::UserRole, rows[i].option);
    option->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    grid_->setItem(i, 0, option);
    grid_->setItem(i, 1, new QTableWidgetItem(rows[i].text));
  }
}

void BudgetEditor::CopyMonthBefore() {
  const QList<BudgetEditRow> rows = BudgetEditRows(
      file_.Columns(), budget_, Field(by_), MonthBefore(BudgetMonthKey(month_)));
  for (int i = 0; i < grid_->rowCount(); ++i)
    for (const BudgetEditRow &row : rows)
      if (row.option == grid_->item(i, 0)->data(Qt::UserRole).toString())
        grid_->item(i, 1)->setText(row.text);
}

void BudgetEditor::accept() {
  QList<BudgetEditRow> rows;
  for (int i = 0; i < grid_->rowCount(); ++i)
    rows.append({grid_->item(i, 0)->data(Qt::UserRole).toString(),
                 grid_->item(i, 1)->text()});
  Budget edited = budget_;
  QString problem;
  int badRow = -1;
  if (!ApplyBudgetEdit(file_.Columns(), Field(by_), Field(sum_), MonthKey(),
                       rows, edited, problem, badRow)) {
    ShowMessage(problem);
    if (badRow >= 0) {
      grid_->setCurrentCell(badRow, 1);
      grid_->setFocus();
    } else {
      by_->setFocus();
    }
    return;
  }
  if (!SaveBudget(file_, edited))
    return;
  budget_ = edited;
  QDialog::accept();
}
