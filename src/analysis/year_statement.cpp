// The figures of the yearly statement; see year_statement.h.
#include "analysis/year_statement.h"

#include "analysis/chart_columns.h"
#include "db/db_visiter.h"
#include "model/column_list.h"
#include "model/field_type.h"

#include <QHash>

namespace {

const ColumnDef *OptionColumn(const ColumnList &columns, const QString &field) {
  const int position = columns.PositionOf(field);
  if (position < 0 || !columns.At(position).enabled ||
      columns.At(position).type != FT_OPTION)
    return nullptr;
  return &columns.At(position);
}

bool Refuse(QString *error, const QString &text) {
  if (error)
    *error = text;
  return false;
}

// The checks of a request; false with the message.
bool CheckRequest(const ColumnList &columns, const YearStatementRequest &request,
                  QString *error) {
  if (request.year < 100 || request.year > 9999)
    return Refuse(error, QStringLiteral("年份无效：%1").arg(request.year));
  if (!ChartDateColumn(columns))
    return Refuse(error, QStringLiteral("账簿没有日期列，无法按月汇总！"));
  if (!ChartSumColumn(columns, request.sumField))
    return Refuse(error, QStringLiteral("汇总列“%1”不是数值列！").arg(request.sumField));
  if (!request.byField.isEmpty() && !OptionColumn(columns, request.byField))
    return Refuse(error, QStringLiteral("分类列“%1”不是可选型列！").arg(request.byField));
  return true;
}

// The option row of a value, made in the column's order first.
OptionTotals &RowOf(YearStatement &statement, QHash<QString, int> &index,
                    const QString &option) {
  auto found = index.constFind(option);
  if (found != index.cend())
    return statement.options[*found];
  index.insert(option, int(statement.options.size()));
  statement.options.append(OptionTotals{option, {}, {}});
  return statement.options.last();
}

void Add(PeriodTotal &total, int count, double sum) {
  total.count += count;
  total.sum += sum;
}

// Drops options without records, keeping the order; the records without
// an option come last.
void DropEmptyOptions(YearStatement &statement, const OptionTotals &none) {
  QList<OptionTotals> kept;
  for (const OptionTotals &row : statement.options)
    if (row.year.count > 0)
      kept.append(row);
  if (none.year.count > 0)
    kept.append(none);
  statement.options = kept;
}

} // namespace

void DefaultStatementColumns(const ColumnList &columns, QString &sumField,
                             QString &byField) {
  sumField = DefaultSumField(columns);
  const QList<ColumnDef> options = columns.ChoiceColumns();
  byField = options.isEmpty() ? QString() : options.first().fieldName;
}

QString YearStatementQuery(const ColumnList &columns,
                           const YearStatementRequest &request) {
  if (!CheckRequest(columns, request, nullptr))
    return QString();
  const QString date = BracketedField(ChartDateColumn(columns)->fieldName);
  const QString sum = BracketedField(ChartSumColumn(columns, request.sumField)->fieldName);
  const QString by = request.byField.isEmpty()
                         ? QStringLiteral("''")
                         : BracketedField(OptionColumn(columns, request.byField)->fieldName);
  QString where = QStringLiteral("%1>=#%2-1-1# And %1<=#%2-12-31 23:59:59#")
                      .arg(date).arg(request.year);
  if (!request.scopeWhere.isEmpty())
    where += QStringLiteral(" And (") + request.scopeWhere + QLatin1Char(')');
  return QStringLiteral("SELECT Mid(%1,6,2), %2, COUNT(*), SUM(%3) FROM Users "
                        "WHERE %4 GROUP BY Mid(%1,6,2), %2")
      .arg(date, by, sum, where);
}

bool BuildYearStatement(CDBVisiter &session, const ColumnList &columns,
                        const YearStatementRequest &request,
                        YearStatement &statement, QString *error) {
  if (!CheckRequest(columns, request, error))
    return false;
  statement = YearStatement();
  statement.year = request.year;
  statement.dateTitle = ChartDateColumn(columns)->title;
  statement.sumTitle = ChartSumColumn(columns, request.sumField)->title;
  QHash<QString, int> index;
  OptionTotals none{QStringLiteral("（空）"), {}, {}};
  if (const ColumnDef *by = request.byField.isEmpty()
                                ? nullptr : OptionColumn(columns, request.byField)) {
    statement.byTitle = by->title;
    for (const QString &option : by->Choices())
      RowOf(statement, index, option);
  }
  const int rows = session.Query(YearStatementQuery(columns, request));
  if (rows == 0 && !session.QueryError().isEmpty())
    return Refuse(error, QStringLiteral("无法读取年度报表：") + session.QueryError());
  for (int row = 0; row < rows; ++row, session.MoveNext()) {
    const int month = session.GetString(0).toInt();
    if (month < 1 || month > 12)
      continue;
    const int count = session.GetInt(2);
    const double sum = session.GetDouble(3);
    Add(statement.months[size_t(month - 1)], count, sum);
    Add(statement.total, count, sum);
    if (statement.byTitle.isEmpty())
      continue;
    const QString option = session.GetString(1);
    OptionTotals &totals = option.isEmpty() ? none : RowOf(statement, index, option);
    Add(totals.months[size_t(month - 1)], count, sum);
    Add(totals.year, count, sum);
  }
  DropEmptyOptions(statement, none);
  return true;
}
