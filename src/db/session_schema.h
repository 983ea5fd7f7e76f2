// The columns of an account file's tables as the Jet adapter asks for them
// (which columns hold integers), read from the session's connection and
// kept until the file's schema changes.
#pragma once

#include "db/jet_dialect.h"

#include <QHash>

struct sqlite3;
struct sqlite3_stmt;

class SessionSchema : public JetSchema {
public:
  explicit SessionSchema(sqlite3 *db);
  ~SessionSchema() override;
  SessionSchema(const SessionSchema &) = delete;
  SessionSchema &operator=(const SessionSchema &) = delete;

  const JetTableColumns *Columns(const QString &table) override;

private:
  // Forgets every table when the schema changed since the last look.
  void CheckVersion();

  sqlite3 *db_;
  sqlite3_stmt *version_ = nullptr;
  int knownVersion_ = -1;
  QHash<QString, JetTableColumns> tables_;  // by lower-case name
};
