// Jet's text comparison and LIKE over Unicode case folding, and the one-time
// reindex of files made under SQLite's ASCII-only NOCASE.
#include "db/jet_collation.h"

#include <QVarLengthArray>

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <vector>

namespace {

// Bit 0 of user_version: text indexes are in folded order.
constexpr int kFoldedOrder = 1;

inline unsigned char FoldAscii(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// The next code point of s, folded; a byte that starts no valid sequence
// sorts after every code point, by its value.
inline UChar32 NextFolded(const char *s, int &i, int length) {
  const int start = i;
  UChar32 c;
  U8_NEXT(reinterpret_cast<const uint8_t *>(s), i, length, c);
  if (c < 0)
    return 0x110000 + static_cast<unsigned char>(s[start]);
  return u_foldCase(c, U_FOLD_CASE_DEFAULT);
}

using CodePoints = QVarLengthArray<UChar32, 128>;

void Decode(const char *s, int length, CodePoints &out) {
  out.clear();
  for (int i = 0; i < length;)
    out.append(NextFolded(s, i, length));
}

// One element of a LIKE pattern.
struct PatternItem {
  enum Kind { Run, One, Literal, Set } kind = Literal;
  UChar32 c = 0;
  bool negate = false;
  std::vector<std::pair<UChar32, UChar32>> ranges;  // Set: inclusive ranges
};

// "[...]" starting at p[i] ('['); false when it never closes, so that the
// bracket is taken literally.
bool ReadSet(const CodePoints &p, qsizetype &i, PatternItem &item) {
  qsizetype j = i + 1;
  item.kind = PatternItem::Set;
  if (j < p.size() && p[j] == '!') {
    item.negate = true;
    ++j;
  }
  // A ']' right after the opening stands for itself.
  bool first = true;
  for (; j < p.size(); ++j) {
    if (p[j] == ']' && !first)
      break;
    first = false;
    UChar32 low = p[j];
    UChar32 high = low;
    if (j + 2 < p.size() && p[j + 1] == '-' && p[j + 2] != ']') {
      high = p[j + 2];
      j += 2;
      if (high < low)
        std::swap(low, high);
    }
    item.ranges.emplace_back(low, high);
  }
  if (j >= p.size()) {
    item = PatternItem();
    return false;
  }
  i = j + 1;
  return true;
}

std::vector<PatternItem> ReadPattern(const CodePoints &p, UChar32 escape) {
  std::vector<PatternItem> items;
  for (qsizetype i = 0; i < p.size();) {
    PatternItem item;
    const UChar32 c = p[i];
    if (escape >= 0 && c == escape && i + 1 < p.size()) {
      item.c = p[i + 1];
      i += 2;
    } else if (c == '*' || c == '%') {
      item.kind = PatternItem::Run;
      ++i;
      // Runs in a row are one run.
      if (!items.empty() && items.back().kind == PatternItem::Run)
        continue;
    } else if (c == '?' || c == '_') {
      item.kind = PatternItem::One;
      ++i;
    } else if (c == '[' && ReadSet(p, i, item)) {
    } else {
      item.c = c;
      ++i;
    }
    items.push_back(std::move(item));
  }
  return items;
}

bool MatchesOne(const PatternItem &item, UChar32 c) {
  switch (item.kind) {
  case PatternItem::One:
    return true;
  case PatternItem::Literal:
    return item.c == c;
  case PatternItem::Set:
    for (const auto &[low, high] : item.ranges)
      if (c >= low && c <= high)
        return !item.negate;
    return item.negate;
  case PatternItem::Run:
    break;
  }
  return false;
}

int NocaseCompare(void *, int aBytes, const void *a, int bBytes, const void *b) {
  return CompareJetText(static_cast<const char *>(a), aBytes,
                        static_cast<const char *>(b), bBytes);
}

void LikeFunction(sqlite3_context *context, int argc, sqlite3_value **argv) {
  int escape = 0;
  if (argc == 3) {
    const char *e = reinterpret_cast<const char *>(sqlite3_value_text(argv[2]));
    const int bytes = sqlite3_value_bytes(argv[2]);
    int i = 0;
    UChar32 c = -1;
    if (e && bytes > 0)
      U8_NEXT(reinterpret_cast<const uint8_t *>(e), i, bytes, c);
    if (c < 0 || i != bytes) {
      sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
      return;
    }
    escape = c;
  }
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL ||
      sqlite3_value_type(argv[1]) == SQLITE_NULL)
    return;  // null
  const char *pattern = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
  const int patternBytes = sqlite3_value_bytes(argv[0]);
  const char *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[1]));
  const int textBytes = sqlite3_value_bytes(argv[1]);
  sqlite3_result_int(context, JetLikeMatch(pattern ? pattern : "", patternBytes,
                                           text ? text : "", textBytes, escape));
}

