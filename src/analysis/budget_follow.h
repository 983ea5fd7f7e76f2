// Keeping a budget in step with the options sheet: when its option column
// or sum column is renamed the budget follows the new field name, and when
// options of its option column are renamed (options that went and as many
// that came, paired in order) their amounts move to the new names. What
// cannot follow (a column deleted, budgeted options gone without a new
// name) is told to the user; the amounts stay stored.
#pragma once

#include "model/column_def.h"

#include <QList>
#include <QStringList>

class AccountFile;
class CDBVisiter;
struct Budget;

// Brings budget in step with the column definitions before and after an
// edit (matched by ID). Returns the messages for what could not follow;
// changed tells whether budget changed.
QStringList FollowColumnEdits(Budget &budget, const QList<ColumnDef> &before,
                              const QList<ColumnDef> &after, bool &changed);

// Every column definition as stored, enabled or not.
QList<ColumnDef> StoredColumnDefs(CDBVisiter &session);
// After the options sheet wrote its column edits (before: the definitions
// as stored until then): the stored budget follows them, and what could
// not follow is shown.
void FollowStoredColumnEdits(AccountFile &file, const QList<ColumnDef> &before);
