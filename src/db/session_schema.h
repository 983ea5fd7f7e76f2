// The columns of an account file's tables as the Jet adapter asks for them
// (which columns hold integers), read from the session's connection and
// kept until a statement on that connection may have changed them.
//
// SQLite asks the connection's authorizer about every statement it
// prepares; the schema listens there for CREATE, DROP, ALTER and any
// rollback (which may undo one) and then forgets what it read. This costs
// nothing per statement run, unlike asking for the schema version, which
// takes a read lock on the file each time.
#pragma once

#include "db/jet_dialect.h"

#include <QHash>

struct sqlite3;

class SessionSchema : public JetSchema {
public:
  // Installs itself as db's authorizer. The connection must be closed
  // before the schema is destroyed.
  explicit SessionSchema(sqlite3 *db);
  SessionSchema(const SessionSchema &) = delete;
  SessionSchema &operator=(const SessionSchema &) = delete;

  const JetTableColumns *Columns(const QString &table) override;
  // Counts the times the schema forgot what it read: statements prepared
  // from what it said before a change must be prepared again.
  unsigned Generation() const { return generation_; }

private:
  static int Authorize(void *self, int action, const char *first,
                       const char *second, const char *database,
                       const char *trigger);

  sqlite3 *db_;
  QHash<QString, JetTableColumns> tables_;  // by lower-case name
  unsigned generation_ = 0;
};
