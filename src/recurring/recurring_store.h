// The recurring records of an account file, kept in its table
// RecurringRecord (in the templates; the schema upgrade adds it to older
// files). Every change is one unit of work; a file opened for viewing
// refuses it with the usual read-only message, and a record that does not
// fit the file (RecurringProblem) is refused with its reason. Refusals and
// failures are shown through the prompt.
#pragma once

#include "recurring/recurring_record.h"

#include <QList>

class AccountFile;
class CDBVisiter;

// The recurring records of file by ID; none when the file has no such
// table (an older file opened for viewing).
QList<RecurringRecord> LoadRecurringRecords(AccountFile &file);
// The one with that ID; false, with "没有 ID 为 … 的定期记录" shown, when
// there is none.
bool FindRecurringRecord(AccountFile &file, int id, RecurringRecord &out);

// Stores a new recurring record; its ID goes to record.id.
bool AddRecurringRecord(AccountFile &file, RecurringRecord &record);
// Rewrites everything of the record with record.id but its "made up to".
bool UpdateRecurringRecord(AccountFile &file, const RecurringRecord &record);
bool SetRecurringPaused(AccountFile &file, int id, bool paused);
bool DeleteRecurringRecord(AccountFile &file, int id);

// Sets the "made up to" date of the record with that ID on session, inside
// the caller's unit of work; false when no record was changed.
bool StoreMadeUpTo(CDBVisiter &session, int id, const QDate &date);
