// "导入…": the dialog that brings a bank statement or a bill into a group.
// It names the bill recognised with its holder and period (or, for a file
// it does not know, opens the mapping: how the statement is read, which
// statement column fills which column of the file, how dates and amounts
// are read), and shows every line in one table with its tick, state
// (新 / 重复 / 跳过 / 错误) and reason, then the record as it will be stored,
// the values rules set in their own colour; the counts per state; and the
// target group. Record cells may be changed before the import, and
// "记住此分类" makes a rule of a changed option cell. Nothing is stored
// before "导入"; then the ticked lines as edited, as one undoable step, and
// the mapping is remembered for the next statement of the layout. The rules
// live in StatementImport and ImportPreview; the dialog shows and forwards.
#pragma once

#include "exchange/statement_import.h"

#include <QDialog>

#include <memory>

class AccountFile;
class ImportPreviewModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;
class QTimer;

class ImportDialog : public QDialog {
  Q_OBJECT

public:
  // The records go to groupId unless the user picks another group.
  ImportDialog(AccountFile &file, int groupId, QWidget *parent = nullptr);
  ~ImportDialog() override;

  // Reads the statement; false (with the message shown) when it is none.
  bool OpenStatement(const QString &path);
  // Asks for a statement file, then runs the dialog; the number of records
  // stored (0 when cancelled).
  static int Run(QWidget *parent, AccountFile &file, int groupId);

  // The number of records the last import stored.
  int StoredCount() const { return stored_; }
  // The last check with the user's ticks and edits.
  const ImportCheck &LastCheck() const;
  StatementImport &Import() { return import_; }

public slots:
  // Runs the whole-file check now and shows its result.
  void Recheck();
  // Stores the ticked lines and closes the dialog.
  void accept() override;
  // Makes a rule of the changed option cell at the table's current index
  // and applies it to the other lines; false (with the reason shown) when
  // it cannot.
  bool RememberCategory();
  // Keeps the statement's layout, as mapped, as one of the user's own under
  // a name asked for; false when it was not kept.
  bool SaveAsLayout();

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void BuildControls();
  void FillSources();
  void ShowMapping();
  void ReadFormat();
  void ReadMapping();
  void ShowCheck();
  void ScheduleCheck();
  // Whether the current cell of the table is a changed option cell.
  bool CurrentCellRemembers() const;
  void UpdateRememberButton();
  QWidget *BuildMappingPanel();

  AccountFile &file_;
  StatementImport import_;
  ImportPreviewModel *model_ = nullptr;
  int stored_ = 0;
  bool showing_ = false;

  QComboBox *encoding_ = nullptr;
  QComboBox *delimiter_ = nullptr;
  QSpinBox *skipLines_ = nullptr;
  QCheckBox *hasHeader_ = nullptr;
  QComboBox *group_ = nullptr;
  QList<QComboBox *> fieldSources_; // one per column of the file, key none
  QComboBox *amountField_ = nullptr;
  QComboBox *amountMode_ = nullptr;
  QComboBox *amountColumn_ = nullptr;
  QComboBox *debitColumn_ = nullptr;
  QComboBox *creditColumn_ = nullptr;
  QCheckBox *negate_ = nullptr;
  QComboBox *dateForm_ = nullptr;
  QComboBox *decimal_ = nullptr;
  QLabel *dateNote_ = nullptr;
  QTableView *table_ = nullptr;
  QLabel *summary_ = nullptr;
  QPushButton *remember_ = nullptr;
  QPushButton *mappingToggle_ = nullptr;
  QTimer *checkTimer_ = nullptr;
};
