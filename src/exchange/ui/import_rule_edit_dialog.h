// The dialog that adds or edits one import rule: the statement column (as
// the bill's header names it), the condition and its text, the column of
// the ledger to set and the value. "确定" checks the rule against the
// file's columns (RuleProblem) and stays open with the reason shown when it
// does not fit.
#pragma once

#include "exchange/import_rule.h"

#include <QDialog>

class ColumnList;
class QComboBox;
class QLineEdit;

class ImportRuleEditDialog : public QDialog {
  Q_OBJECT

public:
  ImportRuleEditDialog(const ColumnList &columns, const ImportRule &rule,
                       QWidget *parent = nullptr);

  // The rule as filled in (its ID and count as given).
  ImportRule Rule() const;

public slots:
  void accept() override;

private:
  void FillValues();

  const ColumnList &columns_;
  ImportRule rule_;
  QComboBox *source_ = nullptr;
  QComboBox *condition_ = nullptr;
  QLineEdit *text_ = nullptr;
  QComboBox *field_ = nullptr;
  QComboBox *value_ = nullptr;
};
