// The current result of a session: every row of one query, copied out of
// the engine when the query runs (a client-side static result), so the row
// count is known at once and later statements on the same connection cannot
// disturb it. Values are kept compactly: one 16-byte cell per column and row,
// texts and long binary values in one byte arena.
//
// A pending edit (long binary values written into columns of the current
// row) is held here until the session commits or cancels it.
#pragma once

#include "db/jet_types.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Whether a stored text of a column of kind is read as a date when it has
// a date's form.
bool IsDateTextOf(ColumnKind kind, const char *bytes, qsizetype size);
// What the typed readers give for a stored text (UTF-8 bytes) of a column
// of kind: a date's display text, else the text itself.
QString StoredTextString(ColumnKind kind, const char *bytes, qsizetype size);

class ResultSet {
public:
  enum CellType : std::uint8_t { Null, Integer, Float, Text, Blob };

  struct Column {
    QString name;
    QString declared;   // declared type of the source column, if any
    ColumnKind kind = ColumnKind::Other;
    QString database;   // source of the value, empty for an expression
    QString table;
    QString origin;
  };

  // Runs stmt to its end and keeps every row; the result is open afterwards.
  // On an engine error the result is closed and false returned.
  // keptStatement, when not 0, names a statement the caller keeps and runs
  // again (a number it never gives another statement): its results take
  // the column descriptions of the last one instead of reading them again.
  bool Load(sqlite3_stmt *stmt, quint64 keptStatement = 0);
  void Close();

  bool IsOpen() const { return open_; }
  int RowCount() const;
  bool HasRow() const { return open_ && row_ < rows_; }
  // Steps on; whether a row is current afterwards.
  bool Next();

  int ColumnCount() const { return int(columns_.size()); }
  const Column &ColumnAt(int column) const { return columns_[column]; }
  // The position of the named column (letter case ignored), or -1.
  int FindColumn(const QString &name) const;
  bool IsValidColumn(int column) const {
    return column >= 0 && column < ColumnCount();
  }

  // Readers of the current row; column must be valid and a row current.
  CellType TypeAt(int column) const { return Cell(column).type; }
  QString StringAt(int column) const;
  // StringAt's text appended to out.
  void AppendStringAt(int column, QString &out) const;
  int IntAt(int column) const;
  bool BoolAt(int column) const;
  double DoubleAt(int column) const;
  QVariant VariantAt(int column) const;
  // The bytes of a text or binary value; empty for other values.
  QByteArrayView BytesAt(int column) const;
  // Jet's long-value attribute (0x80) for long binary and memo columns.
  int AttributesAt(int column) const;

  // Pending edit of the current row.
  bool HasPendingEdit() const { return !pending_.isEmpty(); }
  void AppendPending(int column, const QByteArray &bytes);
  void CancelEdit() { pending_.clear(); }
  // Writes the pending values into the current row's record in the file;
  // the row must be identifiable by its table's key or by all its values.
  bool CommitEdit(sqlite3 *db, QString *error);

private:
  struct CellData {
    union {
      qint64 integer;
      double real;
      quint64 offset;
    };
    quint32 size;
    CellType type;
  };

  const CellData &Cell(int column) const {
    return cells_[size_t(row_) * columns_.size() + size_t(column)];
  }
  CellData &Cell(int column) {
    return cells_[size_t(row_) * columns_.size() + size_t(column)];
  }
  const char *Bytes(const CellData &cell) const {
    return arena_.data() + cell.offset;
  }
  bool IsDateText(int column, const CellData &cell) const;
  void DescribeColumns(sqlite3_stmt *stmt, int count);
  bool StoreBytes(CellData &cell, const void *data, qsizetype size);

  std::vector<Column> columns_;
  // The columns of the last result, and the kept statement and the count
  // of its preparations they were read from.
  std::vector<Column> keptColumns_;
  std::pair<quint64, int> described_;
  std::vector<CellData> cells_;
  std::string arena_;
  qint64 rows_ = 0;
  qint64 row_ = 0;
  bool open_ = false;
  QHash<int, QByteArray> pending_;
};
