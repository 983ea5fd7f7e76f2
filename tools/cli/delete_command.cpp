// sorvanel-cli delete PATH KEY GROUP: deletes one record, recorded in the
// undo history as the records grid records a deletion.
#include "cli_account.h"
#include "cli_command.h"
#include "record_arguments.h"

#include "base/prompt.h"
#include "document/account_file.h"
#include "records/command_history.h"
#include "records/row_item.h"

namespace {

const char kUsage[] = "delete PATH KEY GROUP";

int RunDelete(const QStringList &args) {
  if (args.size() != 3) {
    ShowUsage("delete");
    return 1;
  }
  AccountFile file;
  if (!OpenForCommand(file, args[0]))
    return 1;
  CRowItem row;
  if (!LoadStoredRecord(file, args[1], args[2], row))
    return 1;
  return file.History().DeleteRows({row}) > 0 ? 0 : 1;
}

} // namespace

SORVANEL_CLI_COMMAND("delete", kUsage, RunDelete);
