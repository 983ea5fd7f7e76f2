// sorvanel-cli budget: the monthly budget of an account file.
//
// "budget PATH set --by FIELD --sum FIELD OPTION=AMOUNT... [--month
// YYYY-MM]" sets the amounts of the options (合计=AMOUNT: the month's
// total, unless 合计 is an option) for every month, or for the one month
// given, under the file's lock. Amounts set before for the same columns
// stay; a budget on other columns is replaced.
//
// "budget PATH [--month YYYY-MM] [--where TEXT]" prints one line per
// budgeted option of the month (default: this month): option, budget,
// spent and left with two decimals, tab-separated, then the line 合计.
// --where is the scope, as for the charts. Without a budget: exit 1.
#include "cli_account.h"
#include "cli_command.h"

#include "analysis/budget_month.h"
#include "analysis/budget_store.h"
#include "analysis/scope_check.h"
#include "base/prompt.h"
#include "document/account_file.h"
#include "model/column_list.h"

namespace {

const char kUsage[] =
    "budget PATH [--month YYYY-MM] [--where TEXT] | budget PATH set --by "
    "FIELD --sum FIELD OPTION=AMOUNT... [--month YYYY-MM]";

const QString kTotal = QStringLiteral("合计");

struct BudgetArguments {
  QString path;
  bool set = false;
  QString byField;
  QString sumField;
  QString month; // as typed; empty: this month (report) or every month (set)
  QString where;
  QStringList amounts; // OPTION=AMOUNT
};

int Usage() {
  ShowUsage("budget");
  return 1;
}

bool Parse(const QStringList &args, BudgetArguments &out) {
  if (args.isEmpty() || args.first().startsWith(QLatin1String("--")))
    return false;
  out.path = args.first();
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString &arg = args[i];
    QString *value = arg == QLatin1String("--month")   ? &out.month
                     : arg == QLatin1String("--where") ? &out.where
                     : arg == QLatin1String("--by")    ? &out.byField
                     : arg == QLatin1String("--sum")   ? &out.sumField
                                                       : nullptr;
    if (value) {
      if (++i >= args.size())
        return false;
      *value = args[i];
    } else if (arg == QLatin1String("set") && !out.set) {
      out.set = true;
    } else if (out.set && arg.contains(QLatin1Char('='))) {
      out.amounts.append(arg);
    } else {
      return false;
    }
  }
  if (out.set)
    return !out.byField.isEmpty() && !out.sumField.isEmpty() &&
           !out.amounts.isEmpty() && out.where.isEmpty();
  return out.byField.isEmpty() && out.sumField.isEmpty();
}

// The key of the typed month, or fallback when none was typed; false, with
// the message, for a text that is not YYYY-MM.
bool ReadMonth(const QString &typed, const QString &fallback, QString &key) {
  if (typed.isEmpty()) {
    key = fallback;
    return true;
  }
  YearMonth month;
  if (!ParseBudgetMonth(typed, month)) {
    ShowMessage(QStringLiteral("月份格式不正确：%1（应为 YYYY-MM，如 2026-03）")
                    .arg(typed));
    return false;
  }
  key = BudgetMonthKey(month);
  return true;
}

// The field name of the column named or captioned so; the text itself when
// there is none, for the message that says so.
QString FieldNameOf(const ColumnList &columns, const QString &name) {
  const int position = columns.PositionOfNameOrTitle(name);
  return position < 0 ? name : columns.FieldName(position);
}

// Sets every OPTION=AMOUNT of the arguments into budget; false, with the
// message shown, at the first that does not fit.
bool SetAmounts(const ColumnList &columns, const BudgetArguments &args,
                const QString &month, Budget &budget) {
  const QStringList choices =
      columns.At(columns.PositionOf(budget.byField)).Choices();
  for (const QString &text : args.amounts) {
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    QString option = text.left(equals);
    // The month's total is named, never an empty option ("=5").
    if (option.trimmed().isEmpty()) {
      ShowMessage(QStringLiteral("预算的选项名称不能为空：%1（月合计请写作 "
                                 "合计=金额）")
                      .arg(text));
      return false;
    }
    double amount = 0;
    QString problem = ReadBudgetAmount(option, text.mid(equals + 1), amount);
    if (option == kTotal && !choices.contains(kTotal))
      option.clear();
    if (problem.isEmpty())
      problem = BudgetAmountProblem(columns, budget.byField, option, amount);
    if (!problem.isEmpty()) {
      ShowMessage(problem);
      return false;
    }
    budget.Set(option, month, amount);
  }
  return true;
}

int RunSetBudget(const BudgetArguments &args) {
  QString month;
  if (!ReadMonth(args.month, QString(), month))
    return 1;
  AccountFile file;
  if (!OpenForCommand(file, args.path))
    return 1;
  const ColumnList &columns = file.Columns();
  const QString by = FieldNameOf(columns, args.byField);
  const QString sum = FieldNameOf(columns, args.sumField);
  const QString problem = BudgetColumnsProblem(columns, by, sum);
  if (!problem.isEmpty()) {
    ShowMessage(problem);
    return 1;
  }
  Budget budget = LoadBudget(*file.Session());
  if (budget.byField.compare(by, Qt::CaseInsensitive) != 0 ||
      budget.sumField.compare(sum, Qt::CaseInsensitive) != 0)
    budget = Budget{by, sum, {}};
  if (!SetAmounts(columns, args, month, budget))
    return 1;
  return SaveBudget(file, budget) ? 0 : 1;
}

int RunReport(const BudgetArguments &args) {
  QString key;
  if (!ReadMonth(args.month, BudgetMonthKey(CurrentMonth()), key))
    return 1;
  AccountFile file;
  if (!OpenForReading(file, args.path))
    return 1;
  CDBVisiter &session = *file.Session();
  const Budget budget = LoadBudget(session);
  if (!budget.IsSet()) {
    ShowMessage(QStringLiteral("账簿文件 %1 尚未设置预算").arg(args.path));
    return 1;
  }
  const QString scopeError = ScopeWhereError(session, args.where);
  if (!scopeError.isEmpty()) {
    ShowMessage(scopeError);
    return 1;
  }
  YearMonth month;
  ParseBudgetMonth(key, month);
  const BudgetMonth figures =
      BuildBudgetMonth(session, file.Columns(), budget, month, args.where);
  if (!figures.problem.isEmpty()) {
    ShowMessage(figures.problem);
    return 1;
  }
  for (const QString &line : BudgetMonthTexts(figures))
    PrintLine(line);
  return 0;
}

int RunBudget(const QStringList &args) {
  BudgetArguments parsed;
  if (!Parse(args, parsed))
    return Usage();
  return parsed.set ? RunSetBudget(parsed) : RunReport(parsed);
}

} // namespace

SORVANEL_CLI_COMMAND("budget", kUsage, RunBudget);
