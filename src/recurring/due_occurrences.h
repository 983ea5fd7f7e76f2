// The occurrences of recurring records that are due, and what becomes of
// them: added as records, or skipped. Both move each record's "made up to"
// to its last occurrence handled, in the same unit of work as the records,
// so that an occurrence is made once even when the program dies right
// after.
#pragma once

#include "recurring/recurring_record.h"

#include <QDate>
#include <QList>

class AccountFile;
class CRowItem;

struct DueOccurrence {
  int recurringId = 0;
  int number = 0; // 0 for the first occurrence of the record
  QDate date;
};

// Every occurrence after "made up to" dated up to until, of the records
// that are not paused, by date and then by record. Each is dated on its
// own due date: a file closed for three months has three months of them.
QList<DueOccurrence> DueOccurrences(const QList<RecurringRecord> &records,
                                    const QDate &until);
// The records that are added without asking / the others.
QList<RecurringRecord> AutomaticRecords(const QList<RecurringRecord> &records,
                                        bool automatic);
// The record an occurrence belongs to, or null.
const RecurringRecord *RecordOf(const QList<RecurringRecord> &records,
                                const DueOccurrence &occurrence);

// The new record an occurrence makes, as the new-record row of its group
// makes one: the record's texts, the due date in the first date column,
// the group's next key, the defaults and formulas. False, with the reason
// shown, when the record no longer fits the file or a formula gives no
// number.
bool MakeOccurrenceRow(AccountFile &file, const RecurringRecord &record,
                       const QDate &date, CRowItem &row);

// Adds the occurrences as records, one action of the undo history, and
// moves "made up to" of their records in the same unit of work. A record
// whose occurrence cannot be made (it no longer fits the file, a value
// gives no number) is named and skipped with all its occurrences, which
// stay due; its ID goes to skipped (when given) and the other records are
// added. False, with the file as it was, when the rows cannot be stored.
// The stored rows go to made (when given). Undoing the action removes the
// records but leaves "made up to": an undone occurrence is not offered
// again on the next open.
bool AddOccurrences(AccountFile &file, const QList<RecurringRecord> &records,
                    const QList<DueOccurrence> &occurrences,
                    QList<CRowItem> *made = nullptr,
                    QList<int> *skipped = nullptr);
// Adds every occurrence due up to today of the records that are added
// without asking (AddOccurrences); the number of records added, -1 after a
// failure (shown). A record that cannot be made is named and skipped.
int AddAutomaticOccurrences(AccountFile &file,
                            const QList<RecurringRecord> &records,
                            const QDate &today);
// Moves "made up to" past the occurrences without making records.
bool SkipOccurrences(AccountFile &file,
                     const QList<DueOccurrence> &occurrences);
