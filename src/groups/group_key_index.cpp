// The index on Users (trelva_Group_ID, key) through which the largest key of
// every group is read when the tree is loaded. Without it each group's
// "SELECT max(key) ... Where trelva_Group_ID=%d" reads the whole table, which
// with hundreds of groups makes opening a large file take many seconds.
#include "groups/group_tree.h"

#include "db/db_visiter.h"
#include "db/jet_dialect.h"

#include <QStringList>

#include <sqlite3.h>

namespace {

// The first column of every row of sql with one text parameter.
QStringList Column(sqlite3 *db, const char *sql, const QString &parameter) {
  QStringList values;
  sqlite3_stmt *statement = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
    sqlite3_finalize(statement);
    return values;
  }
  const QByteArray bytes = parameter.toUtf8();
  sqlite3_bind_text(statement, 1, bytes.constData(), int(bytes.size()),
                    SQLITE_TRANSIENT);
  while (sqlite3_step(statement) == SQLITE_ROW)
    values.append(QString::fromUtf8(
        reinterpret_cast<const char *>(sqlite3_column_text(statement, 0))));
  sqlite3_finalize(statement);
  return values;
}

bool SameName(const QString &a, const QString &b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool HasColumn(const QStringList &columns, const QString &name) {
  for (const QString &column : columns)
    if (SameName(column, name))
      return true;
  return false;
}

// True when a full (not partial) index of Users starts with the two columns.
bool HasIndex(sqlite3 *db, const QString &first, const QString &second) {
  const QStringList indexes =
      Column(db, "SELECT name FROM pragma_index_list(?1) WHERE partial=0",
             QStringLiteral("Users"));
  for (const QString &index : indexes) {
    const QStringList columns = Column(
        db, "SELECT name FROM pragma_index_info(?1) ORDER BY seqno", index);
    if (columns.size() >= 2 && SameName(columns[0], first) &&
        SameName(columns[1], second))
      return true;
  }
  return false;
}

} // namespace

bool EnsureGroupKeyIndex(CDBVisiter &session, const QString &keyField) {
  sqlite3 *db = session.GetConnection();
  if (!db)
    return false;
  const QString group = QStringLiteral("trelva_Group_ID");
  if (HasIndex(db, group, keyField))
    return true;
  const QStringList columns =
      Column(db, "SELECT name FROM pragma_table_info(?1)", QStringLiteral("Users"));
  if (!HasColumn(columns, group) || !HasColumn(columns, keyField) ||
      keyField.contains(QLatin1Char(']')))
    return false;
  // Made through the Jet adapter like every other statement, but run quietly:
  // a file that can't take the index (read-only, say) still loads, only
  // slower, and the user has nothing to act on.
  // Unique when the records allow it, since a key is unique within its
  // group: then no statement can ever store a record twice.
  session.CloseResult();
  for (const char *kind : {"Create Unique Index", "Create Index"}) {
    QByteArray sql;
    if (!TranslateJetSql(QStringLiteral("%1 UsersGroupKey On Users "
                                        "([trelva_Group_ID], [%2])")
                             .arg(QLatin1String(kind), keyField),
                         sql, nullptr))
      return false;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) ==
        SQLITE_OK)
      return true;
  }
  return false;
}
