// 编辑 → "定期记录…": the recurring records of an account file, each with
// its name, next due date, rhythm, group and state. Records are added
// (from scratch), edited, paused or resumed and deleted here, each change
// one unit of work in the file (recurring_store.h); a file opened for
// viewing shows them and offers no changes.
#pragma once

#include "recurring/recurring_record.h"

#include <QDialog>

class AccountFile;
class QPushButton;
class QTableWidget;

class RecurringManagerDialog : public QDialog {
  Q_OBJECT

public:
  explicit RecurringManagerDialog(AccountFile &file, QWidget *parent = nullptr);

  QTableWidget *Table() const { return table_; }
  // The ID of the selected record; 0 with none.
  int SelectedId() const;
  void SelectId(int id);

public slots:
  void Add();
  void Edit();
  void TogglePause();
  void Delete();

private:
  void Reload(int selectId);
  void UpdateButtons();
  const RecurringRecord *Selected() const;

  AccountFile &file_;
  QList<RecurringRecord> records_; // row by row
  QTableWidget *table_ = nullptr;
  QPushButton *add_ = nullptr;
  QPushButton *edit_ = nullptr;
  QPushButton *pause_ = nullptr;
  QPushButton *delete_ = nullptr;
};

// "设为定期记录": a new recurring record made from the stored record (key,
// groupId) of file, its values taken as the new record's texts and its date
// as the first date, edited in the dialog and stored when accepted.
bool MakeRecurringFromRecord(AccountFile &file, int key, int groupId,
                             QWidget *parent);
