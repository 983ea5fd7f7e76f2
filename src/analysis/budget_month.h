// The figures of a budget for one month: per budgeted option its budget,
// what was spent and what is left, and the total, over the records in
// scope (the WHERE text of the active groups and the filter, as the
// charts use it). Spent is the sum of the sum column over the month's
// records of the option: the templates keep expenses as positive amounts,
// so a refund entered as a negative amount lowers it. In a ledger with a
// side column (收支账本's 收支) only the records of 支出 count: income such
// as a 红包 received or a 价保 refund booked as 收入 is no spending.
#pragma once

#include "analysis/budget.h"
#include "analysis/chart_colours.h"
#include "groups/filter_set.h"

#include <QList>
#include <QString>

class CDBVisiter;
class ColumnList;

struct BudgetLine {
  QString option; // "合计" for the total
  double budget = 0;
  double spent = 0;

  double Left() const { return budget - spent; }
  // spent / budget: 1 at the budget; 0 with nothing spent, 2 (far over)
  // when something was spent of a budget of 0.
  double Ratio() const;
};

// The colour of a line's bar: green under 80% of the budget, amber up to
// 100%, red over.
enum class BudgetBand { Green, Amber, Red };
BudgetBand BandOf(const BudgetLine &line);

struct BudgetMonth {
  YearMonth month;
  QList<BudgetLine> lines; // the budgeted options of the month
  // Budget: the month's total when one is set, else the sum of the lines;
  // spent: the sum of the lines.
  BudgetLine total;
  // Why there are no figures (no budget, columns that do not fit, a failed
  // statement); empty when there are.
  QString problem;
};

// "[Data]>=#2026-2-1# And [Data]<#2026-4-1#": the records from the first
// day of first to the end of last, by the stored date text.
QString MonthsWhere(const QString &dateField, const YearMonth &first,
                    const YearMonth &last);

// The figures of budget for month over scopeWhere.
BudgetMonth BuildBudgetMonth(CDBVisiter &session, const ColumnList &columns,
                             const Budget &budget, const YearMonth &month,
                             const QString &scopeWhere);

// The fill of a bar of each band, in the bar chart's colours: its green and
// red ends and the amber between.
ChartRgb BudgetBandColour(BudgetBand band);

// An amount as the page and the CLI show it: two decimals.
QString BudgetAmountText(double value);

// The lines as text, the total last as "合计": option, budget, spent and
// left with two decimals, tab-separated.
QStringList BudgetMonthTexts(const BudgetMonth &figures);

// The filter conditions that show the records of a line on the records
// page: the month on the date column and the option (for the total: every
// budgeted option of the month) on the option column.
QList<FilterCondition> BudgetLineConditions(const ColumnList &columns,
                                            const Budget &budget,
                                            const BudgetMonth &figures,
                                            const QString &option);
