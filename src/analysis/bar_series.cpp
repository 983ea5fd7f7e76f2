// The bar series by one grouped statement.
//
// The month walk asks, for every month, for the records whose date text lies
// between the month's first day and its last day at midnight. Here one
// statement sums the records per stored date text over the whole scope,
// sorted as Min and Max sort: its first and last rows are the earliest and
// latest date, and every row is put into the month whose bounds hold its
// text, compared byte by byte as the engine compares the date column. So
// the bars are the walk's bars, months without records included, for one
// pass over the records instead of one query per month.
#include "analysis/bar_series.h"

#include "analysis/chart_columns.h"
#include "analysis/month_span.h"
#include "db/db_visiter.h"
#include "groups/group_where.h"
#include "model/column_list.h"
#include "model/side_column.h"

#include <QVariant>

#include <cstdio>
#include <vector>

namespace {

// The stored text of a date as the adapter writes it: "YYYY-MM-DD HH:MM:SS".
QByteArray BoundText(const YearMonth &month, int day) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d 00:00:00", month.year,
                month.month, day);
  return QByteArray(text);
}

// The month a stored date text starts with ("YYYY-MM-"); false for a text
// of another form, which lies in no month.
bool MonthOfText(const QByteArray &text, YearMonth &month) {
  if (text.size() < 8 || text[4] != '-' || text[7] != '-')
    return false;
  for (const int i : {0, 1, 2, 3, 5, 6})
    if (text[i] < '0' || text[i] > '9')
      return false;
  month.year = text.left(4).toInt();
  month.month = text.mid(5, 2).toInt();
  return month.month >= 1 && month.month <= 12;
}

// Whether a stored text reads as a date: the form MonthOfText asks for,
// between the first and the last date the adapter stores. ReadableDateWhere
// asks the same of the engine.
bool IsReadableDateText(const QByteArray &text) {
  YearMonth month;
  return text >= "0100-01-01 00:00:00" && text <= "9999-12-31 23:59:59" &&
         MonthOfText(text, month);
}

// Long values sort above every text and lie in no month. (A number comes
// back as its text, which never has the form "YYYY-MM-"; numbers sort below
// every text and lie in no month either.)
bool IsText(const QVariant &value) {
  return value.typeId() == QMetaType::QString;
}

QString GroupedStatement(const BarQuery &query) {
  const QString &date = query.dateField;
  QString sql = QStringLiteral("SELECT %1, Mid(%1,1,8), Mid(%1,9), SUM(%2), "
                               "COUNT(%1) FROM Users")
                    .arg(date, query.sumField);
  if (!query.where.isEmpty())
    sql += QStringLiteral(" WHERE (") + query.where + QLatin1Char(')');
  return sql + QStringLiteral(" GROUP BY %1 ORDER BY %1").arg(date);
}

// One row of the grouped statement.
struct DateSum {
  bool readable = false; // a date text that reads (IsReadableDateText)
  QByteArray text; // the stored text
  double sum = 0;
};

// Reads every row; the texts of the first and last readable date are what
// Min and Max of the readable dates give (rows come in date order). The
// records of the other dates with a value are counted in unreadable.
std::vector<DateSum> ReadRows(CDBVisiter &session, int rows, bool &any,
                              QString &earliest, QString &latest,
                              int &unreadable) {
  std::vector<DateSum> result;
  result.reserve(size_t(rows));
  any = false;
  for (int row = 0; row < rows; ++row, session.MoveNext()) {
    // The first half is a plain text (or a long value, or null), never
    // read as a date, so it tells the kind of the stored value cheaply.
    QVariant head;
    session.GetValue(head, 1, false);
    DateSum entry;
    if (head.isValid() && IsText(head))
      entry.text = (head.toString() + session.GetString(2)).toUtf8();
    entry.readable = IsReadableDateText(entry.text);
    if (entry.readable) {
      latest = session.GetString(0);
      if (!any)
        earliest = latest;
      any = true;
    } else if (head.isValid()) {
      unreadable += session.GetInt(4);
    }
    entry.sum = session.GetDouble(3);
    result.push_back(std::move(entry));
  }
  return result;
}

// Adds a row's sum to the month whose bounds hold its text, if any.
void AddToMonth(const DateSum &row, const YearMonth &first,
                std::vector<double> &values) {
  YearMonth month;
  if (!row.readable || !MonthOfText(row.text, month))
    return;
  const qint64 k = month.Index() - first.Index();
  if (k < 0 || k >= qint64(values.size()))
    return;
  if (row.text < BoundText(month, 1) ||
      row.text > BoundText(month, DaysInMonth(month.year, month.month)))
    return;
  values[size_t(k)] += row.sum;
}

} // namespace

QString UnreadableDatesNote(const BarSeries &series) {
  if (series.unreadableDates == 0)
    return QString();
  return QStringLiteral("%1 条记录的日期无法识别").arg(series.unreadableDates);
}

QString ReadableDateWhere(const QString &dateField) {
  return QStringLiteral("(%1>=#100-1-1# And %1<=#9999-12-31 23:59:59# And "
                        "Mid(%1,5,1)='-' And Mid(%1,8,1)='-' And "
                        "Mid(%1,6,2)>='01' And Mid(%1,6,2)<='12')")
      .arg(dateField);
}

bool PrepareBarQuery(const ColumnList &columns, const QString &sumField,
                     const QString &scopeWhere, const FilterWhere &setUp,
                     BarQuery &query, ChartSide side) {
  const ColumnDef *date = ChartDateColumn(columns);
  const ColumnDef *sum = ChartSumColumn(columns, sumField);
  if (!date || !sum || !setUp.ok)
    return false;
  const SideSum sided = SideSumOf(columns, BracketedField(sum->fieldName), side);
  query.dateField = BracketedField(date->fieldName);
  query.sumField = sided.sum;
  query.where = CombineWhere(CombineWhere(scopeWhere, setUp.text), sided.where);
  return true;
}

BarSeries BuildBarSeries(CDBVisiter &session, const ColumnList &columns,
                         const QString &sumField, const QString &scopeWhere,
                         const FilterWhere &setUp, ChartSide side) {
  BarQuery query;
  if (!PrepareBarQuery(columns, sumField, scopeWhere, setUp, query, side))
    return BarSeries();
  const QString sideName = SideColumnOf(columns) ? ChartSideName(side) : QString();
  // No rows means a failed statement or no records in scope; the walk
  // tells the two apart at the cost of one query when nothing is in scope.
  const int rows = session.Query(GroupedStatement(query));
  if (rows == 0) {
    BarSeries series = BuildBarSeriesByMonth(session, query);
    series.side = sideName;
    return series;
  }

  // Rows come in the order of the date column, nulls first.
  bool any = false;
  QString earliest, latest;
  BarSeries series;
  series.side = sideName;
  const std::vector<DateSum> sums =
      ReadRows(session, rows, any, earliest, latest, series.unreadableDates);
  YearMonth first, last;
  if (!any || earliest.isEmpty() || !MonthSpan(earliest, latest, first, last) ||
      first.Index() > last.Index())
    return series;

  std::vector<double> values(size_t(last.Index() - first.Index() + 1), 0.0);
  for (const DateSum &row : sums)
    AddToMonth(row, first, values);
  series.labels.reserve(qsizetype(values.size()));
  series.values.reserve(qsizetype(values.size()));
  for (size_t k = 0; k < values.size(); ++k) {
    series.labels.append(MonthLabel(YearMonth::FromIndex(first.Index() + qint64(k))));
    series.values.append(values[k]);
  }
  return series;
}
