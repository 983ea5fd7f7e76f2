// What an import rule is, its checks and its texts; see import_rule.h.
#include "exchange/import_rule.h"

#include "base/date_text.h"
#include "exchange/statement_values.h"
#include "model/column_list.h"
#include "model/value_literal.h"
#include "records/record_cell_text.h"

namespace {

QString Caption(const ColumnList &columns, int position) {
  const QString title = columns.Title(position);
  return title.isEmpty() ? columns.FieldName(position) : title;
}

} // namespace

QString ConditionName(RuleCondition condition) {
  switch (condition) {
  case RuleCondition::Equals:
    return QStringLiteral("等于");
  case RuleCondition::StartsWith:
    return QStringLiteral("开头是");
  case RuleCondition::Contains:
    break;
  }
  return QStringLiteral("包含");
}

bool ParseConditionWord(const QString &word, RuleCondition *condition) {
  if (word == QLatin1String("contains"))
    *condition = RuleCondition::Contains;
  else if (word == QLatin1String("equals"))
    *condition = RuleCondition::Equals;
  else if (word == QLatin1String("starts"))
    *condition = RuleCondition::StartsWith;
  else
    return false;
  return true;
}

int RulePositionOf(const ColumnList &columns, const QString &name) {
  return columns.PositionOfNameOrTitle(name);
}

QString RuleValueText(const ColumnList &columns, int position,
                      const QString &value, QString *problem) {
  const int type = columns.Type(position);
  const QString typed = value.trimmed();
  if (IsNumericType(type)) {
    double number = 0;
    if (ParseAmount(typed, false, &number))
      return NumberText(number);
    *problem = QStringLiteral("“%1”是数值列，“%2”不是数值")
                   .arg(Caption(columns, position), value);
    return {};
  }
  if (type == FT_OPTION) {
    if (columns.At(position).Choices().contains(value))
      return value;
    *problem = QStringLiteral("“%1”没有选项“%2”")
                   .arg(Caption(columns, position), value);
    return {};
  }
  if (IsDateTimeType(type)) {
    const QString refusal = TypedDateRefusal(typed, type);
    if (!refusal.isEmpty() || typed.isEmpty()) {
      *problem = refusal.isEmpty() ? QStringLiteral("时间格式不正确") : refusal;
      return {};
    }
    const DateValue date = ParseDateTime(typed);
    const DateTimePart part = type == FT_DATETIME ? DTP_BOTH
                              : IsTimeOnlyType(type)  ? DTP_TIME
                                                  : DTP_DATE;
    return FormatDateTime(date, part);
  }
  // Text and memo columns keep the value as typed.
  return value;
}

QString RuleProblem(const ColumnList &columns, const ImportRule &rule) {
  if (rule.source.trimmed().isEmpty())
    return QStringLiteral("规则缺少对账单的列名");
  if (rule.text.trimmed().isEmpty())
    return QStringLiteral("规则缺少要比较的文字");
  const int position = RulePositionOf(columns, rule.field);
  if (position < 0)
    return QStringLiteral("账簿中没有名为“%1”的字段").arg(rule.field);
  if (columns.Type(position) == FT_KEY)
    return QStringLiteral("“%1”是主键，不能由规则设置")
        .arg(Caption(columns, position));
  QString problem;
  RuleValueText(columns, position, rule.value, &problem);
  return problem;
}

QString RuleConditionText(const ImportRule &rule) {
  return QStringLiteral("%1 %2 “%3”")
      .arg(rule.source, ConditionName(rule.condition), rule.text);
}

QString RuleSettingText(const ColumnList &columns, const ImportRule &rule) {
  const int position = RulePositionOf(columns, rule.field);
  const QString target =
      position >= 0 ? Caption(columns, position) : rule.field;
  return QStringLiteral("%1 = %2").arg(target, rule.value);
}
