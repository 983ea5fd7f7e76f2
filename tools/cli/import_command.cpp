// sorvanel-cli import PATH FILE [--group ID] [--map SOURCE=FIELD ...]
// [--date-form FORM] [--encoding NAME] [--include-duplicates] [--no-rules]
// [--cancel-refunds] [--report]: imports a bank statement or a payment
// service's bill (CSV, OFX or XLSX) into a group as one undoable step. Without
// --map the mapping saved for the statement's layout is used, else the one
// of a known bill, else one guessed from its column names; a given mapping
// is saved for the next time, once the import stored records. Duplicates
// are left out unless --include-duplicates. The file's import rules set
// values of the lines unless --no-rules. FIELD is a field name
// or caption; "-FIELD" and "+FIELD" name the debit and credit columns whose
// difference goes to FIELD. --report prints a line per statement line:
// its number, what happened to it (new, duplicate, skipped, bad) and why,
// tab-separated, and the lines of the footer under the rows as "footer".
// Prints the numbers of records stored, lines refused (each with its number
// and reason on stderr), duplicates and lines skipped; exit 1 when nothing
// could be read, or when the statement has no date or amount column.
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
#include "model/field_type.h"

#include <algorithm>
#include <cstdio>

namespace {

const char kUsage[] = "import PATH FILE [--group ID] [--map SOURCE=FIELD ...] "
                      "[--date-form FORM] [--encoding NAME] "
                      "[--include-duplicates] [--no-rules] [--cancel-refunds] "
                      "[--report]";

struct ImportArguments {
  QString path;
  QString statement;
  QString group;
  QStringList maps;
  QString dateForm;
  QString encoding;
  bool includeDuplicates = false;
  bool cancelRefunds = false;
  bool report = false;
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
    else if (arg == QLatin1String("--cancel-refunds"))
      out.cancelRefunds = true;
    else if (arg == QLatin1String("--report"))
      out.report = true;
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
    // Records get new keys; a statement never gives one.
    const int position = file.Columns().PositionOf(field);
    if (position >= 0 && file.Columns().Type(position) == FT_KEY) {
      ShowMessage(QStringLiteral("“%1”是主键，不能由对账单导入")
                      .arg(file.Columns().Title(position)));
      return false;
    }
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

// What happened to line: stored lines are new, the others keep their state
// (a line not ticked is skipped) and reason.
QString ReportLine(const CheckedLine &line, bool stored) {
  const char *state = "new";
  if (line.state == LineState::Bad)
    state = "bad";
  else if (!stored && line.state == LineState::Duplicate)
    state = "duplicate";
  else if (!stored)
    state = "skipped";
  return QStringLiteral("%1\t%2\t%3")
      .arg(line.lineNumber)
      .arg(QLatin1String(state), line.reason);
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

  import.SetRefundsCancelPayments(parsed.cancelRefunds);
  if (const BillLayout *layout = import.Layout())
    std::fprintf(stderr, "%s\n", qPrintable(BillTitle(*layout, import.Head())));

  ImportCheck check;
  if (!import.Check(&check, {}, &error)) {
    ShowMessage(error);
    return 1;
  }
  // A statement of which no line reads (a wrong encoding, a header alone)
  // imports nothing, and says so.
  if (check.lines.empty()) {
    ShowMessage(QStringLiteral("对账单中没有可以读取的行"));
    return 1;
  }
  for (const BadLine &bad : check.bad)
    std::fprintf(stderr, "第%d行：%s\n", bad.lineNumber,
                 qPrintable(bad.reason));
  QSet<int> ticked = check.TickedLines();
  if (parsed.includeDuplicates)
    for (const int line : check.duplicateLines)
      ticked.insert(line);
  bool cancelled = false;
  const int stored = import.Store(check, ticked, {}, &cancelled, &error);
  if (stored < 0) {
    ShowMessage(error);
    return 1;
  }
  if (parsed.report) {
    for (const CheckedLine &line : check.lines)
      PrintLine(ReportLine(line, ticked.contains(line.lineNumber)));
    for (const int line : check.footerLines)
      PrintLine(QStringLiteral("%1\tfooter\t表尾").arg(line));
  }
  const int skipped = int(std::count_if(
      check.lines.cbegin(), check.lines.cend(), [&](const CheckedLine &line) {
        return line.state != LineState::Bad &&
               line.state != LineState::Duplicate &&
               !ticked.contains(line.lineNumber);
      }));
  // An import that stored nothing leaves the file as it was.
  if (stored > 0)
    SaveImportRuleMatches(file, import.Rules());
  if (stored > 0 && (!parsed.maps.isEmpty() || !parsed.dateForm.isEmpty() ||
                     !parsed.encoding.isEmpty()))
    import.SaveMapping();
  QString summary = QStringLiteral("已导入 %1 条记录，拒绝 %2 行，重复未导入 %3 行")
                        .arg(stored)
                        .arg(check.bad.size())
                        .arg(parsed.includeDuplicates
                                 ? 0
                                 : check.duplicateLines.size());
  if (skipped > 0)
    summary += QStringLiteral("，跳过 %1 行").arg(skipped);
  PrintLine(summary);
  // Nothing could be read: every line refused.
  const bool failed =
      !check.lines.empty() && check.bad.size() == qsizetype(check.lines.size());
  return failed ? 1 : 0;
}

} // namespace

SORVANEL_CLI_COMMAND("import", kUsage, RunImport);
