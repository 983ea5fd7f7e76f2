// Due occurrences of recurring records, added or skipped.
#include "recurring/due_occurrences.h"

#include "base/prompt.h"
#include "db/db_visiter.h"
#include "db/unit_of_work.h"
#include "document/account_file.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"
#include "recurring/recurring_store.h"
#include "records/command_history.h"
#include "records/new_record.h"
#include "records/row_item.h"

#include <QMap>
#include <QTime>

#include <algorithm>

namespace {

// The last date handled of each record among the occurrences.
QMap<int, QDate> LastDates(const QList<DueOccurrence> &occurrences) {
  QMap<int, QDate> last;
  for (const DueOccurrence &occurrence : occurrences) {
    QDate &date = last[occurrence.recurringId];
    if (!date.isValid() || date < occurrence.date)
      date = occurrence.date;
  }
  return last;
}

bool StoreLastDates(CDBVisiter &session,
                    const QList<DueOccurrence> &occurrences) {
  const QMap<int, QDate> last = LastDates(occurrences);
  for (auto it = last.cbegin(); it != last.cend(); ++it)
    if (!StoreMadeUpTo(session, it.key(), it.value()))
      return false;
  return true;
}

// The largest keys of the groups, to give back the keys of rows that were
// never stored.
QMap<int, int> LargestKeys(AccountFile &file,
                           const QList<RecurringRecord> &records) {
  QMap<int, int> keys;
  for (const RecurringRecord &record : records)
    if (const GroupNode *group = FindGroupNode(file.Root(), record.groupId))
      keys.insert(group->id, group->largestKey);
  return keys;
}

void RestoreLargestKeys(AccountFile &file, const QMap<int, int> &keys) {
  for (auto it = keys.cbegin(); it != keys.cend(); ++it)
    if (GroupNode *group = FindGroupNode(file.Root(), it.key()))
      group->largestKey = it.value();
}

// The rows of the occurrences; false at the first that cannot be made.
bool MakeRows(AccountFile &file, const QList<RecurringRecord> &records,
              const QList<DueOccurrence> &occurrences, QList<CRowItem> &rows) {
  for (const DueOccurrence &occurrence : occurrences) {
    const RecurringRecord *record = RecordOf(records, occurrence);
    if (!record) {
      ShowMessage(QStringLiteral("没有 ID 为 %1 的定期记录")
                      .arg(occurrence.recurringId));
      return false;
    }
    CRowItem row;
    if (!MakeOccurrenceRow(file, *record, occurrence.date, row))
      return false;
    rows.append(row);
  }
  return true;
}

} // namespace

QList<DueOccurrence> DueOccurrences(const QList<RecurringRecord> &records,
                                    const QDate &until) {
  QList<DueOccurrence> due;
  for (const RecurringRecord &record : records) {
    if (record.paused)
      continue;
    int n = NextOccurrence(record);
    if (n < 0)
      continue;
    for (QDate date = OccurrenceDate(record.rhythm, record.first, n);
         date.isValid() && date <= until && BeforeEnd(record, n, date);
         date = OccurrenceDate(record.rhythm, record.first, ++n))
      due.append(DueOccurrence{record.id, n, date});
  }
  std::stable_sort(due.begin(), due.end(),
                   [](const DueOccurrence &a, const DueOccurrence &b) {
                     return a.date < b.date;
                   });
  return due;
}

QList<RecurringRecord> AutomaticRecords(const QList<RecurringRecord> &records,
                                        bool automatic) {
  QList<RecurringRecord> chosen;
  for (const RecurringRecord &record : records)
    if (record.automatic == automatic)
      chosen.append(record);
  return chosen;
}

const RecurringRecord *RecordOf(const QList<RecurringRecord> &records,
                                const DueOccurrence &occurrence) {
  for (const RecurringRecord &record : records)
    if (record.id == occurrence.recurringId)
      return &record;
  return nullptr;
}

bool MakeOccurrenceRow(AccountFile &file, const RecurringRecord &record,
                       const QDate &date, CRowItem &row) {
  const QString problem = RecurringProblem(record, file);
  if (!problem.isEmpty()) {
    ShowMessage(QStringLiteral("定期记录“%1”：%2").arg(record.title, problem));
    return false;
  }
  GroupNode *group = FindGroupNode(file.Root(), record.groupId);
  row = CRowItem::EmptyRow(file, group->id);
  for (const auto &[field, text] : record.values)
    row.items[file.Columns().PositionOf(field)].text = text;
  // The occurrence is dated on its due date, not on the day it is made.
  const int datePosition = file.Columns().DatePosition();
  if (datePosition >= 0)
    row.items[datePosition].text = CRowItem::AutomaticDateText(date);
  if (CompleteNewRecord(row, *group,
                        QDateTime(date, QTime::currentTime())))
    return true;
  ShowMessage(QStringLiteral("定期记录“%1”（%2）：计算结果超出数值范围或无意义")
                  .arg(record.title, date.toString(Qt::ISODate)));
  return false;
}

bool AddOccurrences(AccountFile &file, const QList<RecurringRecord> &records,
                    const QList<DueOccurrence> &occurrences,
                    QList<CRowItem> *made) {
  if (occurrences.isEmpty())
    return true;
  if (file.RefuseChange() || !file.Session())
    return false;
  const QMap<int, int> keys = LargestKeys(file, records);
  CommandHistory &history = file.History();
  history.BeginGroup();
  QList<CRowItem> rows;
  const bool stored =
      MakeRows(file, records, occurrences, rows) &&
      history.AddRows(rows) == rows.size() &&
      StoreLastDates(*file.Session(), occurrences);
  if (!stored) {
    // Nothing of it reaches the file; rows shown meanwhile go when the
    // pages reload.
    history.DiscardGroup();
    RestoreLargestKeys(file, keys);
    file.RecordsChanged();
    return false;
  }
  if (!history.EndGroup()) {
    RestoreLargestKeys(file, keys);
    return false;
  }
  if (made)
    *made = rows;
  return true;
}

int AddAutomaticOccurrences(AccountFile &file,
                            const QList<RecurringRecord> &records,
                            const QDate &today) {
  const QList<DueOccurrence> due =
      DueOccurrences(AutomaticRecords(records, true), today);
  if (due.isEmpty())
    return 0;
  return AddOccurrences(file, records, due) ? int(due.size()) : -1;
}

bool SkipOccurrences(AccountFile &file,
                     const QList<DueOccurrence> &occurrences) {
  if (occurrences.isEmpty())
    return true;
  if (file.RefuseChange() || !file.Session())
    return false;
  UnitOfWork unit(file.Session());
  return StoreLastDates(*file.Session(), occurrences) && unit.Commit();
}
