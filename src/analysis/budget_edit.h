// The budget editor's rules, kept apart from its dialog: the rows it shows
// (one per option of the option column, then the month's total), the
// amounts of the month before for "复制上月", and how the typed amounts
// become the budget. A row's text is empty when it has no amount.
#pragma once

#include "analysis/budget.h"

#include <QList>
#include <QString>

class ColumnList;

struct BudgetEditRow {
  QString option; // empty: the month's total
  QString text;   // the amount as shown or typed; empty for none
};

// The rows for the options of byField (and budgeted options it no longer
// has) and the total, with the amounts that
// hold in month ("" for every month: the every-month amounts only).
QList<BudgetEditRow> BudgetEditRows(const ColumnList &columns,
                                    const Budget &budget,
                                    const QString &byField,
                                    const QString &month);

// The option column the editor offers first for a file without a budget:
// the one with the most options (类别 rather than 收支); empty when there is
// none. The sum column offered first is the charts' DefaultSumField.
QString DefaultBudgetByField(const ColumnList &columns);

// The key of the month before ("2026-02" for "2026-03"); for "" (every
// month), the month before this one.
QString MonthBefore(const QString &month);

// Writes the rows into budget for month ("" every month): an amount is set,
// an empty text drops the row's own amount (a month set apart then falls
// back to every month's). In a month set apart, an amount equal to every
// month's is not kept apart. Other columns than the budget's start a new
// budget. False, with the message and the row, for a text that is no
// amount or negative, or columns that do not fit; budget is unchanged then.
bool ApplyBudgetEdit(const ColumnList &columns, const QString &byField,
                     const QString &sumField, const QString &month,
                     const QList<BudgetEditRow> &rows, Budget &budget,
                     QString &problem, int &badRow);
