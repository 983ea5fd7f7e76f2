// sorvanel-cli recurring PATH: the recurring records of the file, one per
// line: ID, title, group ID, rhythm, next due date (YYYY-MM-DD, empty once
// ended) and state, separated by tabs.
// sorvanel-cli recurring PATH add TITLE --group ID --every N
// days|weeks|months|years --from DATE [--times K | --until DATE] [--auto]
// FIELD=VALUE...: a new recurring record; prints its ID.
// sorvanel-cli recurring PATH delete|pause|resume ID.
#include "cli_account.h"
#include "cli_command.h"
#include "record_arguments.h"

#include "base/prompt.h"
#include "document/account_file.h"
#include "model/column_list.h"
#include "records/field_assignments.h"
#include "recurring/recurring_store.h"

namespace {

const char kUsage[] =
    "recurring PATH [add TITLE --group ID --every N days|weeks|months|years "
    "--from DATE [--times K | --until DATE] [--auto] FIELD=VALUE... | "
    "delete ID | pause ID | resume ID]";

int Usage() {
  ShowUsage("recurring");
  return 1;
}

int List(const QString &path) {
  AccountFile file;
  if (!OpenForReading(file, path))
    return 1;
  for (const RecurringRecord &record : LoadRecurringRecords(file)) {
    const QDate next = NextDueDate(record);
    PrintLine(QStringList{QString::number(record.id), record.title,
                          QString::number(record.groupId),
                          RhythmText(record.rhythm),
                          next.isValid() ? next.toString(Qt::ISODate)
                                         : QString(),
                          RecurringStateText(record)}
                  .join(QLatin1Char('\t')));
  }
  return 0;
}

// The options of "add" after TITLE; FIELD=VALUE texts go to assignments.
// False after a message.
bool ParseOptions(const QStringList &args, RecurringRecord &record,
                  QStringList &assignments) {
  bool haveGroup = false, haveEvery = false;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString &arg = args[i];
    const qsizetype left = args.size() - i - 1;
    if (arg == QLatin1String("--group") && left >= 1) {
      haveGroup = true;
      if (!ParseIntegerArgument(args[++i], QStringLiteral("分组 ID"),
                                record.groupId))
        return false;
    } else if (arg == QLatin1String("--every") && left >= 2) {
      haveEvery = true;
      if (!ParseIntegerArgument(args[i + 1], QStringLiteral("周期"),
                                record.rhythm.every))
        return false;
      if (!ParseRhythmUnit(args[i + 2], record.rhythm.unit)) {
        ShowMessage(QStringLiteral("周期单位应为 days、weeks、months 或 "
                                   "years：%1")
                        .arg(args[i + 2]));
        return false;
      }
      i += 2;
    } else if (arg == QLatin1String("--from") && left >= 1) {
      if (!ParseDateArgument(args[++i], arg, record.first))
        return false;
    } else if (arg == QLatin1String("--times") && left >= 1 &&
               record.end == RecurringEnd::Never) {
      record.end = RecurringEnd::AfterTimes;
      if (!ParseIntegerArgument(args[++i], QStringLiteral("次数"),
                                record.times))
        return false;
    } else if (arg == QLatin1String("--until") && left >= 1 &&
               record.end == RecurringEnd::Never) {
      record.end = RecurringEnd::OnDate;
      if (!ParseDateArgument(args[++i], arg, record.until))
        return false;
    } else if (arg == QLatin1String("--auto")) {
      record.automatic = true;
    } else if (arg.startsWith(QLatin1String("--"))) {
      Usage();
      return false;
    } else {
      assignments.append(arg);
    }
  }
  if (haveGroup && haveEvery && record.first.isValid())
    return true;
  Usage();
  return false;
}

int Add(const QString &path, const QStringList &args) {
  if (args.isEmpty())
    return Usage();
  RecurringRecord record;
  record.title = args[0];
  QStringList texts;
  if (!ParseOptions(args.mid(1), record, texts))
    return 1;
  AccountFile file;
  if (!OpenForCommand(file, path))
    return 1;
  QList<FieldAssignment> assignments;
  if (!ParseFieldAssignments(texts, file.Columns(), assignments))
    return 1;
  for (const FieldAssignment &assignment : assignments)
    record.values.append({file.Columns().FieldName(assignment.position),
                          assignment.text});
  if (!AddRecurringRecord(file, record))
    return 1;
  PrintLine(QString::number(record.id));
  return 0;
}

int Change(const QString &path, const QString &action, const QString &idText) {
  int id = 0;
  if (!ParseIntegerArgument(idText, QStringLiteral("定期记录 ID"), id))
    return 1;
  AccountFile file;
  if (!OpenForCommand(file, path))
    return 1;
  if (action == QLatin1String("delete"))
    return DeleteRecurringRecord(file, id) ? 0 : 1;
  return SetRecurringPaused(file, id, action == QLatin1String("pause")) ? 0
                                                                          : 1;
}

int RunRecurring(const QStringList &args) {
  if (args.size() == 1)
    return List(args[0]);
  if (args.size() >= 2 && args[1] == QLatin1String("add"))
    return Add(args[0], args.mid(2));
  static const QStringList kChanges{"delete", "pause", "resume"};
  if (args.size() == 3 && kChanges.contains(args[1]))
    return Change(args[0], args[1], args[2]);
  return Usage();
}

} // namespace

SORVANEL_CLI_COMMAND("recurring", kUsage, RunRecurring);
