// The texts a prepared INSERT stored, as the session's readers would give
// them back from the row, known without reading the row again.
//
// Reading an inserted row back costs as much as inserting it; a record
// store that must hold the texts as stored (an import of thousands of
// records) asks here first. A value is known when what the engine makes of
// it is certain: no value; a text the column keeps as it is (a text
// column, or a text that cannot read as a number); a whole number in an
// integer or numeric column. Any other value (a fraction, whose stored form
// depends on the conversions of SQLite and of jet_number) is known once a
// row with the same value in the same column was read back and taught
// here. A table with triggers may change what was inserted: nothing of it
// is known.
#pragma once

#include "db/bound_value.h"
#include "db/jet_types.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

struct sqlite3;

class InsertedTexts {
public:
  // Reads the declared types of the columns of table and whether it has
  // triggers; integer[i] tells whether column i goes through jet_integer.
  InsertedTexts(sqlite3 *db, const QString &table, const QStringList &columns,
                const std::vector<bool> &integer);

  // The texts of the row stored from values, one per column; false when
  // one of them is not known.
  bool Texts(const std::vector<BoundValue> &values, QStringList *texts) const;
  // Remembers the texts read back from the row stored from values.
  void Learn(const std::vector<BoundValue> &values, const QStringList &texts);

private:
  // SQLite's column affinities.
  enum class Affinity { Text, Blob, Integer, Real, Numeric };

  struct Column {
    Affinity affinity = Affinity::Blob;
    ColumnKind kind = ColumnKind::Other;
    bool integer = false;
    // Texts read back, by the text of the value bound, for each kind of
    // value (BoundValue::Kind).
    QHash<QString, QString> learned[3];
  };

  bool Text(const Column &column, const BoundValue &value, QString *text) const;

  bool known_ = false;
  std::vector<Column> columns_;
};
