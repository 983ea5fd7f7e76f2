// The stored texts of an inserted row without reading it; see
// inserted_texts.h.
#include "db/inserted_texts.h"

#include "db/result_set.h"
#include "db/value_text.h"

#include <sqlite3.h>

namespace {

// Texts learned per column before it starts over.
constexpr qsizetype kLearnedSize = 4096;

// Whether a column of numeric affinity could read the text as a number:
// SQLite's numbers are made of these characters alone.
bool MayReadAsNumber(const QString &text) {
  static const QByteArrayView kNumberCharacters(" \t\n\v\f\r+-.0123456789eE");
  for (const QChar c : text)
    if (c.unicode() > 127 || !kNumberCharacters.contains(char(c.unicode())))
      return false;
  return true;
}

// Whether text, a whole number, is written as SQLite writes its integers:
// no leading zero, no minus before a zero.
bool CanonicalWholeNumber(const QString &text) {
  const qsizetype first = text.startsWith(QLatin1Char('-')) ? 1 : 0;
  return text.size() > first &&
         (text[first] != QLatin1Char('0') || text.size() == 1);
}

// What the session reads back for text stored in a column of kind. Dates
// are short ASCII texts, converted on the stack: this runs for every date
// of every record an import stores.
QString StoredText(ColumnKind kind, const QString &text) {
  char ascii[64];
  const qsizetype size = text.size();
  bool plain = size <= qsizetype(sizeof ascii);
  for (qsizetype i = 0; plain && i < size; ++i) {
    plain = text[i].unicode() < 128;
    ascii[i] = char(text[i].unicode());
  }
  if (plain)
    return StoredTextString(kind, ascii, size);
  const QByteArray bytes = text.toUtf8();
  return StoredTextString(kind, bytes.constData(), bytes.size());
}

} // namespace

InsertedTexts::InsertedTexts(sqlite3 *db, const QString &table,
                             const QStringList &columns,
                             const std::vector<bool> &integer) {
  const QByteArray name = table.toUtf8();
  sqlite3_stmt *triggers = nullptr;
  if (sqlite3_prepare_v2(db,
                         "SELECT 1 FROM sqlite_master WHERE type='trigger' "
                         "AND tbl_name=?1 COLLATE NOCASE",
                         -1, &triggers, nullptr) != SQLITE_OK) {
    sqlite3_finalize(triggers);
    return;
  }
  sqlite3_bind_text(triggers, 1, name.constData(), int(name.size()),
                    SQLITE_STATIC);
  const int rc = sqlite3_step(triggers);
  sqlite3_finalize(triggers);
  if (rc != SQLITE_DONE)
    return;
  columns_.resize(size_t(columns.size()));
  for (qsizetype i = 0; i < columns.size(); ++i) {
    const char *declared = nullptr;
    if (sqlite3_table_column_metadata(db, nullptr, name.constData(),
                                      columns[i].toUtf8().constData(),
                                      &declared, nullptr, nullptr, nullptr,
                                      nullptr) != SQLITE_OK)
      return;
    Column &column = columns_[size_t(i)];
    column.kind = KindOfDeclaredType(declared);
    column.integer = i < qsizetype(integer.size()) && integer[size_t(i)];
    // SQLite's rules, in SQLite's order.
    const QByteArray upper = QByteArray(declared ? declared : "").toUpper();
    if (upper.contains("INT"))
      column.affinity = Affinity::Integer;
    else if (upper.contains("CHAR") || upper.contains("CLOB") ||
             upper.contains("TEXT"))
      column.affinity = Affinity::Text;
    else if (upper.isEmpty() || upper.contains("BLOB"))
      column.affinity = Affinity::Blob;
    else if (upper.contains("REAL") || upper.contains("FLOA") ||
             upper.contains("DOUB"))
      column.affinity = Affinity::Real;
    else
      column.affinity = Affinity::Numeric;
  }
  known_ = true;
}

bool InsertedTexts::Text(const Column &column, const BoundValue &value,
                         QString *text) const {
  switch (value.kind) {
  case BoundValue::Null:
    *text = QString();
    return true;
  case BoundValue::Text:
    // Kept as it is: bound into a column that converts no text, or a text
    // that no column can take for a number; UTF-16 that is not valid would
    // be changed on the way.
    if (!column.integer && value.text.isValidUtf16() &&
        (column.affinity == Affinity::Text ||
         column.affinity == Affinity::Blob || !MayReadAsNumber(value.text))) {
      if (column.kind == ColumnKind::Date || column.kind == ColumnKind::Other) {
        *text = StoredText(column.kind, value.text);
      } else {
        *text = value.text;
      }
      return true;
    }
    break;
  case BoundValue::Number: {
    // Bound as an integer (insert_statements.cpp), which jet_number and
    // jet_integer pass on and these columns keep.
    qint64 whole = 0;
    if (BoundWholeNumber(value.text, &whole) &&
        (column.affinity == Affinity::Integer ||
         column.affinity == Affinity::Numeric)) {
      *text = CanonicalWholeNumber(value.text) ? value.text
                                               : FormatJetInteger(whole);
      return true;
    }
    break;
  }
  }
  const QHash<QString, QString> &learned = column.learned[value.kind];
  const auto found = learned.constFind(value.text);
  if (found == learned.cend())
    return false;
  *text = found.value();
  return true;
}

bool InsertedTexts::Texts(const std::vector<BoundValue> &values,
                          QStringList *texts) const {
  if (!known_ || values.size() != columns_.size())
    return false;
  texts->resize(qsizetype(values.size()));
  for (size_t i = 0; i < values.size(); ++i)
    if (!Text(columns_[i], values[i], &(*texts)[qsizetype(i)]))
      return false;
  return true;
}

void InsertedTexts::Learn(const std::vector<BoundValue> &values,
                          const QStringList &texts) {
  if (!known_ || values.size() != columns_.size() ||
      texts.size() != qsizetype(values.size()))
    return;
  for (size_t i = 0; i < values.size(); ++i) {
    QHash<QString, QString> &learned = columns_[i].learned[values[i].kind];
    if (learned.size() >= kLearnedSize)
      learned.clear();
    learned.insert(values[i].text, texts[qsizetype(i)]);
  }
}
