// sorvanel-cli columns PATH: the enabled columns, one line each: position,
// field name, caption, type name, width, options, default value.
#include "cli_account.h"
#include "cli_command.h"

#include "base/prompt.h"
#include "document/account_file.h"

namespace {

int RunColumns(const QStringList &args) {
  if (args.size() != 1) {
    ShowUsage("columns");
    return 1;
  }
  AccountFile file;
  if (!OpenForReading(file, args[0]))
    return 1;
  const ColumnList &columns = file.Columns();
  for (int i = 0; i < columns.Size(); ++i) {
    const ColumnDef &column = columns.At(i);
    PrintLine(QStringList{QString::number(i), column.fieldName, column.title,
                          FieldTypeName(column.type),
                          QString::number(column.width), column.options,
                          column.defaultValue}
                  .join(QLatin1Char('\t')));
  }
  return 0;
}

} // namespace

SORVANEL_CLI_COMMAND("columns", "columns PATH", RunColumns);
