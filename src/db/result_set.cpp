// Materialising a query's rows and reading them back as the session's
// typed readers want them.
#include "db/result_set.h"

#include "base/date_text.h"
#include "db/jet_tokenizer.h"
#include "db/value_text.h"

#include <QDateTime>

#include <sqlite3.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

QString Utf8(const char *text) {
  return text ? QString::fromUtf8(text) : QString();
}

QDateTime ToDateTime(const JetDateTime &v) {
  return QDateTime(QDate(v.year, v.month, v.day),
                   QTime(v.hour, v.minute, v.second));
}

} // namespace

bool IsDateTextOf(ColumnKind kind, const char *bytes, qsizetype size) {
  if (kind == ColumnKind::Date)
    return true;
  // An expression such as Min(Data) has no declared type; its value is
  // known as a date by its form.
  return kind == ColumnKind::Other && LooksCanonicalDate(bytes, size);
}

QString StoredTextString(ColumnKind kind, const char *bytes, qsizetype size) {
  JetDateTime date;
  if (IsDateTextOf(kind, bytes, size) && ParseCanonicalDate(bytes, size, date))
    return DisplayDateText(date);
  return QString::fromUtf8(bytes, size);
}

bool ResultSet::StoreBytes(CellData &cell, const void *data, qsizetype size) {
  if (size < 0 || quint64(size) > UINT32_MAX)
    return false;
  cell.offset = arena_.size();
  cell.size = quint32(size);
  arena_.append(static_cast<const char *>(data), size_t(size));
  return true;
}

void ResultSet::DescribeColumns(sqlite3_stmt *stmt, int count) {
  columns_.resize(size_t(count));
  for (int i = 0; i < count; ++i) {
    Column &c = columns_[size_t(i)];
    c.name = Utf8(sqlite3_column_name(stmt, i));
    const char *declared = sqlite3_column_decltype(stmt, i);
    c.declared = Utf8(declared);
    c.kind = KindOfDeclaredType(declared);
    c.database = Utf8(sqlite3_column_database_name(stmt, i));
    c.table = Utf8(sqlite3_column_table_name(stmt, i));
    c.origin = Utf8(sqlite3_column_origin_name(stmt, i));
  }
}

bool ResultSet::Load(sqlite3_stmt *stmt, quint64 keptStatement) {
  Close();
  // The first step comes before the columns are described: a kept
  // statement whose table changed is prepared again by that step, and only
  // then are its columns those of the table now.
  int rc = sqlite3_step(stmt);
  const int count = sqlite3_column_count(stmt);
  // A kept statement that SQLite has not prepared again since the last
  // result has the columns that result described.
  const std::pair<quint64, int> described{
      keptStatement, sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_REPREPARE, 0)};
  if (keptStatement != 0 && described == described_ &&
      keptColumns_.size() == size_t(count))
    columns_ = std::move(keptColumns_);
  else
    DescribeColumns(stmt, count);
  described_ = keptStatement != 0 ? described : std::pair<quint64, int>{};
  for (; rc == SQLITE_ROW; rc = sqlite3_step(stmt)) {
    const size_t base = cells_.size();
    cells_.resize(base + size_t(count));
    CellData *row = cells_.data() + base;
    for (int i = 0; i < count; ++i) {
      CellData &cell = row[i];
      // One value handle per column avoids the per-call checks of the
      // sqlite3_column_* family.
      sqlite3_value *value = sqlite3_column_value(stmt, i);
      switch (sqlite3_value_type(value)) {
      case SQLITE_INTEGER:
        cell.type = Integer;
        cell.integer = sqlite3_value_int64(value);
        break;
      case SQLITE_FLOAT:
        cell.type = Float;
        cell.real = sqlite3_value_double(value);
        break;
      case SQLITE_TEXT: {
        cell.type = Text;
        const unsigned char *text = sqlite3_value_text(value);
        if (!StoreBytes(cell, text, sqlite3_value_bytes(value))) {
          Close();
          return false;
        }
        break;
      }
      case SQLITE_BLOB: {
        cell.type = Blob;
        const void *blob = sqlite3_value_blob(value);
        if (!StoreBytes(cell, blob, sqlite3_value_bytes(value))) {
          Close();
          return false;
        }
        break;
      }
      default:
        cell.type = Null;
        break;
      }
    }
    ++rows_;
  }
  if (rc != SQLITE_DONE) {
    Close();
    return false;
  }
  open_ = true;
  row_ = 0;
  return true;
}

