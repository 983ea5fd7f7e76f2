// sorvanel-cli import PATH FILE [--group ID] [--map SOURCE=FIELD ...]
// [--date-form FORM] [--encoding NAME] [--include-duplicates]: imports a
// bank statement (CSV, OFX or XLSX) into a group as one undoable step. Without
// --map the mapping saved for the statement's layout is used, else one
// guessed from its column names; a given mapping is saved for the next
// time, once the import stored records. Lines equal to records of the group
// are left out unless --include-duplicates. The file's import rules set
// values of the lines unless --no-rules. FIELD is a field name
// or caption; "-FIELD" and "+FIELD" name the debit and credit columns whose
// difference goes to FIELD. Prints the numbers of records stored, lines
// refused (each with its number and reason on stderr) and duplicates left
// out; exit 1 when nothing was stored because of an error.
#include "cli_account.h"
#include "cli_command.h"
#include "record_arguments.h"

#include "base/prompt.h"
#include "exchange/import_rule_store.h"
#include "exchange/statement_import.h"
#include "exchange/statement_values.h"
#include "exchange/text_decoding.h"
#include "groups/group_node.h"
#include "document/account_file.h"

#include <cstdio>

namespace {

const char kUsage[] = "import PATH FILE [--group ID] [--map SOURCE=FIELD ...] "
                      "[--date-form FORM] [--encoding NAME] "
                      "[--include-duplicates] [--no-rules]";

struct ImportArguments {
  QString path;
  QString statement;
  QString group;
  QStringList maps;
  QString dateForm;
  QString encoding;
  bool includeDuplicates = false;
  bool noRules = false;
};

bool Usage() {
  ShowMessage(QStringLiteral("用法：sorvanel-cli %1").arg(kUsage));
  return false;
}

bool ParseImportArguments(const QStringList &args, ImportArguments &out) {
  for (int i = 0; i < args.size(); ++i) {
    const QString &arg = args[i];
    const bool option = arg == QLatin1String("--group") ||
                        arg == QLatin1String("--map") ||
                        arg == QLatin1String("--date-form") ||
                        arg == QLatin1String("--encoding");
    if (option && i + 1 >= args.size())
      return Usage();
    if (arg == QLatin1String("--group"))
      out.group = args[++i];
    else if (arg == QLatin1String("--map"))
      out.maps.append(args[++i]);
    else if (arg == QLatin1String("--date-form"))
      out.dateForm = args[++i];
    else if (arg == QLatin1String("--encoding"))
      out.encoding = args[++i];
    else if (arg == QLatin1String("--include-duplicates"))
      out.includeDuplicates = true;
    else if (arg == QLatin1String("--no-rules"))
      out.noRules = true;
    else if (out.path.isEmpty())
      out.path = arg;
    else if (out.statement.isEmpty())
      out.statement = arg;
    else
      return Usage();
  }
  return !out.statement.isEmpty() || Usage();
}

// The field name of a field name or caption; empty (with a message) when
// there is none.
QString FieldOf(const AccountFile &file, const QString &name) {
  for (const ColumnDef &column : file.Columns().All())
    if (!column.fieldName.compare(name, Qt::CaseInsensitive) ||
        column.title == name)
      return column.fieldName;
  ShowMessage(QStringLiteral("没有这一列：%1").arg(name));
  return {};
}

bool ApplyMaps(const AccountFile &file, const QStringList &maps,
               const QStringList &headers, ImportMapping &mapping) {
  mapping.fields.clear();
  mapping.amountField = mapping.amountColumn = QString();
  mapping.debitColumn = mapping.creditColumn = QString();
  for (const QString &map : maps) {
    const qsizetype equals = map.lastIndexOf(QLatin1Char('='));
    if (equals <= 0)
      return Usage();
    const QString source = map.left(equals);
    QString target = map.mid(equals + 1);
    if (!headers.contains(source)) {
      ShowMessage(QStringLiteral("对账单中没有这一列：%1").arg(source));
      return false;
    }
    const QChar sign = target.isEmpty() ? QChar() : target.at(0);
    if (sign == QLatin1Char('-') || sign == QLatin1Char('+'))
      target = target.mid(1);
    const QString field = FieldOf(file, target);
    if (field.isEmpty())
      return false;
    if (sign == QLatin1Char('-') || sign == QLatin1Char('+')) {
      mapping.amountField = field;
      (sign == QLatin1Char('-') ? mapping.debitColumn : mapping.creditColumn) =
          source;
    } else {
      mapping.Map(field, source);
    }
  }
  return true;
}

int RunImport(const QStringList &args) {
  ImportArguments parsed;
  if (!ParseImportArguments(args, parsed))
    return 1;
  if (!parsed.dateForm.isEmpty() && !DateForms().contains(parsed.dateForm)) {
    ShowMessage(QStringLiteral("日期格式应为：%1")
                    .arg(DateForms().join(QStringLiteral("、"))));
    return 1;
  }
  if (!parsed.encoding.isEmpty() && !IsKnownEncoding(parsed.encoding)) {
    ShowMessage(QStringLiteral("不支持的编码：%1").arg(parsed.encoding));
    return 1;
  }
  AccountFile file;
  if (!OpenForCommand(file, parsed.path))
    return 1;
  StatementImport import(file);
  if (parsed.noRules)
    import.SetRules({});
  QString error;
  if (!import.Open(parsed.statement, &error)) {
    ShowMessage(error);
    return 1;
  }
  if (!parsed.encoding.isEmpty()) {
    import.Mapping().format.encoding = parsed.encoding;
    if (!import.Reload(&error)) {
      ShowMessage(error);
      return 1;
    }
  }
  if (!parsed.maps.isEmpty()) {
    if (!ApplyMaps(file, parsed.maps, import.Headers(), import.Mapping()))
      return 1;
    import.DetectValueForms();
  }
  if (!parsed.dateForm.isEmpty())
    import.Mapping().dateForm = parsed.dateForm;
  if (!parsed.group.isEmpty()) {
    int id = 0;
    if (!ParseIntegerArgument(parsed.group, QStringLiteral("分组 ID"), id) ||
        !FindRecordGroup(file.Root(), id))
      return 1;
    import.SetGroupId(id);
  }

  ImportCheck check;
  if (!import.Check(&check, {}, &error)) {
    ShowMessage(error);
    return 1;
  }
  for (const BadLine &bad : check.bad)
    std::fprintf(stderr, "第%d行：%s\n", bad.lineNumber,
                 qPrintable(bad.reason));
  QSet<int> include;
  if (parsed.includeDuplicates)
    include = QSet<int>(check.duplicateLines.cbegin(),
                        check.duplicateLines.cend());
  bool cancelled = false;
  import.Rules().ResetMatches();
  const int stored = import.Store(include, {}, &cancelled, &error);
  if (stored < 0) {
    ShowMessage(error);
    return 1;
  }
  // An import that stored nothing leaves the file as it was.
  if (stored > 0)
    SaveImportRuleMatches(file, import.Rules());
  if (stored > 0 && (!parsed.maps.isEmpty() || !parsed.dateForm.isEmpty() ||
                     !parsed.encoding.isEmpty()))
    import.SaveMapping();
  PrintLine(QStringLiteral("已导入 %1 条记录，拒绝 %2 行，重复未导入 %3 行")
                .arg(stored)
                .arg(check.bad.size())
                .arg(check.duplicateLines.size() - include.size()));
  const bool failed = stored == 0 && !check.bad.isEmpty();
  return failed ? 1 : 0;
}

} // namespace

SORVANEL_CLI_COMMAND("import", kUsage, RunImport);
