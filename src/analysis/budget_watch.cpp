// Finding the options that went over their month's budget.
#include "analysis/budget_watch.h"

#include "analysis/budget_month.h"
#include "analysis/budget_store.h"
#include "analysis/chart_columns.h"
#include "analysis/chart_side.h"
#include "groups/group_where.h"
#include "db/db_visiter.h"
#include "model/column_list.h"
#include "model/sql_text.h"

#include <algorithm>

namespace {

QString OptionList(const QStringList &options) {
  QStringList literals;
  for (const QString &option : options)
    literals.append(SqlTextLiteral(option));
  return literals.join(QLatin1Char(','));
}

// The amount by which spent is over budget; 0 when it is not.
double Over(const std::optional<double> &budget, double spent) {
  return budget && spent > *budget ? spent - *budget : 0.0;
}

// The note says its scope: the budget page counts only the records its
// window shows, the note every record of the file.
QString Note(const QString &who, const QString &when, double over) {
  return QStringLiteral("%1%2已超出预算 %3 元（按全部记录）")
      .arg(who, when, QString::asprintf("%.2f", over));
}

} // namespace

bool ReadSpentByMonth(CDBVisiter &session, const ColumnList &columns,
                      const Budget &budget, const YearMonth &first,
                      const YearMonth &last, SpentByMonth &spent) {
  spent.clear();
  if (!budget.IsSet() ||
      !BudgetColumnsProblem(columns, budget.byField, budget.sumField).isEmpty())
    return false;
  const ColumnDef *date = ChartDateColumn(columns);
  const QStringList options = budget.Options();
  if (!date || options.isEmpty())
    return false;
  const QString dateField = BracketedField(date->fieldName);
  const QString month = QStringLiteral("Mid(%1,1,7)").arg(dateField);
  const QString by = BracketedField(budget.byField);
  // Only spending uses up a budget (in a ledger with a side column).
  const QString where = CombineWhere(MonthsWhere(dateField, first, last),
                                     SideWhere(columns, ChartSide::Spending));
  const QString sql =
      QStringLiteral("SELECT %1, %2, SUM(%3) FROM Users WHERE %4 And %2 In "
                     "(%5) GROUP BY %1, %2")
          .arg(month, by, BracketedField(budget.sumField), where,
               OptionList(options));
  const int rows = session.Query(sql);
  if (!session.QueryError().isEmpty())
    return false;
  for (int row = 0; row < rows; ++row, session.MoveNext()) {
    QHash<QString, double> &sums = spent[session.GetString(0)];
    const double sum = session.GetDouble(2);
    sums[session.GetString(1)] += sum;
    sums[QString()] += sum;
  }
  session.CloseResult();
  return true;
}

QStringList OverBudgetNotes(const Budget &budget, const SpentByMonth &before,
                            const SpentByMonth &after,
                            const YearMonth &thisMonth) {
  QStringList months = after.keys();
  std::sort(months.begin(), months.end());
  QStringList who = budget.Options();
  who.append(QString()); // the month's total last
  QStringList notes;
  for (const QString &key : months) {
    YearMonth month;
    if (!ParseBudgetMonth(key, month))
      continue;
    const QHash<QString, double> &now = after[key];
    const QHash<QString, double> was = before.value(key);
    for (const QString &option : who) {
      const std::optional<double> amount = budget.AmountFor(option, key);
      const double over = Over(amount, now.value(option));
      if (over <= 0 || Over(amount, was.value(option)) > 0)
        continue;
      notes.append(Note(option.isEmpty() ? QStringLiteral("合计") : option,
                        BudgetMonthName(month, thisMonth), over));
    }
  }
  return notes;
}

void BudgetWatch::Reset(CDBVisiter &session, const ColumnList &columns) {
  budget_ = LoadBudget(session);
  const YearMonth month = CurrentMonth();
  ReadSpentByMonth(session, columns, budget_,
                   YearMonth::FromIndex(month.Index() - 1), month, spent_);
}

QStringList BudgetWatch::Look(CDBVisiter &session, const ColumnList &columns) {
  const YearMonth month = CurrentMonth();
  SpentByMonth now;
  ReadSpentByMonth(session, columns, budget_,
                   YearMonth::FromIndex(month.Index() - 1), month, now);
  const QStringList notes = OverBudgetNotes(budget_, spent_, now, month);
  spent_ = std::move(now);
  return notes;
}
