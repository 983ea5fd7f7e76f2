// A budget's figures for one month by one grouped statement.
#include "analysis/budget_month.h"

#include "analysis/chart_columns.h"
#include "analysis/chart_side.h"
#include "db/db_visiter.h"
#include "groups/group_where.h"
#include "model/column_list.h"

#include <QHash>

#include <cmath>

namespace {

QString DateLiteral(const YearMonth &month) {
  return QStringLiteral("#%1-%2-1#").arg(month.year).arg(month.month);
}

QString SpentStatement(const QString &byField, const QString &sumField,
                       const QString &where) {
  return QStringLiteral("SELECT %1, SUM(%2) FROM Users WHERE %3 GROUP BY %1")
      .arg(byField, sumField, where);
}

// The month's sum of the sum column per option over scopeWhere, by one
// grouped statement; false, with the reason in problem, when there is no
// date column or the statement fails.
bool MonthSpentByOption(CDBVisiter &session, const ColumnList &columns,
                        const Budget &budget, const YearMonth &month,
                        const QString &scopeWhere, QHash<QString, double> &spent,
                        QString &problem) {
  problem = BudgetColumnsProblem(columns, budget.byField, budget.sumField);
  if (!problem.isEmpty())
    return false;
  const ColumnDef *date = ChartDateColumn(columns);
  if (!date) {
    problem = QStringLiteral("账簿中没有日期字段，无法按月统计预算");
    return false;
  }
  // In a ledger with a side column only spending uses up a budget.
  const QString where = CombineWhere(
      CombineWhere(MonthsWhere(BracketedField(date->fieldName), month, month),
                   scopeWhere),
      SideWhere(columns, ChartSide::Spending));
  const QString by = BracketedField(
      columns.FieldName(columns.PositionOf(budget.byField)));
  const QString sum =
      BracketedField(ChartSumColumn(columns, budget.sumField)->fieldName);
  const int rows = session.Query(SpentStatement(by, sum, where));
  problem = session.QueryError();
  if (!problem.isEmpty())
    return false;
  for (int row = 0; row < rows; ++row, session.MoveNext())
    spent[session.GetString(0)] += session.GetDouble(1);
  session.CloseResult();
  return true;
}

// A sum beyond the range of numbers (records of 1e308 and more) is said,
// never shown as "inf".
QString NotFiniteProblem(const BudgetMonth &figures) {
  QList<BudgetLine> lines = figures.lines;
  lines.append(figures.total);
  for (const BudgetLine &line : lines)
    if (!std::isfinite(line.budget) || !std::isfinite(line.spent) ||
        !std::isfinite(line.Left()))
      return QStringLiteral("预算“%1”的金额合计超出数值范围，无法统计")
          .arg(line.option);
  return QString();
}

} // namespace

QString MonthsWhere(const QString &dateField, const YearMonth &first,
                    const YearMonth &last) {
  const YearMonth next = YearMonth::FromIndex(last.Index() + 1);
  return QStringLiteral("%1>=%2 And %1<%3")
      .arg(dateField, DateLiteral(first), DateLiteral(next));
}

double BudgetLine::Ratio() const {
  if (budget > 0)
    return spent / budget;
  return spent > 0 ? 2.0 : 0.0;
}

BudgetBand BandOf(const BudgetLine &line) {
  const double ratio = line.Ratio();
  if (ratio < 0.8)
    return BudgetBand::Green;
  return ratio <= 1.0 ? BudgetBand::Amber : BudgetBand::Red;
}

ChartRgb BudgetBandColour(BudgetBand band) {
  switch (band) {
  case BudgetBand::Green:
    return BarFillColour(0, 0, 1);
  case BudgetBand::Amber:
    return ChartRgb{255, 191, 0};
  case BudgetBand::Red:
    break;
  }
  return BarFillColour(1, 0, 1);
}

BudgetMonth BuildBudgetMonth(CDBVisiter &session, const ColumnList &columns,
                             const Budget &budget, const YearMonth &month,
                             const QString &scopeWhere) {
  BudgetMonth figures;
  figures.month = month;
  figures.total.option = QStringLiteral("合计");
  if (!budget.IsSet()) {
    figures.problem = QStringLiteral("尚未设置预算");
    return figures;
  }
  QHash<QString, double> spent;
  if (!MonthSpentByOption(session, columns, budget, month, scopeWhere, spent,
                          figures.problem))
    return figures;
  const int by = columns.PositionOf(budget.byField);
  const QString key = BudgetMonthKey(month);
  for (const QString &option :
       budget.OptionsOfMonth(columns.At(by).Choices(), key)) {
    const BudgetLine line{option, *budget.AmountFor(option, key),
                          spent.value(option)};
    figures.lines.append(line);
    figures.total.budget += line.budget;
    figures.total.spent += line.spent;
  }
  if (const std::optional<double> total = budget.TotalFor(key))
    figures.total.budget = *total;
  figures.problem = NotFiniteProblem(figures);
  return figures;
}

QString BudgetAmountText(double value) {
  return QString::asprintf("%.2f", value);
}

QStringList BudgetMonthTexts(const BudgetMonth &figures) {
  QStringList texts;
  QList<BudgetLine> lines = figures.lines;
  lines.append(figures.total);
  for (const BudgetLine &line : lines)
    texts.append(QStringList{line.option, BudgetAmountText(line.budget),
                             BudgetAmountText(line.spent),
                             BudgetAmountText(line.Left())}
                     .join(QLatin1Char('\t')));
  return texts;
}

QList<FilterCondition> BudgetLineConditions(const ColumnList &columns,
                                            const Budget &budget,
                                            const BudgetMonth &figures,
                                            const QString &option) {
  QList<FilterCondition> conditions;
  const ColumnDef *date = ChartDateColumn(columns);
  if (!date || columns.PositionOf(budget.byField) < 0)
    return conditions;
  const YearMonth &month = figures.month;
  FilterCondition dates;
  dates.fieldName = date->fieldName;
  dates.texts = {QStringLiteral("%1-%2-1 0:00:00").arg(month.year).arg(month.month),
                 QStringLiteral("%1-%2-%3 23:59:59")
                     .arg(month.year)
                     .arg(month.month)
                     .arg(DaysInMonth(month.year, month.month))};
  FilterCondition options;
  options.fieldName = columns.FieldName(columns.PositionOf(budget.byField));
  for (const BudgetLine &line : figures.lines)
    if (option.isEmpty() || line.option == option)
      options.texts.append(line.option);
  conditions = {dates, options};
  return conditions;
}
