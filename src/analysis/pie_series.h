// The series of the proportion pie chart: one slice per combination of the
// ticked options of the expanded option columns, each the sum of one
// numeric column over the records in scope that carry exactly those options.
// In a ledger with a side column the slices sum one side at a time
// (spending unless asked otherwise): a share of spending and income
// together means nothing.
#pragma once

#include "analysis/chart_set_up.h"
#include "analysis/chart_side.h"

#include <QList>
#include <QString>
#include <QStringList>

class CDBVisiter;
class ColumnList;

// One slice to be: its label ("Food|Cash") and the condition on its
// records ("[Kind]='Food' and [Account]='Cash'").
struct SliceSpec {
  QString label;
  QString condition;
};

// The slices of the expanded columns, combined from the last column back to
// the first: the first column's options vary slowest. Option texts have
// their quotes doubled. A column with nothing ticked gives no slices at all.
QList<SliceSpec> BuildSliceSpecs(const QList<ExpandedColumn> &expanded);

struct PieSeries {
  QStringList labels;
  QList<double> sums;

  int Size() const { return int(sums.size()); }
  bool IsEmpty() const { return sums.isEmpty(); }
};

// Slices whose sum is below this in absolute value are left out.
inline constexpr double kSliceThreshold = 0.000001;

// The series by one pass over the records that sums every slice at once (a
// few hundred slices per statement). Slices of a statement that fails are
// summed one statement each, so a failing slice only loses itself. Empty
// when sumField is not a numeric column.
// side is spending or income; the balance counts as spending.
PieSeries BuildPieSeries(CDBVisiter &session, const ColumnList &columns,
                         const QString &sumField, const QString &scopeWhere,
                         const QList<ExpandedColumn> &expanded,
                         ChartSide side = ChartSide::Spending);

// The series by one statement per slice.
PieSeries BuildPieSeriesBySlice(CDBVisiter &session, const ColumnList &columns,
                                const QString &sumField,
                                const QString &scopeWhere,
                                const QList<ExpandedColumn> &expanded,
                                ChartSide side = ChartSide::Spending);

// The scope of a pie chart on side: scopeWhere and the side's records.
QString PieScopeWhere(const ColumnList &columns, const QString &scopeWhere,
                      ChartSide side);
