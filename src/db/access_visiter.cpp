// CAccessVisiter: opening an account file, statements, queries and the
// typed readers.
#include "db/access_visiter.h"

#include "base/prompt.h"
#include "db/account_check.h"
#include "db/alter_column.h"
#include "db/describe_error.h"
#include "db/insert_statements.h"
#include "db/jet_collation.h"
#include "db/jet_dialect.h"
#include "db/jet_functions.h"
#include "db/result_set.h"
#include "db/session_schema.h"

#include <QFileInfo>

#include <sqlite3.h>

#include <climits>

namespace {

// Lets a statement read tables and call functions, nothing else: no write,
// ATTACH, PRAGMA or transaction control, which a read-only statement in
// SQLite's own sense may still be.
int AllowReadingOnly(void *, int action, const char *, const char *,
                     const char *, const char *) {
  switch (action) {
  case SQLITE_SELECT:
  case SQLITE_READ:
  case SQLITE_FUNCTION:
  case SQLITE_RECURSIVE:
    return SQLITE_OK;
  default:
    return SQLITE_DENY;
  }
}

} // namespace

CAccessVisiter::CAccessVisiter(const QString &dataSource, Access access)
    : CDBVisiter(dataSource), readOnly_(access == ReadOnly) {}

// The connection closes before the schema that listens to it goes.
CAccessVisiter::~CAccessVisiter() { Close(); }

bool CAccessVisiter::FailOpen(int code, const QString &problem) {
  Close();
  ShowMessage(QStringLiteral("打开数据库失败！\r\n错误代码:%1")
                  .arg(problem.isEmpty() ? DescribeError(code) : problem));
  return false;
}

