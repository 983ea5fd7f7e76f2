// The session operations that do not depend on the engine's dialect: the
// current result, the pending edit and long binary values.
#include "db/db_visiter.h"

#include "base/prompt.h"
#include "db/describe_error.h"
#include "db/insert_statements.h"
#include "db/jet_tokenizer.h"
#include "db/result_set.h"

#include <QIODevice>

#include <sqlite3.h>

#include <atomic>

namespace {

// Long binary values are read in chunks of this many bytes.
constexpr qsizetype kChunkSize = 100;

} // namespace

CDBVisiter::CDBVisiter(const QString &dataSource) : dataSource_(dataSource) {}

CDBVisiter::~CDBVisiter() { Close(); }

sqlite3 *CDBVisiter::GetConnection() const { return connection_; }

bool CDBVisiter::MoveNext() {
  if (!result_ || !result_->HasRow())
    return false;
  return result_->Next();
}

int CDBVisiter::QueryInsertedRow(const QString &table) {
  CloseResult();
  if (!connection_ || !result_)
    return 0;
  if (!insertedRow_ || insertedRowTable_ != table) {
    sqlite3_finalize(insertedRow_);
    insertedRow_ = nullptr;
    const QByteArray sql =
        QStringLiteral("SELECT * FROM %1 WHERE rowid=?").arg(SqliteName(table)).toUtf8();
    if (sqlite3_prepare_v2(connection_, sql.constData(), int(sql.size()),
                           &insertedRow_, nullptr) != SQLITE_OK) {
      sqlite3_finalize(insertedRow_);
      insertedRow_ = nullptr;
      return 0;
    }
    insertedRowTable_ = table;
    // Numbers no other statement of the process ever had.
    static std::atomic<quint64> prepared{0};
    insertedRowNumber_ = ++prepared;
  }
  sqlite3_bind_int64(insertedRow_, 1, sqlite3_last_insert_rowid(connection_));
  // Load describes the columns after its first step, when a statement kept
  // across a change of the table has been prepared again.
  const bool loaded = result_->Load(insertedRow_, insertedRowNumber_);
  // A reset statement holds no lock and stands in the way of no schema
  // change or compaction.
  sqlite3_reset(insertedRow_);
  return loaded ? result_->RowCount() : 0;
}

CDBVisiter::InsertOutcome
CDBVisiter::InsertRow(const QString &table, const QStringList &columns,
                      const std::vector<BoundValue> &values) {
  changedRows_ = 0;
  if (TransactionLost())
    return InsertFailed;
  if (!connection_ || !inserts_)
    return InsertNotPrepared;
  QString error;
  switch (inserts_->Insert(table, columns, values, &error)) {
  case InsertStatements::Stored:
    changedRows_ = 1;
    return InsertStored;
  case InsertStatements::Failed:
    ShowMessage(error);
    return InsertFailed;
  case InsertStatements::NotPrepared:
    break;
  }
  return InsertNotPrepared;
}

bool CDBVisiter::InsertedRowTexts(const std::vector<BoundValue> &values,
                                  QStringList *texts) const {
  return inserts_ && inserts_->StoredTexts(values, texts);
}

void CDBVisiter::LearnInsertedRowTexts(const std::vector<BoundValue> &values,
                                       const QStringList &texts) {
  if (inserts_)
    inserts_->LearnStoredTexts(values, texts);
}

bool CDBVisiter::IsConnectionOpen() const { return connection_ != nullptr; }

bool CDBVisiter::IsResultOpen() const {
  return result_ && connection_ && result_->IsOpen();
}

void CDBVisiter::CloseResult() {
  if (!IsResultOpen())
    return;
  result_->CancelEdit();
  result_->Close();
}

bool CDBVisiter::Close() {
  CloseResult();
  result_.reset();
  inserts_.reset();
  sqlite3_finalize(insertedRow_);
  insertedRow_ = nullptr;
  insertedRowTable_.clear();
  openUnits_ = 0;
  if (!connection_)
    return true;
  // Every statement is finalised as soon as it has run, so nothing keeps
  // the connection busy; close_v2 would still finish the job if it did.
  const bool ok = sqlite3_close_v2(connection_) == SQLITE_OK;
  connection_ = nullptr;
  return ok;
}

int CDBVisiter::GetEditMode() const {
  return result_ && result_->HasPendingEdit() ? 1 : 0;
}

