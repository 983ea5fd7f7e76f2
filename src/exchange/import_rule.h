// One import rule: when a column of an incoming statement line (named as
// the statement's header names it, e.g. 交易对方) contains, equals or starts
// with a text, a column of the record is set to a value (类别 = 交通).
// Here are what a rule is, how it is checked against the columns of a file
// and how it is shown; import_rule_store.h keeps rules in the account file,
// import_rules.h applies them.
#pragma once

#include <QString>
#include <QStringList>

class ColumnList;

// Stored as its number: keep the values.
enum class RuleCondition { Contains = 0, Equals = 1, StartsWith = 2 };

struct ImportRule {
  int id = 0; // the row's ID in the account file; 0 before it is stored
  QString source;
  RuleCondition condition = RuleCondition::Contains;
  QString text;
  QString field; // the field name of the target column
  QString value; // as typed into a cell of that column
  int lastMatches = 0; // lines of the last import whose column it set
};

// "包含", "等于", "开头是".
QString ConditionName(RuleCondition condition);
// The condition of a command-line argument: contains, equals or starts;
// false for another word.
bool ParseConditionWord(const QString &word, RuleCondition *condition);

// The position of the column whose field name (without regard to case) or
// caption is name; -1 when there is none.
int RulePositionOf(const ColumnList &columns, const QString &name);

// What the cell text value of the column at position becomes when a rule
// sets it: the stored text (a number as stored, a date in the stored form),
// or a null text with the reason in *problem when the column cannot take
// it (a number column and no number, an option that is not one of the
// column's options, a date that names no day).
QString RuleValueText(const ColumnList &columns, int position,
                      const QString &value, QString *problem);

// Why rule cannot be kept for a file of these columns (no source column,
// no text, a target field that is not there or is the key, a value the
// target cannot take); empty for a sound rule.
QString RuleProblem(const ColumnList &columns, const ImportRule &rule);

// "交易对方 包含 “滴滴”".
QString RuleConditionText(const ImportRule &rule);
// "类别 = 交通": the target by its caption (its field name when it has
// none or is no longer there).
QString RuleSettingText(const ColumnList &columns, const ImportRule &rule);
