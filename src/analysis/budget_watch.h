// Telling the user when a change of records takes an option over its
// month's budget: "餐饮本月已超出预算 120.00 元（按全部记录）". The sums of this month
// and the month before (where records are entered; a look at every month
// would read every record of a large file after each edit) are kept from
// one look to the next; a look after records changed compares the new sums
// with the kept ones, so that each option is named once, when it goes
// over, and not again while it stays over. The sums are taken over all
// records of the file, and the note says so: the budget is the file's,
// whatever the window shows (the budget page names its own scope).
#pragma once

#include "analysis/budget.h"

#include <QHash>
#include <QString>
#include <QStringList>

class CDBVisiter;
class ColumnList;

// Spent per month ("2026-03") and option; the option "" holds the month's
// sum over every budgeted option.
using SpentByMonth = QHash<QString, QHash<QString, double>>;

// The sums of the budgeted options in the months first to last by one
// grouped statement. False when the budget's columns do not fit or the
// statement fails.
bool ReadSpentByMonth(CDBVisiter &session, const ColumnList &columns,
                      const Budget &budget, const YearMonth &first,
                      const YearMonth &last, SpentByMonth &spent);

// The messages for every option (and the month's total) that is over its
// budget after and was not before, in the order of the months and of the
// budget's options. thisMonth is named "本月".
QStringList OverBudgetNotes(const Budget &budget, const SpentByMonth &before,
                            const SpentByMonth &after,
                            const YearMonth &thisMonth);

class BudgetWatch {
public:
  // Takes the sums as they are now, without telling anything: after a file
  // was opened, or its budget or columns changed.
  void Reset(CDBVisiter &session, const ColumnList &columns);
  // After a change of records: the messages of what went over since the
  // last look; the sums are kept for the next one.
  QStringList Look(CDBVisiter &session, const ColumnList &columns);

private:
  Budget budget_;
  SpentByMonth spent_;
};