void ResultSet::Close() {
  if (!columns_.empty())
    keptColumns_ = std::move(columns_);
  columns_.clear();
  cells_.clear();
  arena_.clear();
  // The next result is usually of the same size, so the room is kept; a
  // very large one is given back.
  constexpr size_t kKeptBytes = size_t(64) << 20;
  if (cells_.capacity() * sizeof(CellData) > kKeptBytes)
    cells_.shrink_to_fit();
  if (arena_.capacity() > kKeptBytes)
    arena_.shrink_to_fit();
  rows_ = 0;
  row_ = 0;
  open_ = false;
  pending_.clear();
}

int ResultSet::RowCount() const {
  return rows_ > INT_MAX ? INT_MAX : int(rows_);
}

bool ResultSet::Next() {
  if (!HasRow())
    return false;
  pending_.clear();
  ++row_;
  return HasRow();
}

int ResultSet::FindColumn(const QString &name) const {
  // Callers mostly spell names as the table does; an exact match is cheap.
  for (size_t i = 0; i < columns_.size(); ++i)
    if (columns_[i].name == name)
      return int(i);
  for (size_t i = 0; i < columns_.size(); ++i)
    if (columns_[i].name.compare(name, Qt::CaseInsensitive) == 0)
      return int(i);
  return -1;
}

bool ResultSet::IsDateText(int column, const CellData &cell) const {
  return IsDateTextOf(columns_[size_t(column)].kind, Bytes(cell), cell.size);
}

QString ResultSet::StringAt(int column) const {
  const CellData &cell = Cell(column);
  switch (cell.type) {
  case Null:
    return QString();
  case Integer:
    return FormatJetInteger(cell.integer);
  case Float:
    return FormatJetDouble(cell.real);
  case Text:
    return StoredTextString(columns_[size_t(column)].kind, Bytes(cell),
                            cell.size);
  case Blob:
    return QString::fromUtf8(Bytes(cell), cell.size);
  }
  return QString();
}

void ResultSet::AppendStringAt(int column, QString &out) const {
  const CellData &cell = Cell(column);
  switch (cell.type) {
  case Null:
    return;
  case Integer:
    AppendJetInteger(cell.integer, out);
    return;
  case Float:
    AppendJetDouble(cell.real, out);
    return;
  case Text:
  case Blob: {
    const char *bytes = Bytes(cell);
    JetDateTime date;
    if (cell.type == Text && IsDateText(column, cell) &&
        ParseCanonicalDate(bytes, cell.size, date)) {
      out.append(DisplayDateText(date));
      return;
    }
    // Plain ASCII, as numbers and codes mostly are, needs no decoding.
    bool ascii = true;
    for (quint32 i = 0; ascii && i < cell.size; ++i)
      ascii = static_cast<unsigned char>(bytes[i]) < 0x80;
    if (ascii)
      out.append(QLatin1StringView(bytes, cell.size));
    else
      out.append(QString::fromUtf8(bytes, cell.size));
    return;
  }
  }
}

int ResultSet::IntAt(int column) const {
  const CellData &cell = Cell(column);
  switch (cell.type) {
  case Integer:
    return ClampToInt(cell.integer);
  case Float:
    return ClampToInt(cell.real);
  case Text:
  case Blob:
    return ClampToInt(DoubleAt(column));
  case Null:
    break;
  }
  return 0;
}

bool ResultSet::BoolAt(int column) const {
  const CellData &cell = Cell(column);
  switch (cell.type) {
  case Integer:
    return cell.integer != 0;
  case Float:
    return cell.real != 0.0;
  case Text: {
    const QByteArrayView text(Bytes(cell), cell.size);
    const QByteArray trimmed = text.toByteArray().trimmed().toLower();
    if (trimmed == "true" || trimmed == "yes" || trimmed == "on")
      return true;
    return LeadingNumber(text) != 0.0;
  }
  case Blob:
  case Null:
    break;
  }
  return false;
}

