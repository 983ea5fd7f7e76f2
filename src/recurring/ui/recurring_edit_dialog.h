// The dialog that adds or edits one recurring record: its name, group,
// rhythm (every N days, weeks, months or years), first date, end (never,
// after K times, on a date), whether it is added without asking, and the
// texts of its columns as the new-record row takes them (the key and the
// date column are given by the group and the due date). "确定" checks the
// record against the file (RecurringProblem) and stays open with the
// reason shown when it does not fit; the caller stores it.
#pragma once

#include "recurring/recurring_record.h"

#include <QDialog>

class AccountFile;
class DateLineEdit;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QTableWidget;

class RecurringEditDialog : public QDialog {
  Q_OBJECT

public:
  RecurringEditDialog(AccountFile &file, const RecurringRecord &record,
                      QWidget *parent = nullptr);

  // The record as filled in (its ID and "made up to" as given); false,
  // with the reason shown, when a date does not read as one.
  bool Read(RecurringRecord &out) const;

  QLineEdit *TitleEdit() const { return title_; }
  QSpinBox *EveryBox() const { return every_; }
  QComboBox *UnitBox() const { return unit_; }
  DateLineEdit *FirstEdit() const { return first_; }
  QComboBox *EndBox() const { return end_; }
  DateLineEdit *UntilEdit() const { return until_; }
  QTableWidget *ValuesTable() const { return values_; }

public slots:
  void accept() override;

private:
  void FillGroups(int groupId);
  void FillValues(const RecurringRecord &record);
  void UpdateEnd();

  AccountFile &file_;
  RecurringRecord record_;
  QList<int> positions_; // the column of each row of values_
  QLineEdit *title_ = nullptr;
  QComboBox *group_ = nullptr;
  QSpinBox *every_ = nullptr;
  QComboBox *unit_ = nullptr;
  DateLineEdit *first_ = nullptr;
  QComboBox *end_ = nullptr;
  QSpinBox *times_ = nullptr;
  DateLineEdit *until_ = nullptr;
  QCheckBox *automatic_ = nullptr;
  QTableWidget *values_ = nullptr;
};