bool CAccessVisiter::Open() {
  Close();
  schema_.reset();
  // A folder or a FIFO is no file to open; a missing file is the engine's
  // to report.
  if (QFileInfo::exists(dataSource_) && !QFileInfo(dataSource_).isFile())
    return FailOpen(SQLITE_CANTOPEN, AccountPathProblem(dataSource_));
  // Never create; an absolute name, so that nothing is read as a URI. A
  // session is used by one thread only, so the connection needs no mutex
  // of its own around every call.
  const int flags =
      (readOnly_ ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
      SQLITE_OPEN_NOMUTEX;
  const int rc = sqlite3_open_v2(EngineFileName(dataSource_).constData(),
                                 &connection_, flags, nullptr);
  if (rc != SQLITE_OK)
    return FailOpen(rc);
  sqlite3_extended_result_codes(connection_, 0);
  sqlite3_busy_timeout(connection_, connectionTimeout_ * 1000);
  // The adapter writes names as "name"; SQLite would read an unknown one as
  // a text instead of refusing it, so a misspelt [column] would silently
  // yield its own name on every row.
  sqlite3_db_config(connection_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(connection_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  RegisterJetCollation(connection_);
  if (!readOnly_ && sqlite3_db_readonly(connection_, "main") == 1)
    return FailOpen(SQLITE_READONLY, ReadOnlyFileMessage(dataSource_));
  // Only reads until the file is known to be an account file.
  QString checkProblem;
  const int check = CheckAccountDatabase(connection_, dataSource_, &checkProblem);
  if (check != SQLITE_OK)
    return FailOpen(check, checkProblem);
  RegisterJetFunctions(connection_);
  if (!readOnly_ && !PrepareForWriting())
    return FailOpen(sqlite3_errcode(connection_));
  schema_ = std::make_unique<SessionSchema>(connection_);
  inserts_ = std::make_unique<InsertStatements>(connection_, schema_.get());
  result_ = std::make_unique<ResultSet>();
  return true;
}

bool CAccessVisiter::PrepareForWriting() {
  if (sqlite3_exec(connection_, "PRAGMA journal_mode=DELETE", nullptr, nullptr,
                   nullptr) != SQLITE_OK ||
      sqlite3_exec(connection_, "PRAGMA synchronous=FULL", nullptr, nullptr,
                   nullptr) != SQLITE_OK)
    return false;
  // A failed rebuild leaves the file as it was and usable; it is tried
  // again on the next open.
  EnsureFoldedTextOrder(connection_);
  return true;
}

bool CAccessVisiter::NeedsUpgrade() const {
  return connection_ &&
         (!HasCurrentLayout(connection_) || !HasFoldedTextOrder(connection_));
}

int CAccessVisiter::Query(const QString &sql) { return RunQuery(sql, false); }

int CAccessVisiter::QueryReadOnly(const QString &sql) {
  return RunQuery(sql, true);
}

int CAccessVisiter::FailQuery(const QString &error) {
  queryError_ = error;
  return 0;
}

int CAccessVisiter::RunQuery(const QString &sql, bool readOnly) {
  CloseResult();
  queryError_.clear();
  if (!connection_ || !result_)
    return FailQuery(QStringLiteral("Operation is not allowed when the object is closed."));
  JetTranslation translation;
  QString error;
  if (!TranslateJet(sql, translation, &error))
    return FailQuery(error);
  if (translation.kind != JetTranslation::Plain)
    return FailQuery(QStringLiteral("该语句不返回记录"));
  sqlite3_stmt *stmt = nullptr;
  const QByteArray text = translation.sql.toUtf8();
  if (readOnly)
    sqlite3_set_authorizer(connection_, AllowReadingOnly, nullptr);
  const int prepared = sqlite3_prepare_v2(connection_, text.constData(),
                                          int(text.size()), &stmt, nullptr);
  if (readOnly)
    sqlite3_set_authorizer(connection_, nullptr, nullptr);
  if (prepared == SQLITE_AUTH || (readOnly && stmt && !sqlite3_stmt_readonly(stmt))) {
    sqlite3_finalize(stmt);
    return FailQuery(QStringLiteral("该语句会修改账簿文件，已拒绝执行"));
  }
  if (prepared != SQLITE_OK || !stmt) {
    sqlite3_finalize(stmt);
    return FailQuery(prepared != SQLITE_OK
                         ? QString::fromUtf8(sqlite3_errmsg(connection_))
                         : QStringLiteral("该语句不返回记录"));
  }
  const bool loaded = result_->Load(stmt);
  if (!loaded)
    queryError_ = QString::fromUtf8(sqlite3_errmsg(connection_));
  sqlite3_finalize(stmt);
  return loaded ? result_->RowCount() : 0;
}

bool CAccessVisiter::Execute(const QString &sql) {
  changedRows_ = 0;
  if (!connection_) {
    ShowMessage(QStringLiteral("Operation is not allowed when the object is closed."));
    return false;
  }
  // The failure that cost the transaction has been shown already.
  if (TransactionLost())
    return false;
  JetTranslation translation;
  QString error;
  if (!TranslateJet(sql, translation, &error, schema_.get())) {
    ShowMessage(error);
    return false;
  }
  if (translation.kind == JetTranslation::AlterColumn) {
    if (RebuildWithColumn(connection_, translation, &error))
      return true;
    ShowMessage(error);
    return false;
  }
  sqlite3_stmt *stmt = nullptr;
  const QByteArray text = translation.sql.toUtf8();
  if (sqlite3_prepare_v2(connection_, text.constData(), int(text.size()), &stmt,
                         nullptr) != SQLITE_OK) {
    ShowMessage(EngineFailureText(sqlite3_extended_errcode(connection_),
                                  QString::fromUtf8(sqlite3_errmsg(connection_))));
    sqlite3_finalize(stmt);
    return false;
  }
  if (!stmt)
    return true;  // nothing to run
  // sqlite3_changes keeps the count of the last INSERT, UPDATE or DELETE
  // when other statements run; the total tells whether this one changed
  // anything at all.
  const sqlite3_int64 totalBefore = sqlite3_total_changes64(connection_);
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) {
    // The statement was its own transaction; SQLite has undone it whole.
    const QString message =
        EngineFailureText(sqlite3_extended_errcode(connection_),
                          QString::fromUtf8(sqlite3_errmsg(connection_)));
    sqlite3_finalize(stmt);
    ShowMessage(message);
    return false;
  }
  sqlite3_finalize(stmt);
  if (sqlite3_total_changes64(connection_) != totalBefore)
    changedRows_ = sqlite3_changes(connection_);
  return true;
}

bool CAccessVisiter::FindUnconvertibleValue(const QString &sql, QString &value) {
  JetTranslation translation;
  if (!connection_ || !TranslateJet(sql, translation, nullptr, schema_.get()) ||
      translation.kind != JetTranslation::AlterColumn)
    return false;
  return FirstUnconvertibleValue(connection_, translation, value);
}

int CAccessVisiter::QueryTable(const QString &table) {
  return Query(QStringLiteral("SELECT * FROM %1").arg(table));
}

unsigned CAccessVisiter::Count(const QString &table, QString where) {
  const QString sql =
      where.isEmpty()
          ? QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)
          : QStringLiteral("SELECT COUNT(*) FROM %1 where %2").arg(table, where);
  JetTranslation translation;
  sqlite3_stmt *stmt = nullptr;
  bool ok = connection_ && TranslateJet(sql, translation, nullptr) &&
            translation.kind == JetTranslation::Plain;
  if (ok) {
    const QByteArray text = translation.sql.toUtf8();
    ok = sqlite3_prepare_v2(connection_, text.constData(), int(text.size()),
                            &stmt, nullptr) == SQLITE_OK &&
         stmt && sqlite3_step(stmt) == SQLITE_ROW;
  }
  qint64 count = ok ? sqlite3_column_int64(stmt, 0) : 0;
  sqlite3_finalize(stmt);
  if (!ok) {
    ShowMessage(QStringLiteral("查询失败！"));
    return 0;
  }
  if (count < 0)
    count = 0;
  return count > qint64(UINT_MAX) ? UINT_MAX : unsigned(count);
}

int CAccessVisiter::CurrentColumn(int position) const {
  if (!result_ || !result_->HasRow() || !result_->IsValidColumn(position))
    return -1;
  return position;
}

int CAccessVisiter::CurrentColumn(const QString &name) const {
  if (!result_ || !result_->HasRow())
    return -1;
  return result_->FindColumn(name);
}

bool CAccessVisiter::GetValue(QVariant &out, int position, bool step) {
  const int column = CurrentColumn(position);
  if (column < 0)
    return false;
  out = result_->VariantAt(column);
  if (step)
    return result_->Next();
  return true;
}

bool CAccessVisiter::GetValue(QVariant &out, const QString &name, bool step) {
  const int column = CurrentColumn(name);
  if (column < 0)
    return false;
  out = result_->VariantAt(column);
  if (step)
    return result_->Next();
  return true;
}

QString CAccessVisiter::GetString(const QString &name) {
  const int column = CurrentColumn(name);
  return column < 0 ? QString() : result_->StringAt(column);
}

QString CAccessVisiter::GetString(int position) {
  const int column = CurrentColumn(position);
  return column < 0 ? QString() : result_->StringAt(column);
}

void CAccessVisiter::AppendString(int position, QString &out) {
  const int column = CurrentColumn(position);
  if (column >= 0)
    result_->AppendStringAt(column, out);
}

int CAccessVisiter::GetInt(const QString &name) {
  const int column = CurrentColumn(name);
  return column < 0 ? 0 : result_->IntAt(column);
}

int CAccessVisiter::GetInt(int position) {
  const int column = CurrentColumn(position);
  return column < 0 ? 0 : result_->IntAt(column);
}

bool CAccessVisiter::GetBool(const QString &name) {
  const int column = CurrentColumn(name);
  return column >= 0 && result_->BoolAt(column);
}

bool CAccessVisiter::GetBool(int position) {
  const int column = CurrentColumn(position);
  return column >= 0 && result_->BoolAt(column);
}

double CAccessVisiter::GetDouble(const QString &name) {
  const int column = CurrentColumn(name);
  return column < 0 ? 0.0 : result_->DoubleAt(column);
}

double CAccessVisiter::GetDouble(int position) {
  const int column = CurrentColumn(position);
  return column < 0 ? 0.0 : result_->DoubleAt(column);
}

int CAccessVisiter::GetFieldNames(QStringList &names) {
  if (!result_ || !result_->IsOpen())
    return 0;
  for (int i = 0; i < result_->ColumnCount(); ++i)
    names.append(result_->ColumnAt(i).name);
  return int(names.size());
}
