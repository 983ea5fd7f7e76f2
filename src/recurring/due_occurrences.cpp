// Due occurrences of recurring records, added or skipped.
#include "recurring/due_occurrences.h"

#include "base/held_messages.h"
#include "base/prompt.h"
#include "db/db_visiter.h"
#include "db/describe_error.h"
#include "db/unit_of_work.h"
#include "document/account_file.h"
#include "document/writable_session.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"
#include "recurring/first_message.h"
#include "recurring/recurring_store.h"
#include "records/command_history.h"
#include "records/new_record.h"
#include "records/row_item.h"

#include <QMap>
#include <QTime>

#include <algorithm>
#include <climits>
#include <vector>

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

// The rows of the occurrences that can be made. A record whose occurrence
// cannot be made is named (MakeOccurrenceRow) and skipped with all its
// occurrences, so that it blocks no other record; its ID goes to skipped.
// The occurrences made stay in made, in order.
void MakeRows(AccountFile &file, const QList<RecurringRecord> &records,
              const QList<DueOccurrence> &occurrences, QList<CRowItem> &rows,
              QList<DueOccurrence> &made, QList<int> &skipped) {
  for (const DueOccurrence &occurrence : occurrences) {
    if (skipped.contains(occurrence.recurringId))
      continue;
    const RecurringRecord *record = RecordOf(records, occurrence);
    CRowItem row;
    if (!record) {
      ShowMessage(QStringLiteral("没有 ID 为 %1 的定期记录")
                      .arg(occurrence.recurringId));
    } else if (MakeOccurrenceRow(file, *record, occurrence.date, row)) {
      rows.append(row);
      made.append(occurrence);
      continue;
    }
    skipped.append(occurrence.recurringId);
  }
  // A record skipped at a later occurrence keeps none of its earlier ones:
  // its occurrences are made in order or not at all.
  QList<CRowItem> keptRows;
  QList<DueOccurrence> kept;
  for (qsizetype i = 0; i < made.size(); ++i) {
    if (skipped.contains(made[i].recurringId))
      continue;
    keptRows.append(rows[i]);
    kept.append(made[i]);
  }
  rows = keptRows;
  made = kept;
}

// About how many occurrences of record are due up to until, no fewer
// than there are.
qsizetype ExpectedCount(const RecurringRecord &record, const QDate &until) {
  const QDate from =
      record.madeUpTo.isValid() ? record.madeUpTo : record.first;
  if (!from.isValid() || until < from || record.rhythm.every < 1)
    return 0;
  const qint64 days = from.daysTo(until);
  switch (record.rhythm.unit) {
  case RhythmUnit::Days:
    return qsizetype(days / record.rhythm.every + 1);
  case RhythmUnit::Weeks:
    return qsizetype(days / (7 * record.rhythm.every) + 1);
  case RhythmUnit::Months:
    return qsizetype(days / (28 * record.rhythm.every) + 1);
  case RhythmUnit::Years:
    return qsizetype(days / (365 * record.rhythm.every) + 1);
  }
  return 0;
}

// Calls visit(n, date) for each occurrence of record after "made up to"
// dated up to until, in order. Days and weeks step by their number of
// days; months and years are worked out from the first date each time, so
// that a short month does not shift the rest.
template <class Visit>
void ForEachDue(const RecurringRecord &record, const QDate &until,
                const Visit &visit) {
  int n = NextOccurrence(record);
  if (n < 0)
    return;
  const RhythmUnit unit = record.rhythm.unit;
  if (unit == RhythmUnit::Days || unit == RhythmUnit::Weeks) {
    // The end as a last day and a count, so that the loop is plain sums.
    QDate last = until;
    if (record.end == RecurringEnd::OnDate && record.until < last)
      last = record.until;
    const int count =
        record.end == RecurringEnd::AfterTimes ? record.times : INT_MAX;
    const qint64 step =
        (unit == RhythmUnit::Weeks ? 7LL : 1LL) * record.rhythm.every;
    const QDate start = OccurrenceDate(record.rhythm, record.first, n);
    if (!start.isValid())
      return;
    const qint64 lastDay = last.toJulianDay();
    for (qint64 day = start.toJulianDay(); day <= lastDay && n < count;
         day += step, ++n)
      visit(n, QDate::fromJulianDay(day));
    return;
  }
  for (QDate date = OccurrenceDate(record.rhythm, record.first, n);
       date.isValid() && date <= until && BeforeEnd(record, n, date);
       date = OccurrenceDate(record.rhythm, record.first, ++n))
    visit(n, date);
}

