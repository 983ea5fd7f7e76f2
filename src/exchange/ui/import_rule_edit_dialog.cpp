// The dialog of one import rule; see import_rule_edit_dialog.h.
#include "exchange/ui/import_rule_edit_dialog.h"

#include "base/prompt.h"
#include "model/column_list.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

// Columns that the bills of payment services and banks name most often.
const char *const kUsualSources[] = {"交易对方", "商品", "商品说明", "备注",
                                     "交易分类", "交易类型", "摘要"};

QComboBox *Box(QWidget *parent, const QString &name, bool editable) {
  auto *box = new QComboBox(parent);
  box->setEditable(editable);
  box->setAccessibleName(name);
  return box;
}

} // namespace

ImportRuleEditDialog::ImportRuleEditDialog(const ColumnList &columns,
                                           const ImportRule &rule,
                                           QWidget *parent)
    : QDialog(parent), columns_(columns), rule_(rule) {
  setWindowTitle(rule.id ? QStringLiteral("编辑导入规则")
                         : QStringLiteral("添加导入规则"));
  source_ = Box(this, QStringLiteral("对账单的列"), true);
  for (const char *name : kUsualSources)
    source_->addItem(QString::fromUtf8(name));
  source_->setCurrentText(rule.source.isEmpty() ? source_->itemText(0)
                                                : rule.source);
  condition_ = Box(this, QStringLiteral("条件"), false);
  for (const RuleCondition condition :
       {RuleCondition::Contains, RuleCondition::Equals,
        RuleCondition::StartsWith})
    condition_->addItem(ConditionName(condition), int(condition));
  condition_->setCurrentIndex(condition_->findData(int(rule.condition)));
  text_ = new QLineEdit(rule.text, this);
  text_->setAccessibleName(QStringLiteral("文字"));
  field_ = Box(this, QStringLiteral("设置列"), false);
  for (int i = 0; i < columns.Size(); ++i)
    if (columns.Type(i) != FT_KEY)
      field_->addItem(columns.Title(i).isEmpty() ? columns.FieldName(i)
                                                 : columns.Title(i),
                      columns.FieldName(i));
  const int field = RulePositionOf(columns, rule.field);
  field_->setCurrentIndex(
      std::max(0, field_->findData(columns.FieldName(field))));
  value_ = Box(this, QStringLiteral("值"), true);
  FillValues();
  if (rule.id)
    value_->setCurrentText(rule.value);
  connect(field_, &QComboBox::currentIndexChanged, this,
          &ImportRuleEditDialog::FillValues);

  auto *form = new QFormLayout(this);
  auto row = [&](const QString &label, QWidget *widget) {
    auto *text = new QLabel(label, this);
    text->setBuddy(widget);
    form->addRow(text, widget);
  };
  row(QStringLiteral("对账单的列(&S)："), source_);
  row(QStringLiteral("条件(&C)："), condition_);
  row(QStringLiteral("文字(&T)："), text_);
  row(QStringLiteral("设置列(&F)："), field_);
  row(QStringLiteral("值(&V)："), value_);
  auto *buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
  setMinimumWidth(420);
  text_->setFocus();
}

void ImportRuleEditDialog::FillValues() {
  const QString typed = value_->currentText();
  value_->clear();
  const int position = columns_.PositionOf(field_->currentData().toString());
  if (columns_.Type(position) == FT_OPTION)
    value_->addItems(columns_.At(position).Choices());
  else
    value_->setCurrentText(typed);
}

ImportRule ImportRuleEditDialog::Rule() const {
  ImportRule rule = rule_;
  rule.source = source_->currentText().trimmed();
  rule.condition = RuleCondition(condition_->currentData().toInt());
  rule.text = text_->text();
  rule.field = field_->currentData().toString();
  rule.value = value_->currentText();
  return rule;
}

void ImportRuleEditDialog::accept() {
  const QString problem = RuleProblem(columns_, Rule());
  if (!problem.isEmpty()) {
    ShowMessage(problem);
    return;
  }
  QDialog::accept();
}
