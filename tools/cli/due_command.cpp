// sorvanel-cli due PATH [--until DATE] [--apply]: the occurrences of the
// recurring records that are due up to DATE (default today), one per line:
// recurring record ID, date, group ID, then its FIELD=VALUE pairs,
// separated by tabs. With --apply they are added as records, as the
// program adds them, and the new keys are printed instead, one per line; a
// recurring record whose occurrence cannot be made is named and skipped
// (the status is then 1) without holding back the others.
#include "cli_account.h"
#include "cli_command.h"
#include "record_arguments.h"

#include "base/prompt.h"
#include "document/account_file.h"
#include "records/row_item.h"
#include "recurring/due_occurrences.h"
#include "recurring/recurring_store.h"

namespace {

const char kUsage[] = "due PATH [--until DATE] [--apply]";

struct DueArguments {
  QString path;
  QDate until = QDate::currentDate();
  bool apply = false;
};

bool ParseDueArguments(const QStringList &args, DueArguments &out) {
  for (qsizetype i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--apply")) {
      out.apply = true;
    } else if (args[i] == QLatin1String("--until") && i + 1 < args.size()) {
      ++i;
      if (!ParseDateArgument(args[i], QStringLiteral("--until"), out.until))
        return false;
    } else if (out.path.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
      out.path = args[i];
    } else {
      out.path.clear();
      break;
    }
  }
  if (!out.path.isEmpty())
    return true;
  ShowUsage("due");
  return false;
}

void PrintDue(const QList<RecurringRecord> &records,
              const QList<DueOccurrence> &due) {
  for (const DueOccurrence &occurrence : due) {
    const RecurringRecord *record = RecordOf(records, occurrence);
    QStringList parts{QString::number(occurrence.recurringId),
                      occurrence.date.toString(Qt::ISODate),
                      QString::number(record->groupId)};
    parts.append(ValueAssignments(*record));
    PrintLine(parts.join(QLatin1Char('\t')));
  }
}

int RunDue(const QStringList &args) {
  DueArguments parsed;
  if (!ParseDueArguments(args, parsed))
    return 1;
  AccountFile file;
  if (!(parsed.apply ? OpenForCommand(file, parsed.path)
                     : OpenForReading(file, parsed.path)))
    return 1;
  const QList<RecurringRecord> records = LoadRecurringRecords(file);
  const QList<DueOccurrence> due = DueOccurrences(records, parsed.until);
  if (!parsed.apply) {
    PrintDue(records, due);
    return 0;
  }
  QList<CRowItem> made;
  QList<int> skipped;
  if (!AddOccurrences(file, records, due, &made, &skipped))
    return 1;
  for (const CRowItem &row : made)
    PrintLine(QString::number(row.KeyValue()));
  // The records skipped were named on stderr; the others are added.
  return skipped.isEmpty() ? 0 : 1;
}

} // namespace

SORVANEL_CLI_COMMAND("due", kUsage, RunDue);