// The occurrences gathered, then sorted by date: for due dates spread over
// far more days than there are occurrences.
QList<DueOccurrence> SortedDue(const QList<RecurringRecord> &records,
                               const QDate &until) {
  QList<DueOccurrence> due;
  for (const RecurringRecord &record : records)
    if (!record.paused)
      ForEachDue(record, until, [&](int n, const QDate &date) {
        due.append(DueOccurrence{record.id, n, date});
      });
  std::stable_sort(due.begin(), due.end(),
                   [](const DueOccurrence &a, const DueOccurrence &b) {
                     return a.date < b.date;
                   });
  return due;
}

} // namespace

QList<DueOccurrence> DueOccurrences(const QList<RecurringRecord> &records,
                                    const QDate &until) {
  // The days the occurrences can fall on, and about how many there are.
  qint64 firstDay = until.toJulianDay() + 1;
  qsizetype expected = 0;
  for (const RecurringRecord &record : records) {
    if (record.paused || !record.first.isValid())
      continue;
    const QDate from =
        record.madeUpTo.isValid() ? record.madeUpTo : record.first;
    firstDay = std::min(firstDay, from.toJulianDay());
    expected += ExpectedCount(record, until);
  }
  const qint64 span = until.toJulianDay() - firstDay + 1;
  if (span <= 0)
    return {};
  if (span > 4 * qint64(expected) + 4096)
    return SortedDue(records, until);
  // A counting sort by day, straight into the result: the occurrences of
  // each day are counted, then written where their day begins. Those of one
  // day keep the order of the records (by ID) and of their numbers. A
  // year of daily occurrences of many records needs no sort and no copy.
  std::vector<qsizetype> starts(size_t(span) + 1, 0);
  qsizetype total = 0;
  for (const RecurringRecord &record : records)
    if (!record.paused)
      ForEachDue(record, until, [&](int, const QDate &date) {
        ++starts[size_t(date.toJulianDay() - firstDay) + 1];
        ++total;
      });
  for (size_t day = 1; day < starts.size(); ++day)
    starts[day] += starts[day - 1];
  QList<DueOccurrence> sorted(total);
  for (const RecurringRecord &record : records)
    if (!record.paused)
      ForEachDue(record, until, [&](int n, const QDate &date) {
        sorted[starts[size_t(date.toJulianDay() - firstDay)]++] =
            DueOccurrence{record.id, n, date};
      });
  return sorted;
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
  QString reason;
  {
    FirstMessage caught;
    if (CompleteNewRecord(row, *group, QDateTime(date, QTime::currentTime())))
      return true;
    reason = caught.Text();
  }
  ShowMessage(QStringLiteral("定期记录“%1”（%2）：%3")
                  .arg(record.title, date.toString(Qt::ISODate), reason));
  return false;
}

// Adds rows as one undo step with the dates they were made up to; nothing
// of it stays in the file when a part fails.
bool StoreOccurrences(AccountFile &file, CDBVisiter &session,
                      const QList<CRowItem> &rows,
                      const QList<DueOccurrence> &made) {
  CommandHistory &history = file.History();
  history.BeginGroup();
  if (history.AddRows(rows) != rows.size() || !StoreLastDates(session, made)) {
    // Rows shown meanwhile go when the pages reload.
    history.DiscardGroup();
    file.RecordsChanged();
    return false;
  }
  return history.EndGroup();
}

bool AddOccurrences(AccountFile &file, const QList<RecurringRecord> &records,
                    const QList<DueOccurrence> &occurrences,
                    QList<CRowItem> *made, QList<int> *skipped) {
  if (occurrences.isEmpty())
    return true;
  CDBVisiter *session = WritableSession(file);
  if (!session)
    return false;
  const QMap<int, int> keys = LargestKeys(file, records);
  QList<CRowItem> rows;
  QList<DueOccurrence> madeOccurrences;
  QList<int> skippedIds;
  MakeRows(file, records, occurrences, rows, madeOccurrences, skippedIds);
  if (skipped)
    *skipped = skippedIds;
  if (rows.isEmpty())
    return true;
  // What the parts say is held: a file that cannot be written is told once.
  HeldMessages held;
  if (!StoreOccurrences(file, *session, rows, madeOccurrences)) {
    RestoreLargestKeys(file, keys);
    const QString failure =
        FailureOfWork(held.Texts(), QStringLiteral("定期记录没有生成"));
    if (failure.isEmpty())
      held.Release();
    else
      held.ReplaceWith(failure);
    return false;
  }
  held.Release();
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
  QList<CRowItem> made;
  return AddOccurrences(file, records, due, &made) ? int(made.size()) : -1;
}

bool SkipOccurrences(AccountFile &file,
                     const QList<DueOccurrence> &occurrences) {
  if (occurrences.isEmpty())
    return true;
  CDBVisiter *session = WritableSession(file);
  if (!session)
    return false;
  UnitOfWork unit(session);
  return StoreLastDates(*session, occurrences) && unit.Commit();
}
