// The savepoints around the single statements of one user action: every
// row of an action gets one, so that a row that fails is undone alone
// while the others stay in the action's unit of work. The savepoint
// statements are prepared once per action instead of being parsed again
// for every row; an object lives no longer than its action, so nothing it
// prepared outlives the action.
#pragma once

class CCommand;
class CDBVisiter;
struct sqlite3;
struct sqlite3_stmt;

class StatementSavepoints {
public:
  explicit StatementSavepoints(CDBVisiter *session);
  ~StatementSavepoints();
  StatementSavepoints(const StatementSavepoints &) = delete;
  StatementSavepoints &operator=(const StatementSavepoints &) = delete;

  // Runs the command inside a savepoint of its own; whether its statement
  // succeeded and was kept. Once the engine has dropped the action's
  // transaction (CDBVisiter::TransactionLost) nothing runs any more: a
  // savepoint then would begin a transaction of its own and commit the
  // row alone.
  bool RunAlone(CCommand &command);

private:
  bool Step(sqlite3_stmt *statement);

  CDBVisiter *session_ = nullptr;
  sqlite3 *db_ = nullptr;
  sqlite3_stmt *begin_ = nullptr;
  sqlite3_stmt *release_ = nullptr;
  sqlite3_stmt *rollback_ = nullptr;
};