double ResultSet::DoubleAt(int column) const {
  const CellData &cell = Cell(column);
  switch (cell.type) {
  case Integer:
    return double(cell.integer);
  case Float:
    return cell.real;
  case Text: {
    JetDateTime date;
    if (IsDateText(column, cell) && ParseCanonicalDate(Bytes(cell), cell.size, date))
      return JetDayCount(date);
    return LeadingNumber(QByteArrayView(Bytes(cell), cell.size));
  }
  case Blob:
  case Null:
    break;
  }
  return 0.0;
}

QVariant ResultSet::VariantAt(int column) const {
  const CellData &cell = Cell(column);
  const ColumnKind kind = columns_[size_t(column)].kind;
  switch (cell.type) {
  case Null:
    return QVariant();
  case Integer:
    if (kind == ColumnKind::Bool)
      return QVariant(cell.integer != 0);
    if (cell.integer >= INT_MIN && cell.integer <= INT_MAX)
      return QVariant(int(cell.integer));
    return QVariant(qlonglong(cell.integer));
  case Float:
    return QVariant(cell.real);
  case Text: {
    JetDateTime date;
    if (IsDateText(column, cell) && ParseCanonicalDate(Bytes(cell), cell.size, date))
      return QVariant(ToDateTime(date));
    return QVariant(QString::fromUtf8(Bytes(cell), cell.size));
  }
  case Blob:
    return QVariant(QByteArray(Bytes(cell), cell.size));
  }
  return QVariant();
}

QByteArrayView ResultSet::BytesAt(int column) const {
  const CellData &cell = Cell(column);
  if (cell.type != Text && cell.type != Blob)
    return QByteArrayView();
  return QByteArrayView(Bytes(cell), cell.size);
}

int ResultSet::AttributesAt(int column) const {
  const Column &c = columns_[size_t(column)];
  const bool memo = c.kind == ColumnKind::Text &&
                    c.declared.compare(QLatin1String("TEXT"), Qt::CaseInsensitive) == 0;
  return c.kind == ColumnKind::Blob || memo ? 0x80 : 0;
}

void ResultSet::AppendPending(int column, const QByteArray &bytes) {
  pending_[column].append(bytes);
}

namespace {

// Binds a materialised value as a statement parameter.
void BindValue(sqlite3_stmt *stmt, int index, ResultSet::CellType type,
               qint64 integer, double real, QByteArrayView bytes) {
  switch (type) {
  case ResultSet::Integer:
    sqlite3_bind_int64(stmt, index, integer);
    break;
  case ResultSet::Float:
    sqlite3_bind_double(stmt, index, real);
    break;
  case ResultSet::Text:
    sqlite3_bind_text64(stmt, index, bytes.data(), sqlite3_uint64(bytes.size()),
                        SQLITE_TRANSIENT, SQLITE_UTF8);
    break;
  case ResultSet::Blob:
    sqlite3_bind_blob64(stmt, index, bytes.data(), sqlite3_uint64(bytes.size()),
                        SQLITE_TRANSIENT);
    break;
  case ResultSet::Null:
    sqlite3_bind_null(stmt, index);
    break;
  }
}

// The key columns of a table, in key order; empty for a table without one.
QStringList KeyColumns(sqlite3 *db, const QString &database,
                       const QString &table) {
  QStringList keys;
  const QString sql = QStringLiteral("PRAGMA %1.table_info(%2)")
                          .arg(SqliteName(database), SqliteName(table));
  sqlite3_stmt *stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
    return keys;
  QList<QPair<int, QString>> found;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    const int pk = sqlite3_column_int(stmt, 5);
    if (pk > 0)
      found.append({pk, Utf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)))});
  }
  sqlite3_finalize(stmt);
  std::sort(found.begin(), found.end());
  for (const auto &key : found)
    keys.append(key.second);
  return keys;
}

bool Exec(sqlite3 *db, const char *sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Undoes the edit's savepoint; never leaves a transaction of its own open
// behind, and never ends one that the caller had opened.
void Undo(sqlite3 *db, bool inOuterTransaction) {
  Exec(db, "ROLLBACK TO sorvanel_edit");
  Exec(db, "RELEASE sorvanel_edit");
  if (!inOuterTransaction && !sqlite3_get_autocommit(db))
    Exec(db, "ROLLBACK");
}

} // namespace

