// sorvanel-cli set PATH KEY GROUP FIELD=TEXT: a record edited the way the
// records grid saves an edited cell: the stored record with the new text,
// the columns depending on it recalculated, and the update recorded in the
// undo history.
#include "cli_account.h"
#include "cli_command.h"
#include "record_arguments.h"

#include "base/prompt.h"
#include "formula/evaluate_row.h"
#include "document/account_file.h"
#include "records/command_history.h"
#include "records/field_assignments.h"
#include "records/row_item.h"

namespace {

const char kUsage[] = "set PATH KEY GROUP FIELD=TEXT";

int RunSet(const QStringList &args) {
  if (args.size() != 4) {
    ShowUsage("set");
    return 1;
  }
  AccountFile file;
  if (!OpenForCommand(file, args[0]))
    return 1;
  CRowItem row;
  if (!LoadStoredRecord(file, args[1], args[2], row))
    return 1;
  QList<FieldAssignment> assignments;
  if (!ParseFieldAssignments(args.mid(3), file.Columns(), assignments))
    return 1;
  const FieldAssignment &assignment = assignments.first();
  // Changing the key would make the update address another record.
  if (assignment.position == int(row.keyIndex)) {
    ShowMessage(QStringLiteral("编号不能修改：%1")
                    .arg(file.Columns().FieldName(assignment.position)));
    return 1;
  }
  row.items[assignment.position].text = assignment.text;
  if (!RecalculateDependents(row.items, assignment.position))
    return 1;
  return file.History().UpdateRows({row}) > 0 ? 0 : 1;
}

} // namespace

SORVANEL_CLI_COMMAND("set", kUsage, RunSet);
