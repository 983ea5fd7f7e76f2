// The figures of the yearly statement (年度报表): for one calendar year and
// one scope, per month the number of records and the sum of a numeric
// column, and the same split by the options of an option column, per month
// and for the year. One grouped statement reads them all, whatever the
// number of records.
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
};

struct YearStatement {
  int year = 0;
  QString dateTitle; // the captions of the date, sum and option columns
  QString sumTitle;
  QString byTitle;   // empty without a split
  std::array<PeriodTotal, 12> months{};
  PeriodTotal total;
  // The column's options in its order, then values outside the list, then
  // the records without one; options without records are left out.
  QList<OptionTotals> options;

  bool IsEmpty() const { return total.count == 0; }
};

// The sum and option columns a statement takes when none is given: the
// column the charts sum by default, and the first option column (empty when
// there is none).
void DefaultStatementColumns(const ColumnList &columns, QString &sumField,
                             QString &byField);

// Reads the statement; false with a Chinese message in error when the
// request does not fit the file (no date column, a sum column that is not
// numeric, a split column that is no option column, a year outside 100 to
// 9999) or the engine refuses the statement (a scope it cannot run).
bool BuildYearStatement(CDBVisiter &session, const ColumnList &columns,
                        const YearStatementRequest &request,
                        YearStatement &statement, QString *error);

// The grouped statement BuildYearStatement runs (for the benchmark);
// empty when the request does not fit the file.
QString YearStatementQuery(const ColumnList &columns,
                           const YearStatementRequest &request);
