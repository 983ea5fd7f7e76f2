// The figures of the yearly statement; see year_statement.h.
#include "analysis/year_statement.h"

#include "analysis/chart_columns.h"
#include "analysis/chart_side.h"
#include "db/db_visiter.h"
#include "model/column_list.h"
#include "model/field_type.h"
#include "model/side_column.h"

#include <QHash>

#include <cmath>

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

// The option row of a value on a side, made in the column's order first.
OptionTotals &RowOf(YearStatement &statement, QHash<QString, int> &index,
                    const QString &option, const QString &side = QString()) {
  const QString key = side + QLatin1Char('\n') + option;
  auto found = index.constFind(key);
  if (found != index.cend())
    return statement.options[*found];
  index.insert(key, int(statement.options.size()));
  statement.options.append(OptionTotals{option, {}, {}, side});
  return statement.options.last();
}

// The sides in the order the statement shows them.
QStringList Sides() { return {SpendingSide(), IncomeSide()}; }

void Add(PeriodTotal &total, int count, double sum) {
  total.count += count;
  total.sum += sum;
}

// Drops options without records, keeping the order; the records without
// an option come last (of their side).
void DropEmptyOptions(YearStatement &statement,
                      const QList<OptionTotals> &none) {
  QList<OptionTotals> kept;
  for (const QString &side : statement.HasSides() ? Sides() : QStringList{QString()}) {
    for (const OptionTotals &row : statement.options)
      if (row.year.count > 0 && row.side == side)
        kept.append(row);
    for (const OptionTotals &row : none)
      if (row.year.count > 0 && row.side == side)
        kept.append(row);
  }
  statement.options = kept;
}

OptionTableRow TotalRow(const QString &label,
                        const std::array<PeriodTotal, 12> &months,
                        const PeriodTotal &year) {
  return OptionTableRow{label, months, year};
}

// A side's own months and year from the side totals.
OptionTableRow SideRow(const YearStatement &statement, const QString &label,
                       bool income) {
  OptionTableRow row{label, {}, {}};
  for (size_t m = 0; m < 12; ++m)
    row.months[m] = income ? statement.sideMonths[m].income
                           : statement.sideMonths[m].spending;
  row.year = income ? statement.sideTotal.income : statement.sideTotal.spending;
  return row;
}

OptionTableRow BalanceRow(const YearStatement &statement) {
  OptionTableRow row{QStringLiteral("结余"), {}, {}};
  const auto balance = [](const SideTotals &sides) {
    return PeriodTotal{sides.spending.count + sides.income.count,
                       sides.Balance()};
  };
  for (size_t m = 0; m < 12; ++m)
    row.months[m] = balance(statement.sideMonths[m]);
  row.year = balance(statement.sideTotal);
  return row;
}

void AddSide(YearStatement &statement, const QString &side, int month,
             int count, double sum) {
  SideTotals &period = statement.sideMonths[size_t(month - 1)];
  if (side == SpendingSide()) {
    Add(period.spending, count, sum);
    Add(statement.sideTotal.spending, count, sum);
  } else if (side == IncomeSide()) {
    Add(period.income, count, sum);
    Add(statement.sideTotal.income, count, sum);
  }
}

// Whether every sum is a number: a month's or an option's sum beyond the
// range of numbers makes its year's sum infinite (or not a number) too.
bool AllFinite(const YearStatement &statement) {
  QList<double> sums{statement.total.sum, statement.sideTotal.spending.sum,
                     statement.sideTotal.income.sum};
  for (const OptionTotals &option : statement.options)
    sums.append(option.year.sum);
  for (const double sum : sums)
    if (!std::isfinite(sum))
      return false;
  return true;
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
  const ColumnDef *sideColumn = SideColumnOf(columns);
  const QString side = sideColumn ? BracketedField(sideColumn->fieldName)
                                  : QStringLiteral("''");
  QString where = QStringLiteral("%1>=#%2-1-1# And %1<=#%2-12-31 23:59:59#")
                      .arg(date).arg(request.year);
  if (!request.scopeWhere.isEmpty())
    where += QStringLiteral(" And (") + request.scopeWhere + QLatin1Char(')');
  return QStringLiteral("SELECT Mid(%1,6,2), %2, %5, COUNT(*), SUM(%3) FROM "
                        "Users WHERE %4 GROUP BY Mid(%1,6,2), %2, %5")
      .arg(date, by, sum, where, side);
}

QList<OptionTableRow> OptionTableRows(const YearStatement &statement) {
  QList<OptionTableRow> rows;
  if (!statement.HasSides()) {
    for (const OptionTotals &option : statement.options)
      rows.append(TotalRow(option.option, option.months, option.year));
    rows.append(TotalRow(QStringLiteral("合计"), statement.months, statement.total));
    return rows;
  }
  for (const QString &side : Sides()) {
    for (const OptionTotals &option : statement.options)
      if (option.side == side)
        rows.append(TotalRow(statement.byIsSide
                                 ? option.option
                                 : QStringLiteral("%1（%2）").arg(option.option, side),
                             option.months, option.year));
    if (!statement.byIsSide)
      rows.append(SideRow(statement, side + QStringLiteral("合计"),
                          side == IncomeSide()));
  }
  rows.append(BalanceRow(statement));
  return rows;
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
  const ColumnDef *sideColumn = SideColumnOf(columns);
  if (sideColumn)
    statement.sideTitle = sideColumn->title;
  const QStringList sides =
      sideColumn ? Sides() : QStringList{QString()};
  QHash<QString, int> index;
  QList<OptionTotals> none;
  for (const QString &side : sides)
    none.append(OptionTotals{QStringLiteral("（空）"), {}, {}, side});
  if (const ColumnDef *by = request.byField.isEmpty()
                                ? nullptr : OptionColumn(columns, request.byField)) {
    statement.byTitle = by->title;
    statement.byIsSide = sideColumn && by->fieldName == sideColumn->fieldName;
    for (const QString &side : sides)
      for (const QString &option : by->Choices())
        RowOf(statement, index, option, side);
  }
  const int rows = session.Query(YearStatementQuery(columns, request));
  if (rows == 0 && !session.QueryError().isEmpty())
    return Refuse(error, QStringLiteral("无法读取年度报表：") + session.QueryError());
  for (int row = 0; row < rows; ++row, session.MoveNext()) {
    const int month = session.GetString(0).toInt();
    if (month < 1 || month > 12)
      continue;
    const int count = session.GetInt(3);
    const double sum = session.GetDouble(4);
    const QString side = session.GetString(2);
    // With sides, records of neither side are counted but summed nowhere.
    const double plainSum = sideColumn ? 0.0 : sum;
    Add(statement.months[size_t(month - 1)], count, plainSum);
    Add(statement.total, count, plainSum);
    if (sideColumn)
      AddSide(statement, side, month, count, sum);
    if (statement.byTitle.isEmpty() || !sides.contains(side))
      continue;
    const QString option = session.GetString(1);
    OptionTotals &totals = option.isEmpty() ? none[sides.indexOf(side)]
                                            : RowOf(statement, index, option, side);
    Add(totals.months[size_t(month - 1)], count, sum);
    Add(totals.year, count, sum);
  }
  DropEmptyOptions(statement, none);
  if (!AllFinite(statement))
    return Refuse(error, QStringLiteral("%1 年的合计超出数值范围，无法制作年度报表")
                             .arg(request.year));
  return true;
}
