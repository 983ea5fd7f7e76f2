// 文件 → "导入规则…": the import rules of an account file in their order,
// each with its number, condition, setting and the lines of the last import
// whose column it set. Rules are added, edited, moved up or down and
// deleted here, each change one unit of work in the file (through
// import_rule_store.h); a file opened for viewing shows its rules and
// offers no changes.
#pragma once

#include <QDialog>

class AccountFile;
class QPushButton;
class QTableWidget;

class ImportRulesDialog : public QDialog {
  Q_OBJECT

public:
  explicit ImportRulesDialog(AccountFile &file, QWidget *parent = nullptr);

  // The number of the selected rule, from 1; 0 with none.
  int SelectedNumber() const;
  void SelectNumber(int number);

public slots:
  void Add();
  void Edit();
  void MoveUp() { Move(-1); }
  void MoveDown() { Move(1); }
  void Delete();

private:
  void Reload(int selectNumber);
  void Move(int step);
  void UpdateButtons();
  // The ID of the selected rule; 0 with none.
  int SelectedId() const;

  AccountFile &file_;
  QList<int> ids_; // the rule IDs, row by row
  QTableWidget *table_ = nullptr;
  QPushButton *add_ = nullptr;
  QPushButton *edit_ = nullptr;
  QPushButton *up_ = nullptr;
  QPushButton *down_ = nullptr;
  QPushButton *delete_ = nullptr;
};
