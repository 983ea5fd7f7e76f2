// The series of the monthly bar chart: one bar per calendar month from the
// month of the earliest record date in scope to that of the latest, each
// the sum of one numeric column over that month's records in scope, months
// without records included with 0. A stored date that does not read as a
// date ("YYYY-MM-..." between the years 100 and 9999) is left out and
// counted, so that one such record cannot empty the chart. Every month
// between is charted, whatever its year: dates run from the year 100 to
// 9999, at most 118,800 bars, which the chart scrolls through. In a ledger
// with a side column the bars sum one side (spending unless asked
// otherwise).
#pragma once

#include "analysis/chart_side.h"
#include "groups/filter_where.h"

#include <QList>
#include <QString>
#include <QStringList>

class CDBVisiter;
class ColumnList;

struct BarSeries {
  QStringList labels; // "2010/3"
  QList<double> values;
  // Records in scope whose date is there but does not read as one.
  int unreadableDates = 0;
  // The side summed ("支出") in a ledger with a side column; else empty.
  QString side;

  int Size() const { return int(labels.size()); }
  bool IsEmpty() const { return labels.isEmpty(); }
};

// "N 条记录的日期无法识别" for the unreadable dates of a series; empty when
// there are none.
QString UnreadableDatesNote(const BarSeries &series);

// What both ways of building the series share: the bracketed date and sum
// fields and the WHERE text of scope and set-up condition.
struct BarQuery {
  QString dateField; // "[Data]"
  QString sumField;  // "[Total]"
  QString where;     // may be empty
};

// The condition on the date column that holds for the readable dates.
QString ReadableDateWhere(const QString &dateField);

// The query of a bar series; false when there can be no bars: no date
// column, no numeric column of that name, or a failed set-up condition.
bool PrepareBarQuery(const ColumnList &columns, const QString &sumField,
                     const QString &scopeWhere, const FilterWhere &setUp,
                     BarQuery &query, ChartSide side = ChartSide::Spending);

// The series by one grouped statement over the whole range. When that
// statement fails, the month walk builds it instead, so that a month whose
// statement fails only loses its own bar.
BarSeries BuildBarSeries(CDBVisiter &session, const ColumnList &columns,
                         const QString &sumField, const QString &scopeWhere,
                         const FilterWhere &setUp,
                         ChartSide side = ChartSide::Spending);

// The series by the month walk: the earliest and latest date, then one
// statement per month; a month whose statement fails gets no bar.
BarSeries BuildBarSeriesByMonth(CDBVisiter &session, const BarQuery &query);
BarSeries BuildBarSeriesByMonth(CDBVisiter &session, const ColumnList &columns,
                                const QString &sumField,
                                const QString &scopeWhere,
                                const FilterWhere &setUp,
                                ChartSide side = ChartSide::Spending);
