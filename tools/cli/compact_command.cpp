// sorvanel-cli compact PATH: opens the file (upgrading it when older) and
// compacts it.
#include "cli_account.h"
#include "cli_command.h"

#include "storage/compaction.h"
#include "base/prompt.h"
#include "document/account_file.h"

namespace {

int RunCompact(const QStringList &args) {
  if (args.size() != 1) {
    ShowUsage("compact");
    return 1;
  }
  // The file's lock is held until the compacted copy has taken its place.
  AccountFile file;
  if (!OpenForCommand(file, args[0]))
    return 1;
  return CompactAccountFile(args[0]) ? 0 : 1;
}

} // namespace

SORVANEL_CLI_COMMAND("compact", "compact PATH", RunCompact);
