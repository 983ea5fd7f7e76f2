// Trying a chart scope's WHERE text on table Users.
#include "analysis/scope_check.h"

#include "db/db_visiter.h"
#include "db/describe_error.h"

QString ScopeWhereError(CDBVisiter &session, const QString &where) {
  if (where.isEmpty())
    return QString();
  session.Query(QStringLiteral("SELECT COUNT(*) FROM Users WHERE (") + where +
                QLatin1Char(')'));
  return ConditionRefusal(session.QueryError());
}
