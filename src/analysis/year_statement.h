// The figures of the yearly statement (年度报表): for one calendar year and
// one scope, per month the number of records and the sum of a numeric
// column, and the same split by the options of an option column, per month
// and for the year. One grouped statement reads them all, whatever the
// number of records. In a ledger with a side column (model/side_column.h)
// spending and income are summed apart, never together: per month and for
// the year their sums and the balance, and the split by option per side.
#pragma once

#include <QList>
#include <QString>

#include <array>

class CDBVisiter;
class ColumnList;

struct YearStatementRequest {
  int year = 0;
  QString sumField;   // a numeric column
  QString byField;    // an option column; empty for no split
  QString scopeWhere; // the records in scope; empty for every record
};

struct PeriodTotal {
  int count = 0;
  double sum = 0;
};

struct OptionTotals {
  QString option; // as stored; "（空）" for records without one
  std::array<PeriodTotal, 12> months{};
  PeriodTotal year;
  QString side; // "支出" or "收入" in a ledger with a side column
};

// Spending and income of a period, kept apart.
struct SideTotals {
  PeriodTotal spending;
  PeriodTotal income;
  double Balance() const { return income.sum - spending.sum; }
};

// A row of the options' table: an option (of one side when there are
// sides), a side's total, the balance, or the total of all options.
struct OptionTableRow {
  QString label;
  std::array<PeriodTotal, 12> months{};
  PeriodTotal year;
};

struct YearStatement {
  int year = 0;
  QString dateTitle; // the captions of the date, sum and option columns
  QString sumTitle;
  QString byTitle;   // empty without a split
  // Every record in scope is counted; without sides the sums are of every
  // record, with sides they are left at 0 (see sideMonths).
  std::array<PeriodTotal, 12> months{};
  PeriodTotal total;
  // The column's options in its order, then values outside the list, then
  // the records without one; options without records are left out. With
  // sides, the spending rows come first, then the income rows.
  QList<OptionTotals> options;
  // The side column's caption; empty in a ledger without one.
  QString sideTitle;
  std::array<SideTotals, 12> sideMonths{};
  SideTotals sideTotal;
  bool byIsSide = false; // the split is by the side column itself

  bool IsEmpty() const { return total.count == 0; }
  bool HasSides() const { return !sideTitle.isEmpty(); }
};

// The rows of the options' table. Without sides: the options, then "合计".
// With sides: the spending options ("餐饮（支出）"), "支出合计", the income
// options, "收入合计", then "结余" (income less spending); split by the
// side column itself: "支出", "收入", "结余".
QList<OptionTableRow> OptionTableRows(const YearStatement &statement);

// The sum and option columns a statement takes when none is given: the
// column the charts sum by default, and the first option column (empty when
// there is none).
void DefaultStatementColumns(const ColumnList &columns, QString &sumField,
                             QString &byField);

// Reads the statement; false with a Chinese message in error when the
// request does not fit the file (no date column, a sum column that is not
// numeric, a split column that is no option column, a year outside 100 to
// 9999), the engine refuses the statement (a scope it cannot run) or a sum
// lies beyond the range of numbers.
bool BuildYearStatement(CDBVisiter &session, const ColumnList &columns,
                        const YearStatementRequest &request,
                        YearStatement &statement, QString *error);

// The grouped statement BuildYearStatement runs (for the benchmark);
// empty when the request does not fit the file.
QString YearStatementQuery(const ColumnList &columns,
                           const YearStatementRequest &request);
