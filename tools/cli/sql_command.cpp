// sorvanel-cli sql PATH STATEMENT: a SELECT prints its rows, columns through
// GetString separated by tabs; any other statement is executed.
#include "cli_account.h"
#include "cli_command.h"

#include "base/prompt.h"
#include "db/db_visiter.h"
#include "document/account_file.h"

#include <QRegularExpression>

namespace {

bool IsSelect(const QString &sql) {
  static const QRegularExpression select(
      QStringLiteral("^\\s*select\\b"), QRegularExpression::CaseInsensitiveOption);
  return select.match(sql).hasMatch();
}

int PrintQuery(CDBVisiter &session, const QString &sql) {
  const int rows = session.Query(sql);
  // Query gives 0 both for no rows and for a failure; only an opened result
  // tells the two apart.
  if (rows == 0 && !session.IsResultOpen()) {
    ShowMessage(QStringLiteral("查询失败！"));
    return 1;
  }
  if (rows == 0)
    return 0;
  QStringList names;
  const int columns = session.GetFieldNames(names);
  do {
    QStringList cells;
    for (int i = 0; i < columns; ++i)
      cells.append(session.GetString(i));
    PrintLine(cells.join(QLatin1Char('\t')));
  } while (session.MoveNext());
  return 0;
}

int RunSql(const QStringList &args) {
  if (args.size() != 2) {
    ShowUsage("sql");
    return 1;
  }
  // A SELECT reads without the file's lock; anything else holds it.
  AccountFile file;
  const bool select = IsSelect(args[1]);
  if (!(select ? OpenForReading(file, args[0]) : OpenForCommand(file, args[0])))
    return 1;
  CDBVisiter &session = *file.Session();
  if (select)
    return PrintQuery(session, args[1]);
  return session.Execute(args[1]) ? 0 : 1;
}

} // namespace

SORVANEL_CLI_COMMAND("sql", "sql PATH STATEMENT", RunSql);