bool Exec(sqlite3 *db, const char *sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

int UserVersion(sqlite3 *db) {
  sqlite3_stmt *stmt = nullptr;
  int version = -1;
  if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &stmt, nullptr) == SQLITE_OK &&
      sqlite3_step(stmt) == SQLITE_ROW)
    version = sqlite3_column_int(stmt, 0);
  sqlite3_finalize(stmt);
  return version;
}

bool SetUserVersion(sqlite3 *db, int version) {
  const QByteArray sql = "PRAGMA user_version=" + QByteArray::number(version);
  return Exec(db, sql.constData());
}

// The indexes that order a column by NOCASE.
std::vector<QByteArray> NocaseIndexes(sqlite3 *db) {
  std::vector<QByteArray> names;
  sqlite3_stmt *stmt = nullptr;
  if (sqlite3_prepare_v2(db,
                         "SELECT DISTINCT m.name FROM sqlite_master m, "
                         "pragma_index_xinfo(m.name) x WHERE m.type='index' "
                         "AND x.coll='NOCASE' COLLATE BINARY",
                         -1, &stmt, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt);
    return names;
  }
  while (sqlite3_step(stmt) == SQLITE_ROW)
    names.emplace_back(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
  sqlite3_finalize(stmt);
  return names;
}

} // namespace

int CompareJetText(const char *a, int aBytes, const char *b, int bBytes) {
  int i = 0;
  int j = 0;
  while (i < aBytes && j < bBytes) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[j]);
    if (ca < 0x80 && cb < 0x80) {
      const unsigned char fa = FoldAscii(ca);
      const unsigned char fb = FoldAscii(cb);
      if (fa != fb)
        return fa < fb ? -1 : 1;
      ++i;
      ++j;
      continue;
    }
    const UChar32 x = NextFolded(a, i, aBytes);
    const UChar32 y = NextFolded(b, j, bBytes);
    if (x != y)
      return x < y ? -1 : 1;
  }
  if (i < aBytes)
    return 1;
  return j < bBytes ? -1 : 0;
}

bool JetLikeMatch(const char *pattern, int patternBytes, const char *text,
                  int textBytes, int escape) {
  CodePoints p;
  CodePoints t;
  Decode(pattern, patternBytes, p);
  Decode(text, textBytes, t);
  const std::vector<PatternItem> items =
      ReadPattern(p, escape > 0 ? u_foldCase(escape, U_FOLD_CASE_DEFAULT) : -1);
  // Greedy matching that backs up to the last run when a later item fails.
  size_t item = 0;
  qsizetype at = 0;
  size_t runItem = SIZE_MAX;
  qsizetype runAt = 0;
  while (at < t.size()) {
    if (item < items.size() && items[item].kind == PatternItem::Run) {
      runItem = item++;
      runAt = at;
      continue;
    }
    if (item < items.size() && MatchesOne(items[item], t[at])) {
      ++item;
      ++at;
      continue;
    }
    if (runItem == SIZE_MAX)
      return false;
    item = runItem + 1;
    at = ++runAt;
  }
  while (item < items.size() && items[item].kind == PatternItem::Run)
    ++item;
  return item == items.size();
}

void RegisterJetCollation(sqlite3 *db) {
  sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, NocaseCompare,
                              nullptr);
  const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
  sqlite3_create_function_v2(db, "like", 2, flags, nullptr, LikeFunction,
                             nullptr, nullptr, nullptr);
  sqlite3_create_function_v2(db, "like", 3, flags, nullptr, LikeFunction,
                             nullptr, nullptr, nullptr);
}

bool EnsureFoldedTextOrder(sqlite3 *db) {
  const int version = UserVersion(db);
  if (version < 0)
    return false;
  if (version & kFoldedOrder)
    return true;
  if (!Exec(db, "SAVEPOINT sorvanel_text_order"))
    return false;
  if (Exec(db, "REINDEX NOCASE") && SetUserVersion(db, version | kFoldedOrder) &&
      Exec(db, "RELEASE sorvanel_text_order"))
    return true;
  Exec(db, "ROLLBACK TO sorvanel_text_order");
  // Some unique index holds texts that are equal now. Every other index is
  // rebuilt, so that lookups through them find what they should.
  for (const QByteArray &index : NocaseIndexes(db)) {
    const QByteArray sql = "REINDEX \"" + QByteArray(index).replace('"', "\"\"") + '"';
    if (!Exec(db, "SAVEPOINT sorvanel_one_index"))
      break;
    if (!Exec(db, sql.constData()))
      Exec(db, "ROLLBACK TO sorvanel_one_index");
    Exec(db, "RELEASE sorvanel_one_index");
  }
  Exec(db, "RELEASE sorvanel_text_order");
  return false;
}

bool HasFoldedTextOrder(sqlite3 *db) {
  const int version = UserVersion(db);
  return version >= 0 && (version & kFoldedOrder);
}

bool MarkFoldedTextOrder(sqlite3 *db) {
  const int version = UserVersion(db);
  return version >= 0 && SetUserVersion(db, version | kFoldedOrder);
}
