// Fuzzes the Jet dialect adapter: any text must translate or fail cleanly,
// a translation must be exactly one SQLite statement, and running it (or
// the Alter Column rebuild) on a small in-memory account database, then
// reading its rows back as the session does, must stay sound.
#include "base/date_text.h"
#include "base/prompt.h"
#include "db/alter_column.h"
#include "db/jet_collation.h"
#include "db/jet_dialect.h"
#include "db/jet_functions.h"
#include "db/result_set.h"
#include "db/session_schema.h"

#include <QString>

#include <sqlite3.h>

#include <cstdint>
#include <cstdlib>

namespace {

const char *const kSchema[] = {
    "Create Table Users ([ID] integer, [Data] date, [Moment] time, [Amount] float, "
    "[Item] varchar(50), [Memo] text, [trelva_Group_ID] int)",
    "Create Unique Index UsersKey On Users ([trelva_Group_ID], [ID])",
    "Create Table [FilterMemory] ([ID] COUNTER Primary Key, [ClassID] int, "
    "[Title] text null, [flValue] Image)",
    "Create Table miscellaneous ([MainShowTip] text, [bGridAutoSize] yes/no)",
    "Insert Into Users ([ID], [Data], [Moment], [Amount], [Item], [Memo], "
    "[trelva_Group_ID]) Values (1, #2010-8-1#, #9:30#, 12.5, 'Lunch', 'x', 2)",
    "Insert Into Users ([ID], [Data], [Amount], [Item], [trelva_Group_ID]) "
    "Values (2, #2011/1/2 3:04:05#, -3, 'O''Brien', 2)",
    "Insert Into FilterMemory ([ClassID], [Title]) Values (1, '设置1')",
    "Insert Into miscellaneous ([MainShowTip], [bGridAutoSize]) Values ('tip', true)",
};

// Long statements are cut off rather than left to run.
int Progress(void *counter) {
  return ++*static_cast<int *>(counter) > 2000;
}

sqlite3 *NewDatabase(int *counter) {
  sqlite3 *db = nullptr;
  if (sqlite3_open(":memory:", &db) != SQLITE_OK)
    std::abort();
  sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 1 << 20);
  sqlite3_limit(db, SQLITE_LIMIT_SQL_LENGTH, 1 << 16);
  RegisterJetCollation(db);
  RegisterJetFunctions(db);
  for (const char *jet : kSchema) {
    QByteArray sql;
    if (!TranslateJetSql(QString::fromUtf8(jet), sql, nullptr) ||
        sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
      std::abort();
  }
  sqlite3_progress_handler(db, 100, Progress, counter);
  return db;
}

void ReadBack(ResultSet &result) {
  if (!result.IsOpen())
    return;
  do {
    if (!result.HasRow())
      break;
    for (int i = 0; i < result.ColumnCount(); ++i) {
      (void)result.StringAt(i);
      (void)result.IntAt(i);
      (void)result.DoubleAt(i);
      (void)result.BoolAt(i);
      (void)result.VariantAt(i);
    }
  } while (result.Next());
}

int Sign(int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

// The text order and LIKE on the two halves of the input: an order must be
// antisymmetric and reflexive, and no pattern may crash the matcher.
void CompareHalves(const char *data, int size) {
  const int half = size / 2;
  const char *a = data;
  const char *b = data + half;
  const int ab = Sign(CompareJetText(a, half, b, size - half));
  const int ba = Sign(CompareJetText(b, size - half, a, half));
  if (ab != -ba || CompareJetText(a, half, a, half) != 0)
    std::abort();
  (void)JetLikeMatch(a, half, b, size - half, 0);
  (void)JetLikeMatch(b, size - half, a, half, '!');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static SilentPrompt silent;
  SetPrompt(&silent);
  const QString jet = QString::fromUtf8(reinterpret_cast<const char *>(data),
                                        qsizetype(size));

  // The date reader on its own.
  JetDateTime date;
  if (ParseJetDateText(jet, date)) {
    if (!IsValidJetDateTime(date))
      std::abort();
    JetDateTime back;
    const QString canonical = CanonicalDateText(date);
    const QByteArray bytes = canonical.toLatin1();
    if (!ParseCanonicalDate(bytes.constData(), bytes.size(), back) ||
        CanonicalDateText(back) != canonical)
      std::abort();
    if (!JetDateFromDayCount(JetDayCount(date), back) ||
        CanonicalDateText(back) != canonical)
      std::abort();
  }

  CompareHalves(reinterpret_cast<const char *>(data), int(size));

  // Translated as the session translates: knowing the integer columns.
  int counter = 0;
  sqlite3 *db = NewDatabase(&counter);
  // The schema listens on db until the end; its destructor never touches db.
  SessionSchema schema(db);
  JetTranslation translation;
  QString error;
  if (!TranslateJet(jet, translation, &error, &schema)) {
    if (error.isEmpty())
      std::abort();  // a refusal always says why
    sqlite3_close(db);
    return 0;
  }
  if (translation.kind == JetTranslation::AlterColumn) {
    RebuildWithColumn(db, translation, &error);
  } else {
    const QByteArray sql = translation.sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, &tail) ==
        SQLITE_OK) {
      // One statement per call: nothing but blanks may follow it.
      for (; tail && *tail; ++tail)
        if (*tail != ' ' && *tail != '\t' && *tail != '\n' && *tail != '\r')
          std::abort();
      if (stmt) {
        ResultSet result;
        result.Load(stmt);
        ReadBack(result);
      }
    }
    sqlite3_finalize(stmt);
  }
  // Whatever ran, the database stays sound and no transaction stays open.
  if (!sqlite3_get_autocommit(db))
    std::abort();
  sqlite3_close(db);
  SetPrompt(nullptr);
  return 0;
}
