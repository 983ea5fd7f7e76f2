// Reading whole results in tests.
#include "support/query_rows.h"

#include "db/db_visiter.h"

QStringList QueryRows(CDBVisiter &session, const QString &sql) {
  QStringList rows;
  if (session.Query(sql) == 0)
    return rows;
  QStringList names;
  const int columns = session.GetFieldNames(names);
  do {
    QStringList cells;
    for (int i = 0; i < columns; ++i)
      cells.append(session.GetString(i));
    rows.append(cells.join(QLatin1Char('|')));
  } while (session.MoveNext());
  return rows;
}
