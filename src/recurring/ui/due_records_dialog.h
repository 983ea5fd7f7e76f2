// "到期的定期记录": the occurrences of recurring records that are due, each
// ticked, with its date, recurring record, group and values. "确定" adds
// the ticked ones as one undoable action, "跳过" moves past them without a
// record, "稍后" leaves everything due for the next check. The ticks follow
// DueSelection: a record's ticked occurrences are its earliest ones.
#pragma once

#include "recurring/due_selection.h"

#include <QDialog>

class AccountFile;
class QTableWidget;
class QTableWidgetItem;

class DueRecordsDialog : public QDialog {
  Q_OBJECT

public:
  DueRecordsDialog(AccountFile &file, const QList<RecurringRecord> &records,
                   const QList<DueOccurrence> &due, QWidget *parent = nullptr);

  QTableWidget *Table() const { return table_; }
  const DueSelection &Selection() const { return selection_; }

public slots:
  void AddTicked();
  void SkipTicked();
  void Later() { reject(); }

private:
  void Fill();
  void ShowTicks();
  void OnItemChanged(QTableWidgetItem *item);

  AccountFile &file_;
  QList<RecurringRecord> records_;
  DueSelection selection_;
  QTableWidget *table_ = nullptr;
  bool showing_ = false;
};
