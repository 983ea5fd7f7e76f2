// Slice specifications and the pie series, by slice and in one pass.
#include "analysis/pie_series.h"

#include "analysis/chart_columns.h"
#include "db/db_visiter.h"
#include "groups/group_where.h"
#include "model/column_list.h"
#include "model/sql_text.h"

#include <cmath>
#include <optional>

namespace {

// Slices per statement of the one-pass sum: well below the engine's limit
// of 2000 result columns.
constexpr int kSlicesPerStatement = 200;

QString OptionCondition(const QString &field, const QString &option) {
  return BracketedField(field) + QLatin1Char('=') + SqlTextLiteral(option);
}

// The sum of one slice by its own statement; nothing when it fails.
std::optional<double> SliceSum(CDBVisiter &session, const QString &sumField,
                               const QString &scopeWhere,
                               const SliceSpec &slice) {
  QString sql = QStringLiteral("SELECT SUM(%1) FROM Users Where %2")
                    .arg(sumField, slice.condition);
  if (!scopeWhere.isEmpty())
    sql += QStringLiteral(" And (") + scopeWhere + QLatin1Char(')');
  if (session.Query(sql) == 0)
    return std::nullopt;
  return session.GetDouble(0);
}

// The records some slice may count: in every expanded column one of the
// ticked options, compared as the slice conditions compare. Passing over
// the others spares their slice conditions.
QString AnySliceCondition(const QList<ExpandedColumn> &expanded) {
  QStringList pieces;
  for (const ExpandedColumn &column : expanded) {
    QStringList options;
    for (const QString &option : column.options)
      options.append(SqlTextLiteral(option));
    pieces.append(BracketedField(column.fieldName) + QStringLiteral(" In (") +
                  options.join(QLatin1Char(',')) + QLatin1Char(')'));
  }
  return pieces.join(QStringLiteral(" And "));
}

// The sums of slices [begin, end) by one statement over the records in
// scope that some slice may count; false when it fails.
bool ChunkSums(CDBVisiter &session, const QString &sumField,
               const QString &where, const QList<SliceSpec> &slices,
               int begin, int end, QList<double> &sums) {
  QStringList columns;
  for (int i = begin; i < end; ++i)
    columns.append(QStringLiteral("SUM(CASE WHEN %1 THEN %2 END)")
                       .arg(slices[i].condition, sumField));
  const QString sql = QStringLiteral("SELECT ") +
                      columns.join(QStringLiteral(", ")) +
                      QStringLiteral(" FROM Users Where ") + where;
  if (session.Query(sql) == 0)
    return false;
  for (int i = 0; i < end - begin; ++i)
    sums.append(session.GetDouble(i));
  return true;
}

void AppendSlice(PieSeries &series, const SliceSpec &slice,
                 std::optional<double> sum) {
  if (!sum || !(std::fabs(*sum) >= kSliceThreshold))
    return;
  series.labels.append(slice.label);
  series.sums.append(*sum);
}

} // namespace

QList<SliceSpec> BuildSliceSpecs(const QList<ExpandedColumn> &expanded) {
  QList<SliceSpec> specs;
  for (const ExpandedColumn &column : expanded)
    if (column.options.isEmpty())
      return specs;
  for (auto it = expanded.crbegin(); it != expanded.crend(); ++it) {
    QList<SliceSpec> next;
    for (const QString &option : it->options) {
      const QString condition = OptionCondition(it->fieldName, option);
      if (specs.isEmpty()) {
        next.append({option, condition});
        continue;
      }
      for (const SliceSpec &inner : specs)
        next.append({option + QLatin1Char('|') + inner.label,
                     condition + QStringLiteral(" and ") + inner.condition});
    }
    specs = std::move(next);
  }
  return specs;
}

QString PieScopeWhere(const ColumnList &columns, const QString &scopeWhere,
                      ChartSide side) {
  if (side == ChartSide::Balance)
    side = ChartSide::Spending;
  return CombineWhere(scopeWhere, SideWhere(columns, side));
}

PieSeries BuildPieSeriesBySlice(CDBVisiter &session, const ColumnList &columns,
                                const QString &sumField,
                                const QString &scopeWhereIn,
                                const QList<ExpandedColumn> &expanded,
                                ChartSide side) {
  const QString scopeWhere = PieScopeWhere(columns, scopeWhereIn, side);
  PieSeries series;
  const ColumnDef *sum = ChartSumColumn(columns, sumField);
  if (!sum)
    return series;
  const QString field = BracketedField(sum->fieldName);
  for (const SliceSpec &slice : BuildSliceSpecs(expanded))
    AppendSlice(series, slice, SliceSum(session, field, scopeWhere, slice));
  return series;
}

PieSeries BuildPieSeries(CDBVisiter &session, const ColumnList &columns,
                         const QString &sumField, const QString &scopeWhereIn,
                         const QList<ExpandedColumn> &expanded, ChartSide side) {
  const QString scopeWhere = PieScopeWhere(columns, scopeWhereIn, side);
  PieSeries series;
  const ColumnDef *sum = ChartSumColumn(columns, sumField);
  if (!sum)
    return series;
  const QString field = BracketedField(sum->fieldName);
  const QList<SliceSpec> slices = BuildSliceSpecs(expanded);
  if (slices.isEmpty())
    return series;
  const QString any = AnySliceCondition(expanded);
  const QString where = scopeWhere.isEmpty()
                            ? any
                            : QLatin1Char('(') + scopeWhere +
                                  QStringLiteral(") And ") + any;
  for (int begin = 0; begin < slices.size(); begin += kSlicesPerStatement) {
    const int end = std::min(int(slices.size()), begin + kSlicesPerStatement);
    QList<double> sums;
    if (ChunkSums(session, field, where, slices, begin, end, sums)) {
      for (int i = begin; i < end; ++i)
        AppendSlice(series, slices[i], sums[i - begin]);
      continue;
    }
    for (int i = begin; i < end; ++i)
      AppendSlice(series, slices[i],
                  SliceSum(session, field, scopeWhere, slices[i]));
  }
  return series;
}
