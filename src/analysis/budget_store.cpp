// Statements on table Budget; see budget_store.h.
#include "analysis/budget_store.h"

#include "base/prompt.h"
#include "db/db_visiter.h"
#include "db/unit_of_work.h"
#include "document/account_file.h"
#include "model/sql_text.h"

namespace {

QString Problem(const AccountFile &file, const Budget &budget) {
  if (budget.entries.isEmpty())
    return QString();
  const QString columns =
      BudgetColumnsProblem(file.Columns(), budget.byField, budget.sumField);
  if (!columns.isEmpty())
    return columns;
  for (const BudgetEntry &entry : budget.entries) {
    const QString negative = NegativeAmountProblem(entry.option, entry.amount);
    if (!negative.isEmpty())
      return negative;
  }
  return QString();
}

bool Insert(CDBVisiter &session, const Budget &budget, int sortId,
            const BudgetEntry &entry) {
  return session.Execute(QString::asprintf(
      "Insert Into [Budget] ([SortID], [ByField], [SumField], [Option], "
      "[Month], [Amount]) Values (%d, '%s', '%s', '%s', '%s', %.17g)",
      sortId, QuotedSqlArg(budget.byField).constData(),
      QuotedSqlArg(budget.sumField).constData(),
      QuotedSqlArg(entry.option).constData(),
      QuotedSqlArg(entry.month).constData(), entry.amount));
}

} // namespace

Budget LoadBudget(CDBVisiter &session) {
  Budget budget;
  if (session.Query(QStringLiteral(
          "Select * From [Budget] Order By [SortID]")) == 0)
    return budget;
  do {
    budget.byField = session.GetString(QStringLiteral("ByField"));
    budget.sumField = session.GetString(QStringLiteral("SumField"));
    budget.entries.append({session.GetString(QStringLiteral("Option")),
                           session.GetString(QStringLiteral("Month")),
                           session.GetDouble(QStringLiteral("Amount"))});
  } while (session.MoveNext());
  session.CloseResult();
  return budget;
}

bool SaveBudget(AccountFile &file, const Budget &budget) {
  if (file.RefuseChange())
    return false;
  CDBVisiter *session = file.Session();
  if (!session) {
    ShowMessage(QStringLiteral("没有打开的账簿文件！"));
    return false;
  }
  const QString problem = Problem(file, budget);
  if (!problem.isEmpty()) {
    ShowMessage(problem);
    return false;
  }
  return WriteBudget(*session, budget);
}

bool WriteBudget(CDBVisiter &session, const Budget &budget) {
  UnitOfWork unit(&session);
  if (!session.Execute(QStringLiteral("Delete * From [Budget]")))
    return false;
  for (qsizetype i = 0; i < budget.entries.size(); ++i)
    if (!Insert(session, budget, int(i) + 1, budget.entries[i]))
      return false;
  return unit.Commit();
}
