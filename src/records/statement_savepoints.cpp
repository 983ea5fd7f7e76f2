// The savepoints around the single statements of one user action.
#include "records/statement_savepoints.h"

#include "db/db_visiter.h"
#include "records/command.h"

#include <sqlite3.h>

namespace {

sqlite3_stmt *Prepare(sqlite3 *db, const char *sql) {
  sqlite3_stmt *statement = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
    sqlite3_finalize(statement);
    return nullptr;
  }
  return statement;
}

} // namespace

StatementSavepoints::StatementSavepoints(CDBVisiter *session)
    : session_(session), db_(session ? session->GetConnection() : nullptr) {
  if (!db_)
    return;
  begin_ = Prepare(db_, "SAVEPOINT sorvanel_row");
  release_ = Prepare(db_, "RELEASE sorvanel_row");
}

StatementSavepoints::~StatementSavepoints() {
  sqlite3_finalize(begin_);
  sqlite3_finalize(release_);
  sqlite3_finalize(rollback_);
}

bool StatementSavepoints::Step(sqlite3_stmt *statement) {
  if (!statement)
    return false;
  const int rc = sqlite3_step(statement);
  sqlite3_reset(statement);
  return rc == SQLITE_DONE;
}

bool StatementSavepoints::RunAlone(CCommand &command) {
  if (session_ && session_->TransactionLost())
    return false;
  // Without a savepoint the statement still goes into the action's unit.
  if (!Step(begin_))
    return command.Run();
  if (command.Run() && Step(release_))
    return true;
  if (session_->TransactionLost())
    return false; // the savepoint went with the transaction
  // Prepared only when a row failed: preparing a rollback tells the
  // session that the schema may change back, and it then forgets what it
  // knows of the tables and the statements it prepared from that.
  if (!rollback_)
    rollback_ = Prepare(db_, "ROLLBACK TO sorvanel_row");
  Step(rollback_);
  Step(release_);
  return false;
}
