// sorvanel-cli export PATH OUT.csv|OUT.xlsx [--where TEXT]: writes the
// records (those the Jet condition TEXT selects, else all) to a CSV file
// (UTF-8 with a byte order mark) or an XLSX workbook, the captions as the
// header row, ordered by key. Prints the number of records written. An
// output that is an account file, or a condition that does not run, is an
// error (exit 1) and writes nothing.
#include "cli_account.h"
#include "cli_command.h"

#include "base/prompt.h"
#include "exchange/records_export.h"
#include "document/account_file.h"

namespace {

const char kUsage[] = "export PATH OUT.csv|OUT.xlsx [--where TEXT]";

int RunExport(const QStringList &args) {
  QString path, out, where;
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--where") && i + 1 < args.size())
      where = args[++i];
    else if (path.isEmpty())
      path = args[i];
    else if (out.isEmpty())
      out = args[i];
    else
      path.clear();
  }
  if (path.isEmpty() || out.isEmpty()) {
    ShowUsage("export");
    return 1;
  }
  AccountFile file;
  if (!OpenForReading(file, path))
    return 1;
  int count = 0;
  bool cancelled = false;
  QString error;
  if (!ExportRecords(file, {where}, out, {}, &count, &cancelled, &error)) {
    ShowMessage(error);
    return 1;
  }
  PrintLine(QStringLiteral("已导出 %1 条记录").arg(count));
  return 0;
}

} // namespace

SORVANEL_CLI_COMMAND("export", kUsage, RunExport);
