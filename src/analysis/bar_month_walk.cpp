// The bar series month by month: Min and Max of the date column, then one
// SUM statement per calendar month between them. The grouped statement of
// bar_series.cpp gives the same bars faster; this walk is its fallback and
// the measure it is tested against.
#include "analysis/bar_series.h"

#include "analysis/month_span.h"
#include "db/db_visiter.h"
#include "model/side_column.h"

namespace {

// The statement of one value over the records in scope that meet
// condition.
QString ScopeStatement(const BarQuery &query, const QString &value,
                       const QString &condition) {
  QString sql = QStringLiteral("SELECT %1 FROM Users WHERE ").arg(value);
  if (!query.where.isEmpty())
    sql += QLatin1Char('(') + query.where + QStringLiteral(") AND ");
  return sql + condition;
}

// The text of Min or Max of the readable dates; false when the query fails.
bool DateBound(CDBVisiter &session, const BarQuery &query, const char *which,
               QString &text) {
  const QString value =
      QStringLiteral("%1(%2)").arg(QLatin1String(which), query.dateField);
  if (session.Query(ScopeStatement(query, value,
                                   ReadableDateWhere(query.dateField))) == 0)
    return false;
  text = session.GetString(0);
  return true;
}

// The records in scope with a date that does not read.
int UnreadableDates(CDBVisiter &session, const BarQuery &query) {
  const QString value = QStringLiteral("COUNT(%1)").arg(query.dateField);
  const QString condition =
      QStringLiteral("NOT ") + ReadableDateWhere(query.dateField);
  if (session.Query(ScopeStatement(query, value, condition)) == 0)
    return 0;
  return session.GetInt(0);
}

QString MonthStatement(const BarQuery &query, const YearMonth &month) {
  const QString bounds =
      QString::asprintf("%s>=#%d-%d-1# AND %s<=#%d-%d-%d#",
                        query.dateField.toUtf8().constData(), month.year,
                        month.month, query.dateField.toUtf8().constData(),
                        month.year, month.month,
                        DaysInMonth(month.year, month.month));
  QString sql = QStringLiteral("SELECT SUM(%1) FROM Users WHERE ").arg(query.sumField);
  if (!query.where.isEmpty())
    sql += QLatin1Char('(') + query.where + QStringLiteral(") AND ");
  return sql + bounds;
}

} // namespace

BarSeries BuildBarSeriesByMonth(CDBVisiter &session, const BarQuery &query) {
  BarSeries series;
  series.unreadableDates = UnreadableDates(session, query);
  QString earliest, latest;
  if (!DateBound(session, query, "Min", earliest) || earliest.isEmpty())
    return series;
  if (!DateBound(session, query, "Max", latest))
    return series;
  YearMonth first, last;
  if (!MonthSpan(earliest, latest, first, last))
    return series;
  for (qint64 i = first.Index(); i <= last.Index(); ++i) {
    const YearMonth month = YearMonth::FromIndex(i);
    if (session.Query(MonthStatement(query, month)) == 0)
      continue;
    series.labels.append(MonthLabel(month));
    series.values.append(session.GetDouble(0));
  }
  return series;
}

BarSeries BuildBarSeriesByMonth(CDBVisiter &session, const ColumnList &columns,
                                const QString &sumField,
                                const QString &scopeWhere,
                                const FilterWhere &setUp, ChartSide side) {
  BarQuery query;
  if (!PrepareBarQuery(columns, sumField, scopeWhere, setUp, query, side))
    return BarSeries();
  BarSeries series = BuildBarSeriesByMonth(session, query);
  if (SideColumnOf(columns))
    series.side = ChartSideName(side);
  return series;
}
