// "导入…": the dialog that brings a bank statement into a group. It shows
// how the statement is read (encoding, delimiter, lines above the header),
// which statement column fills which column of the file, how dates and
// amounts are read, the target group, a preview of the first lines as they
// will be stored, the lines that do not read with their numbers and
// reasons, how many lines are duplicates of records in the group, and the
// lines of a bill that are not imported unless ticked, with their reasons.
// Nothing is stored before "导入"; then only the good lines, as one undoable
// step, and the mapping is remembered for the next statement of the layout.
// The rules live in StatementImport; the dialog shows and forwards.
#pragma once

#include "exchange/statement_import.h"

#include <QDialog>

#include <memory>

class AccountFile;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QSpinBox;
class QTableWidget;
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
  const ImportCheck &LastCheck() const { return check_; }
  StatementImport &Import() { return import_; }

public slots:
  // Runs the whole-file check now and shows its result.
  void Recheck();
  // Stores the good lines and closes the dialog.
  void accept() override;

private:
  void BuildControls();
  void FillSources();
  void ShowMapping();
  void ReadFormat();
  void ReadMapping();
  void ShowPreview();
  void ShowCheck();
  void ScheduleCheck();

  AccountFile &file_;
  StatementImport import_;
  ImportCheck check_;
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
  QTableWidget *preview_ = nullptr;
  QListWidget *badLines_ = nullptr;
  QLabel *summary_ = nullptr;
  QLabel *duplicateNote_ = nullptr;
  QListWidget *duplicates_ = nullptr;
  QListWidget *unticked_ = nullptr; // lines of a bill not imported unless ticked
  QTimer *checkTimer_ = nullptr;
};
