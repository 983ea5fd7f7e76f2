// The series of the proportion pie chart: one slice per combination of the
// ticked options of the expanded option columns, each the sum of one
// numeric column over the records in scope that carry exactly those options.
#pragma once

#include "analysis/chart_set_up.h"

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
PieSeries BuildPieSeries(CDBVisiter &session, const ColumnList &columns,
                         const QString &sumField, const QString &scopeWhere,
                         const QList<ExpandedColumn> &expanded);

// The series by one statement per slice.
PieSeries BuildPieSeriesBySlice(CDBVisiter &session, const ColumnList &columns,
                                const QString &sumField,
                                const QString &scopeWhere,
                                const QList<ExpandedColumn> &expanded);
