// sorvanel-cli add PATH [--group ID] FIELD=TEXT ...: a new record, made the
// way the records grid makes one typed into the new-record row of a group:
// the given texts in their columns, the next key of the group, the automatic
// date and time, the defaults of the other columns and their formulas, and
// the insert recorded in the undo history. Prints the new key.
#include "cli_account.h"
#include "cli_command.h"
#include "record_arguments.h"

#include "base/prompt.h"
#include "groups/group_node.h"
#include "document/account_file.h"
#include "records/command_history.h"
#include "records/field_assignments.h"
#include "records/new_record.h"
#include "records/row_item.h"

namespace {

const char kUsage[] = "add PATH [--group ID] FIELD=TEXT ...";

struct AddArguments {
  QString path;
  QString group; // empty: the first group of the tree
  QStringList assignments;
};

bool ParseAddArguments(const QStringList &args, AddArguments &out) {
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--group")) {
      if (i + 1 >= args.size() || !out.group.isEmpty()) {
        ShowUsage("add");
        return false;
      }
      out.group = args[++i];
    } else if (out.path.isEmpty()) {
      out.path = args[i];
    } else {
      out.assignments.append(args[i]);
    }
  }
  if (out.path.isEmpty()) {
    ShowUsage("add");
    return false;
  }
  return true;
}

GroupNode *TargetGroup(AccountFile &file, const QString &groupArg) {
  if (groupArg.isEmpty()) {
    GroupNode *group = FirstRecordGroup(file.Root());
    if (!group)
      ShowMessage(QStringLiteral("账簿中没有分组，无法添加记录"));
    return group;
  }
  int id = 0;
  if (!ParseIntegerArgument(groupArg, QStringLiteral("分组 ID"), id))
    return nullptr;
  return FindRecordGroup(file.Root(), id);
}

int RunAdd(const QStringList &args) {
  AddArguments parsed;
  if (!ParseAddArguments(args, parsed))
    return 1;
  AccountFile file;
  if (!OpenForCommand(file, parsed.path))
    return 1;
  GroupNode *group = TargetGroup(file, parsed.group);
  if (!group)
    return 1;

  CRowItem row = CRowItem::EmptyRow(file, group->id);
  QList<FieldAssignment> assignments;
  if (!ParseFieldAssignments(parsed.assignments, file.Columns(), assignments))
    return 1;
  for (const FieldAssignment &assignment : assignments) {
    // The key comes from the group; a key given here would be overwritten.
    if (assignment.position == int(row.keyIndex)) {
      ShowMessage(QStringLiteral("编号由分组自动给出，不能指定：%1")
                      .arg(file.Columns().FieldName(assignment.position)));
      return 1;
    }
    row.items[assignment.position].text = assignment.text;
  }

  // A result that is no number stores no record.
  if (!CompleteNewRecord(row, *group, QDateTime::currentDateTime()) ||
      file.History().AddRows({row}) == 0)
    return 1;
  PrintLine(QString::number(row.KeyValue()));
  return 0;
}

} // namespace

SORVANEL_CLI_COMMAND("add", kUsage, RunAdd);
