// sorvanel-cli rules PATH: the import rules of the file, one per line:
// number, condition and setting, separated by tabs.
// sorvanel-cli rules PATH add --if SOURCE contains|equals|starts TEXT
// --set FIELD=VALUE: a rule after the last one. SOURCE is a column of the
// statement as its header names it, FIELD a field name or caption.
// sorvanel-cli rules PATH delete N: removes rule number N.
#include "cli_account.h"
#include "cli_command.h"
#include "record_arguments.h"

#include "base/prompt.h"
#include "document/account_file.h"
#include "exchange/import_rule_store.h"

namespace {

const char kUsage[] =
    "rules PATH [add --if SOURCE contains|equals|starts TEXT --set "
    "FIELD=VALUE | delete N]";

int Usage() {
  ShowUsage("rules");
  return 1;
}

int List(const QString &path) {
  AccountFile file;
  if (!OpenForReading(file, path))
    return 1;
  const QList<ImportRule> rules = LoadImportRules(file);
  for (qsizetype i = 0; i < rules.size(); ++i)
    PrintLine(QStringList{QString::number(i + 1), RuleConditionText(rules[i]),
                          RuleSettingText(file.Columns(), rules[i])}
                  .join(QLatin1Char('\t')));
  return 0;
}

// "--if SOURCE WORD TEXT --set FIELD=VALUE", in that order.
bool ParseRule(const QStringList &args, ImportRule *rule) {
  if (args.size() != 6 || args[0] != QLatin1String("--if") ||
      args[4] != QLatin1String("--set"))
    return false;
  if (!ParseConditionWord(args[2], &rule->condition)) {
    ShowMessage(QStringLiteral("条件应为 contains、equals 或 starts：%1")
                    .arg(args[2]));
    return false;
  }
  const qsizetype equals = args[5].indexOf(QLatin1Char('='));
  if (equals <= 0) {
    ShowMessage(QStringLiteral("参数应为“字段=内容”的形式：%1").arg(args[5]));
    return false;
  }
  rule->source = args[1];
  rule->text = args[3];
  rule->field = args[5].left(equals);
  rule->value = args[5].mid(equals + 1);
  return true;
}

int Add(const QString &path, const QStringList &args) {
  ImportRule rule;
  if (!ParseRule(args, &rule))
    return args.size() == 6 ? 1 : Usage();
  AccountFile file;
  if (!OpenForCommand(file, path) || !AddImportRule(file, rule))
    return 1;
  PrintLine(QString::number(LoadImportRules(file).size()));
  return 0;
}

int Delete(const QString &path, const QString &number) {
  int n = 0;
  if (!ParseIntegerArgument(number, QStringLiteral("规则编号"), n))
    return 1;
  AccountFile file;
  if (!OpenForCommand(file, path))
    return 1;
  const QList<ImportRule> rules = LoadImportRules(file);
  if (n < 1 || n > rules.size()) {
    ShowMessage(QStringLiteral("没有第%1条导入规则").arg(number));
    return 1;
  }
  return DeleteImportRule(file, rules[n - 1].id) ? 0 : 1;
}

int RunRules(const QStringList &args) {
  if (args.size() == 1)
    return List(args[0]);
  if (args.size() >= 2 && args[1] == QLatin1String("add"))
    return Add(args[0], args.mid(2));
  if (args.size() == 3 && args[1] == QLatin1String("delete"))
    return Delete(args[0], args[2]);
  return Usage();
}

} // namespace

SORVANEL_CLI_COMMAND("rules", kUsage, RunRules);
