// The import rules dialog; see import_rules_dialog.h.
#include "exchange/ui/import_rules_dialog.h"

#include "base/prompt.h"
#include "document/account_file.h"
#include "exchange/import_rule_store.h"
#include "exchange/ui/import_rule_edit_dialog.h"
#include "window/dialog_runner.h"
#include "window/list_table.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

ImportRulesDialog::ImportRulesDialog(AccountFile &file, QWidget *parent)
    : QDialog(parent), file_(file) {
  setWindowTitle(QStringLiteral("导入规则"));
  table_ = MakeListTable(QStringLiteral("导入规则"),
                         {QStringLiteral("序号"), QStringLiteral("条件"),
                          QStringLiteral("设置"), QStringLiteral("上次匹配行数")},
                         this);
  table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  table_->setMinimumWidth(560);
  connect(table_, &QTableWidget::itemSelectionChanged, this,
          &ImportRulesDialog::UpdateButtons);
  connect(table_, &QTableWidget::itemActivated, this,
          &ImportRulesDialog::Edit);

  auto *side = new QVBoxLayout;
  auto button = [&](const QString &name, const QString &keyAndDots,
                    void (ImportRulesDialog::*slot)()) {
    QPushButton *pushButton = MakeSideButton(name, keyAndDots, this);
    connect(pushButton, &QPushButton::clicked, this, slot);
    side->addWidget(pushButton);
    return pushButton;
  };
  add_ = button(QStringLiteral("添加"), QStringLiteral("(&A)…"),
                &ImportRulesDialog::Add);
  edit_ = button(QStringLiteral("编辑"), QStringLiteral("(&E)…"),
                 &ImportRulesDialog::Edit);
  up_ = button(QStringLiteral("上移"), QStringLiteral("(&U)"),
               &ImportRulesDialog::MoveUp);
  down_ = button(QStringLiteral("下移"), QStringLiteral("(&D)"),
                 &ImportRulesDialog::MoveDown);
  delete_ = button(QStringLiteral("删除"), QStringLiteral("(&R)"),
                   &ImportRulesDialog::Delete);
  LayOutListDialog(this, table_, side);
  Reload(1);
}

void ImportRulesDialog::Reload(int selectNumber) {
  const QList<ImportRule> rules = LoadImportRules(file_);
  ids_.clear();
  table_->setRowCount(int(rules.size()));
  for (int row = 0; row < rules.size(); ++row) {
    const ImportRule &rule = rules[row];
    ids_.append(rule.id);
    table_->setItem(row, 0, ListCell(QString::number(row + 1)));
    table_->setItem(row, 1, ListCell(RuleConditionText(rule)));
    table_->setItem(row, 2, ListCell(RuleSettingText(file_.Columns(), rule)));
    table_->setItem(row, 3, ListCell(QString::number(rule.lastMatches)));
  }
  table_->resizeColumnToContents(0);
  table_->resizeColumnToContents(2);
  SelectNumber(selectNumber);
  UpdateButtons();
}

int ImportRulesDialog::SelectedNumber() const {
  const QList<QTableWidgetItem *> selected = table_->selectedItems();
  return selected.isEmpty() ? 0 : selected.first()->row() + 1;
}

void ImportRulesDialog::SelectNumber(int number) {
  const int row = std::min(number, table_->rowCount()) - 1;
  if (row < 0)
    return;
  table_->selectRow(row);
  table_->setCurrentCell(row, 0);
}

int ImportRulesDialog::SelectedId() const {
  return ids_.value(SelectedNumber() - 1);
}

void ImportRulesDialog::UpdateButtons() {
  const bool writable = !file_.IsReadOnly();
  const int number = SelectedNumber();
  add_->setEnabled(writable);
  edit_->setEnabled(writable && number > 0);
  delete_->setEnabled(writable && number > 0);
  up_->setEnabled(writable && number > 1);
  down_->setEnabled(writable && number > 0 && number < ids_.size());
}

void ImportRulesDialog::Add() {
  ImportRuleEditDialog dialog(file_.Columns(), ImportRule(), this);
  if (!CurrentDialogRunner().Run(dialog))
    return;
  ImportRule rule = dialog.Rule();
  if (AddImportRule(file_, rule))
    Reload(int(ids_.size()) + 1);
}

void ImportRulesDialog::Edit() {
  const int number = SelectedNumber();
  if (number == 0 || file_.IsReadOnly())
    return;
  const QList<ImportRule> rules = LoadImportRules(file_);
  if (number > rules.size())
    return;
  ImportRuleEditDialog dialog(file_.Columns(), rules[number - 1], this);
  if (!CurrentDialogRunner().Run(dialog))
    return;
  if (UpdateImportRule(file_, dialog.Rule()))
    Reload(number);
}

void ImportRulesDialog::Move(int step) {
  const int number = SelectedNumber();
  if (number == 0 || !MoveImportRule(file_, SelectedId(), step))
    return;
  Reload(number + step);
  // A button at the end of the list turns off; the keys stay in the list.
  table_->setFocus();
}

void ImportRulesDialog::Delete() {
  const int number = SelectedNumber();
  if (number == 0 ||
      !CurrentPrompt().AskYesNo(
          QStringLiteral("删除第%1条导入规则吗？").arg(number)))
    return;
  if (DeleteImportRule(file_, SelectedId()))
    Reload(number);
}