bool ResultSet::CommitEdit(sqlite3 *db, QString *error) {
  if (!HasRow() || pending_.isEmpty()) {
    pending_.clear();
    return HasRow();
  }
  const Column &first = columns_[size_t(pending_.begin().key())];
  const QString table = first.table;
  const QString database = first.database;
  auto fail = [&](const QString &text) {
    if (error)
      *error = text;
    return false;
  };
  if (table.isEmpty())
    return fail(QStringLiteral("The value is not a column of a table."));
  for (auto it = pending_.cbegin(); it != pending_.cend(); ++it)
    if (columns_[size_t(it.key())].table != table)
      return fail(QStringLiteral("The edit spans more than one table."));

  // The row is found by its table's key when the result holds all of it,
  // else by every value it shows of that table.
  QList<int> whereColumns;
  const QStringList keys = KeyColumns(db, database, table);
  for (const QString &key : keys)
    for (int i = 0; i < ColumnCount(); ++i)
      if (columns_[size_t(i)].table == table &&
          columns_[size_t(i)].origin.compare(key, Qt::CaseInsensitive) == 0) {
        whereColumns.append(i);
        break;
      }
  if (keys.isEmpty() || whereColumns.size() != keys.size()) {
    whereColumns.clear();
    for (int i = 0; i < ColumnCount(); ++i)
      if (columns_[size_t(i)].table == table && !columns_[size_t(i)].origin.isEmpty())
        whereColumns.append(i);
  }
  if (whereColumns.isEmpty())
    return fail(QStringLiteral("The row to update cannot be identified."));

  QString sql = QStringLiteral("UPDATE %1.%2 SET ")
                    .arg(SqliteName(database), SqliteName(table));
  QList<int> setColumns = pending_.keys();
  std::sort(setColumns.begin(), setColumns.end());
  for (int i = 0; i < setColumns.size(); ++i)
    sql += (i ? QStringLiteral(", ") : QString()) +
           SqliteName(columns_[size_t(setColumns[i])].origin) + QStringLiteral(" = ?");
  sql += QStringLiteral(" WHERE ");
  for (int i = 0; i < whereColumns.size(); ++i)
    sql += (i ? QStringLiteral(" AND ") : QString()) +
           SqliteName(columns_[size_t(whereColumns[i])].origin) + QStringLiteral(" IS ?");

  sqlite3_stmt *stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
    return fail(Utf8(sqlite3_errmsg(db)));
  int index = 1;
  for (int column : setColumns) {
    const QByteArray &bytes = pending_[column];
    sqlite3_bind_blob64(stmt, index++, bytes.constData(),
                        sqlite3_uint64(bytes.size()), SQLITE_STATIC);
  }
  for (int column : whereColumns) {
    const CellData &cell = Cell(column);
    BindValue(stmt, index++, cell.type, cell.integer, cell.real,
              BytesAt(column));
  }

  // One row must change, or none: a savepoint makes that so.
  const bool outer = !sqlite3_get_autocommit(db);
  if (!Exec(db, "SAVEPOINT sorvanel_edit")) {
    sqlite3_finalize(stmt);
    return fail(Utf8(sqlite3_errmsg(db)));
  }
  const int rc = sqlite3_step(stmt);
  QString message = Utf8(sqlite3_errmsg(db));
  sqlite3_finalize(stmt);
  const int changed = sqlite3_changes(db);
  if (rc != SQLITE_DONE || changed != 1) {
    Undo(db, outer);
    return fail(rc != SQLITE_DONE
                    ? message
                    : QStringLiteral("The row to update cannot be identified."));
  }
  if (!Exec(db, "RELEASE sorvanel_edit")) {
    message = Utf8(sqlite3_errmsg(db));
    Undo(db, outer);
    return fail(message);
  }
  // The result shows what the file now holds.
  for (int column : setColumns) {
    CellData &cell = Cell(column);
    const QByteArray &bytes = pending_[column];
    cell.type = Blob;
    StoreBytes(cell, bytes.constData(), bytes.size());
  }
  pending_.clear();
  return true;
}
