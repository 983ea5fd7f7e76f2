// Prepared INSERT statements of a session and binding a row's values.
#include "db/insert_statements.h"

#include "db/describe_error.h"

#include "db/inserted_texts.h"
#include "db/jet_tokenizer.h"
#include "db/session_schema.h"

#include <sqlite3.h>

namespace {

// Statements kept at most; a session inserts into one or two layouts.
constexpr size_t kMaxEntries = 8;

void Bind(sqlite3_stmt *statement, int index, const BoundValue &value) {
  qint64 whole = 0;
  switch (value.kind) {
  case BoundValue::Null:
    sqlite3_bind_null(statement, index);
    return;
  case BoundValue::Number:
    if (BoundWholeNumber(value.text, &whole)) {
      sqlite3_bind_int64(statement, index, whole);
      return;
    }
    break;
  case BoundValue::Text:
    break;
  }
  // The text lives until the statement has run and its bindings are cleared.
  sqlite3_bind_text16(statement, index, value.text.utf16(),
                      int(value.text.size() * 2), SQLITE_STATIC);
}

} // namespace

InsertStatements::InsertStatements(sqlite3 *db, SessionSchema *schema)
    : db_(db), schema_(schema),
      generation_(schema ? schema->Generation() : 0) {}

InsertStatements::~InsertStatements() { Clear(); }

void InsertStatements::Clear() {
  for (Entry &entry : entries_)
    sqlite3_finalize(entry.statement);
  entries_.clear();
  last_ = nullptr;
}

sqlite3_stmt *InsertStatements::Prepare(const QString &table,
                                        const QStringList &columns,
                                        const std::vector<bool> &numbers) {
  const JetTableColumns *declared = schema_ ? schema_->Columns(table) : nullptr;
  if (!declared)
    return nullptr;
  QString names, values;
  for (qsizetype i = 0; i < columns.size(); ++i) {
    if (i > 0) {
      names += QLatin1Char(',');
      values += QLatin1Char(',');
    }
    names += SqliteName(columns[i]);
    QString value = numbers[size_t(i)] ? QStringLiteral("jet_number(?%1)").arg(i + 1)
                                       : QStringLiteral("?%1").arg(i + 1);
    if (declared->IsInteger(columns[i]))
      value = QStringLiteral("jet_integer(") + value + QLatin1Char(')');
    values += value;
  }
  const QByteArray sql = QStringLiteral("INSERT INTO %1(%2) VALUES (%3)")
                             .arg(SqliteName(table), names, values)
                             .toUtf8();
  sqlite3_stmt *statement = nullptr;
  if (sqlite3_prepare_v3(db_, sql.constData(), int(sql.size()),
                         SQLITE_PREPARE_PERSISTENT, &statement,
                         nullptr) != SQLITE_OK) {
    sqlite3_finalize(statement);
    return nullptr;
  }
  return statement;
}

InsertStatements::Entry *
InsertStatements::Find(const QString &table, const QStringList &columns,
                       const std::vector<BoundValue> &values) {
  // A change of the schema may have turned a column into an integer one.
  if (schema_ && schema_->Generation() != generation_) {
    Clear();
    generation_ = schema_->Generation();
  }
  std::vector<bool> numbers(values.size());
  for (size_t i = 0; i < values.size(); ++i)
    numbers[i] = values[i].kind == BoundValue::Number;
  for (Entry &entry : entries_)
    if (entry.numbers == numbers && entry.columns == columns &&
        entry.table == table)
      return &entry;
  sqlite3_stmt *statement = Prepare(table, columns, numbers);
  if (!statement)
    return nullptr;
  if (entries_.size() >= kMaxEntries) {
    sqlite3_finalize(entries_.front().statement);
    entries_.erase(entries_.begin());
  }
  entries_.push_back(
      {table, columns, std::move(numbers), statement, nullptr, 0});
  return &entries_.back();
}

void InsertStatements::KnowTexts(Entry &entry) {
  // SQLite prepares a statement again after any change of the schema, a
  // trigger made by another connection included.
  const int prepared =
      sqlite3_stmt_status(entry.statement, SQLITE_STMTSTATUS_REPREPARE, 0);
  if (entry.texts && entry.prepared == prepared)
    return;
  const JetTableColumns *declared =
      schema_ ? schema_->Columns(entry.table) : nullptr;
  std::vector<bool> integer(size_t(entry.columns.size()));
  for (qsizetype i = 0; i < entry.columns.size(); ++i)
    integer[size_t(i)] = declared && declared->IsInteger(entry.columns[i]);
  entry.texts =
      std::make_unique<InsertedTexts>(db_, entry.table, entry.columns, integer);
  entry.prepared = prepared;
}

InsertStatements::Outcome InsertStatements::Insert(
    const QString &table, const QStringList &columns,
    const std::vector<BoundValue> &values, QString *error) {
  last_ = nullptr;
  if (columns.isEmpty() || size_t(columns.size()) != values.size())
    return NotPrepared;
  Entry *entry = Find(table, columns, values);
  if (!entry)
    return NotPrepared;
  sqlite3_stmt *statement = entry->statement;
  for (size_t i = 0; i < values.size(); ++i)
    Bind(statement, int(i + 1), values[i]);
  const int rc = sqlite3_step(statement);
  // A failed step has undone its own row; the message goes before reset.
  if (rc != SQLITE_DONE && error)
    *error = EngineFailureText(sqlite3_extended_errcode(db_),
                               QString::fromUtf8(sqlite3_errmsg(db_)));
  // Reset at once: a statement left running holds a lock on the file.
  sqlite3_reset(statement);
  sqlite3_clear_bindings(statement);
  if (rc != SQLITE_DONE)
    return Failed;
  KnowTexts(*entry);
  last_ = entry;
  return Stored;
}

bool InsertStatements::StoredTexts(const std::vector<BoundValue> &values,
                                   QStringList *texts) const {
  return last_ && last_->texts && last_->texts->Texts(values, texts);
}

void InsertStatements::LearnStoredTexts(const std::vector<BoundValue> &values,
                                        const QStringList &texts) {
  if (last_ && last_->texts)
    last_->texts->Learn(values, texts);
}
