// The budget of an account file, kept in its table Budget (added by the
// schema upgrade) so that it travels with the file. One row per amount:
// the option column and sum column, the option (empty for the month's
// total), the month ("" for every month, "2026-03" for a month set apart)
// and the amount.
#pragma once

#include "analysis/budget.h"

class AccountFile;
class CDBVisiter;

// The budget of the file; an empty one when none is set or the file has no
// budget table (an older file opened for viewing).
Budget LoadBudget(CDBVisiter &session);

// Replaces the stored budget by budget in one unit of work. Refused, with
// the message shown and nothing changed, for a file opened for viewing,
// for columns that cannot carry a budget and for a negative amount.
bool SaveBudget(AccountFile &file, const Budget &budget);
// The statements of SaveBudget without its checks, for a budget that
// follows column edits not loaded yet.
bool WriteBudget(CDBVisiter &session, const Budget &budget);
