// Reading a table's columns and their declared types for the adapter.
#include "db/session_schema.h"

#include "db/jet_types.h"

#include <sqlite3.h>

#include <cstring>

SessionSchema::SessionSchema(sqlite3 *db) : db_(db) {
  sqlite3_set_authorizer(db_, &SessionSchema::Authorize, this);
}

int SessionSchema::Authorize(void *self, int action, const char *first,
                             const char *, const char *, const char *) {
  bool changes = false;
  switch (action) {
  case SQLITE_CREATE_TABLE:
  case SQLITE_CREATE_TEMP_TABLE:
  case SQLITE_CREATE_VIEW:
  case SQLITE_CREATE_TEMP_VIEW:
  case SQLITE_DROP_TABLE:
  case SQLITE_DROP_TEMP_TABLE:
  case SQLITE_DROP_VIEW:
  case SQLITE_DROP_TEMP_VIEW:
  case SQLITE_ALTER_TABLE:
    changes = true;
    break;
  case SQLITE_TRANSACTION:
  case SQLITE_SAVEPOINT:
    changes = first && std::strcmp(first, "ROLLBACK") == 0;
    break;
  default:
    break;
  }
  if (changes) {
    SessionSchema *schema = static_cast<SessionSchema *>(self);
    schema->tables_.clear();
    ++schema->generation_;
  }
  return SQLITE_OK;
}

const JetTableColumns *SessionSchema::Columns(const QString &table) {
  const QString key = table.toLower();
  const auto found = tables_.constFind(key);
  if (found != tables_.constEnd())
    return &found.value();
  sqlite3_stmt *stmt = nullptr;
  if (sqlite3_prepare_v2(db_, "SELECT name, type FROM pragma_table_info(?1)", -1,
                         &stmt, nullptr) != SQLITE_OK)
    return nullptr;
  const QByteArray name = table.toUtf8();
  sqlite3_bind_text(stmt, 1, name.constData(), int(name.size()), SQLITE_STATIC);
  JetTableColumns columns;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    columns.names.append(QString::fromUtf8(
        reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0))));
    const char *type = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1));
    columns.integer.push_back(KindOfDeclaredType(type) == ColumnKind::Integer);
  }
  sqlite3_finalize(stmt);
  if (columns.names.isEmpty())
    return nullptr;
  return &tables_.insert(key, columns).value();
}