bool CDBVisiter::Update() {
  if (!result_ || !connection_ || !result_->HasRow() || TransactionLost()) {
    CancelUpdate();
    return false;
  }
  if (!result_->HasPendingEdit())
    return true;
  if (result_->CommitEdit(connection_, nullptr))
    return true;
  CancelUpdate();
  return false;
}

// Savepoints rather than BEGIN, so that units of work nest and the edits
// of Update, which take a savepoint of their own, work inside one.
bool CDBVisiter::BeginTransaction() {
  if (!connection_ || TransactionLost())
    return false;
  if (sqlite3_exec(connection_, "SAVEPOINT sorvanel_work", nullptr, nullptr,
                   nullptr) != SQLITE_OK)
    return false;
  ++openUnits_;
  return true;
}

bool CDBVisiter::CommitTransaction() {
  if (!connection_)
    return false;
  if (TransactionLost()) {
    --openUnits_;
    return false;
  }
  if (sqlite3_exec(connection_, "RELEASE sorvanel_work", nullptr, nullptr,
                   nullptr) == SQLITE_OK) {
    --openUnits_;
    return true;
  }
  // The outermost release writes the file; a reason the user can act on
  // (a full disk) is said here, as for a statement that fails.
  const int code = sqlite3_extended_errcode(connection_);
  if (!EngineFailureReason(code).isEmpty())
    ShowMessage(EngineFailureText(code, QString::fromUtf8(sqlite3_errmsg(connection_))));
  RollbackTransaction();
  return false;
}

void CDBVisiter::RollbackTransaction() {
  if (!connection_ || openUnits_ == 0)
    return;
  const bool lost = TransactionLost();
  --openUnits_;
  if (lost)
    return; // the engine has undone everything already
  sqlite3_exec(connection_, "ROLLBACK TO sorvanel_work", nullptr, nullptr, nullptr);
  sqlite3_exec(connection_, "RELEASE sorvanel_work", nullptr, nullptr, nullptr);
}

bool CDBVisiter::TransactionLost() const {
  return connection_ && openUnits_ > 0 && sqlite3_get_autocommit(connection_);
}

bool CDBVisiter::CancelUpdate() {
  if (!result_)
    return false;
  result_->CancelEdit();
  return true;
}

bool CDBVisiter::WriteBlob(QIODevice &stream, const QString &column) {
  const qint64 size = stream.size();
  if (size < 0)
    return false;
  const QByteArray bytes = stream.read(size);
  if (bytes.size() < size)
    return false;
  if (!result_ || !result_->HasRow())
    return false;
  const int position = result_->FindColumn(column);
  if (position < 0)
    return false;
  const ColumnKind kind = result_->ColumnAt(position).kind;
  if (kind != ColumnKind::Blob && kind != ColumnKind::Other &&
      kind != ColumnKind::Text)
    return false;
  result_->AppendPending(position, bytes);
  return true;
}

int CDBVisiter::ReadBlob(const QString &column, QIODevice &stream) {
  if (!result_ || !result_->HasRow())
    return 0;
  const int position = result_->FindColumn(column);
  if (position < 0)
    return 0;
  const QByteArrayView bytes = result_->BytesAt(position);
  const qsizetype size = bytes.size();
  if (!(result_->AttributesAt(position) & 0x80)) {
    stream.write(bytes.data(), size);
    return int(size);
  }
  // A long value comes in chunks, each handed on as it arrives.
  for (qsizetype done = 0; done < size; done += kChunkSize) {
    const qsizetype chunk = qMin(kChunkSize, size - done);
    if (stream.write(bytes.data() + done, chunk) != chunk)
      return int(done);
  }
  return int(size);
}

int CDBVisiter::GetFieldAttributes(const QString &column) const {
  if (!result_ || !result_->IsOpen())
    return -1;
  const int position = result_->FindColumn(column);
  return position < 0 ? -1 : result_->AttributesAt(position);
}

int CDBVisiter::GetFieldActualSize(const QString &column) const {
  if (!result_ || !result_->HasRow())
    return -1;
  const int position = result_->FindColumn(column);
  if (position < 0)
    return -1;
  switch (result_->TypeAt(position)) {
  case ResultSet::Null:
    return 0;
  case ResultSet::Integer:
  case ResultSet::Float:
    return 8;
  case ResultSet::Text:
  case ResultSet::Blob:
    return int(result_->BytesAt(position).size());
  }
  return -1;
}
