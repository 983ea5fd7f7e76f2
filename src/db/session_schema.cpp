// Reading a table's columns and their declared types for the adapter.
#include "db/session_schema.h"

#include "db/jet_types.h"

#include <sqlite3.h>

SessionSchema::SessionSchema(sqlite3 *db) : db_(db) {
  sqlite3_prepare_v3(db_, "PRAGMA schema_version", -1, SQLITE_PREPARE_PERSISTENT,
                     &version_, nullptr);
}

SessionSchema::~SessionSchema() { sqlite3_finalize(version_); }

void SessionSchema::CheckVersion() {
  int version = -1;
  if (version_ && sqlite3_step(version_) == SQLITE_ROW)
    version = sqlite3_column_int(version_, 0);
  sqlite3_reset(version_);
  if (version == knownVersion_ && version >= 0)
    return;
  tables_.clear();
  knownVersion_ = version;
}

const JetTableColumns *SessionSchema::Columns(const QString &table) {
  CheckVersion();
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
