// The database session against SQLite's C API on the same file and
// statements: reading 100,000 rows of 8 columns through Query, MoveNext and
// GetString against step + sqlite3_column_text, and 10,000 single-row
// INSERTs through Execute (Jet text, translated) against the C API with the
// same journal settings. Each figure is printed as a ratio to its peer.
//
// The files lie on /dev/shm when it exists, so that the cost of flushing to
// a disk does not hide the session's own cost.
#include "base/prompt.h"
#include "db/access_visiter.h"
#include "db/jet_dialect.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "ratio_reporter.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kReadRows = 100000;
constexpr int kInserts = 10000;

QString Folder() {
  static const std::unique_ptr<QTemporaryDir> dir = [] {
    const QString base = QDir(QStringLiteral("/dev/shm")).exists()
                             ? QStringLiteral("/dev/shm/sorvanel-bench-XXXXXX")
                             : QDir::tempPath() + QStringLiteral("/sorvanel-bench-XXXXXX");
    return std::make_unique<QTemporaryDir>(base);
  }();
  return dir->path();
}

void Exec(sqlite3 *db, const QString &jet) {
  QByteArray sql;
  QString error;
  if (!TranslateJetSql(jet, sql, &error) ||
      sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "setup failed: %s\n", qPrintable(jet));
    std::abort();
  }
}

// An account file whose Users table has 8 columns, with rows records.
QString MakeFile(const QString &name, int rows) {
  const QString path = Folder() + QLatin1Char('/') + name;
  QFile::remove(path);
  sqlite3 *db = nullptr;
  sqlite3_open(path.toUtf8().constData(), &db);
  Exec(db, "Create Table Users ([ID] integer, [Data] date, [Item] varchar(50), "
           "[Memo] text, [Amount] float, [Count] integer, [Kind] varchar(50), "
           "[trelva_Group_ID] int)");
  // The tables and columns every account file has, so that the open accepts it.
  Exec(db, "Create Table TableStyle ([ID] integer Primary Key, [编号] integer, "
           "[字段名] text, [标题] text, [启用] yes/no, [数据类型] integer, "
           "[只读] yes/no, [宽度] integer, [选项] text)");
  Exec(db, "Create Table ViewMap ([SortIndex] integer, [ItemSql] text, [ItemName] text)");
  Exec(db, "Create Table miscellaneous ([MainShowTip] text, [bGridAutoSize] yes/no, "
           "[bExpandColumnsToFit] yes/no, [bShowLastLine] yes/no)");
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  for (int i = 1; i <= rows; ++i)
    Exec(db, QStringLiteral("Insert Into Users ([ID],[Data],[Item],[Memo],[Amount],[Count],"
                            "[Kind],[trelva_Group_ID]) Values (%1,#2010-%2-%3#,'午餐 %1',"
                            "'备注 with some words %1',%4,%5,'餐饮',%6)")
                 .arg(i)
                 .arg(i % 12 + 1)
                 .arg(i % 28 + 1)
                 .arg(i * 1.25)
                 .arg(i % 7)
                 .arg(i % 5 + 1));
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return path;
}

const QString &ReadFile() {
  static const QString path = MakeFile(QStringLiteral("read.fz"), kReadRows);
  return path;
}

void BM_SessionRead(benchmark::State &state) {
  CAccessVisiter session(ReadFile());
  if (!session.Open()) {
    state.SkipWithError("open failed");
    return;
  }
  for (auto _ : state) {
    int rows = session.Query(QStringLiteral("Select * From Users"));
    if (rows != kReadRows)
      state.SkipWithError("wrong row count");
    do {
      for (int column = 0; column < 8; ++column) {
        QString text = session.GetString(column);
        benchmark::DoNotOptimize(text);
      }
    } while (session.MoveNext());
  }
  state.SetItemsProcessed(state.iterations() * kReadRows);
}

void BM_RawRead(benchmark::State &state) {
  sqlite3 *db = nullptr;
  sqlite3_open_v2(ReadFile().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
  for (auto _ : state) {
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM Users", -1, &stmt, nullptr);
    int rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      ++rows;
      for (int column = 0; column < 8; ++column) {
        const unsigned char *text = sqlite3_column_text(stmt, column);
        benchmark::DoNotOptimize(text);
      }
    }
    sqlite3_finalize(stmt);
    if (rows != kReadRows)
      state.SkipWithError("wrong row count");
  }
  sqlite3_close(db);
  state.SetItemsProcessed(state.iterations() * kReadRows);
}

QString InsertStatement(int i) {
  return QStringLiteral("INSERT INTO Users([ID],[Data],[Item],[Memo],[Amount],[Count],"
                        "[Kind],[trelva_Group_ID]) VALUES (%1,#2010-8-1#,'午餐','备注 %1',"
                        "12.5,%1,'餐饮',2)").arg(i);
}

void BM_SessionInsert(benchmark::State &state) {
  for (auto _ : state) {
    state.PauseTiming();
    const QString path = MakeFile(QStringLiteral("insert-session.fz"), 0);
    CAccessVisiter session(path);
    session.Open();
    QStringList statements;
    for (int i = 1; i <= kInserts; ++i)
      statements.append(InsertStatement(i));
    state.ResumeTiming();
    for (const QString &sql : statements)
      if (!session.Execute(sql))
        state.SkipWithError("insert failed");
  }
  state.SetItemsProcessed(state.iterations() * kInserts);
}

void BM_RawInsert(benchmark::State &state) {
  for (auto _ : state) {
    state.PauseTiming();
    const QString path = MakeFile(QStringLiteral("insert-raw.fz"), 0);
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    // The same statement texts, already in SQLite's dialect, each prepared
    // and run on its own as the session does.
    std::vector<QByteArray> statements;
    for (int i = 1; i <= kInserts; ++i) {
      QByteArray sql;
      TranslateJetSql(InsertStatement(i), sql, nullptr);
      statements.push_back(sql);
    }
    state.ResumeTiming();
    for (const QByteArray &sql : statements) {
      sqlite3_stmt *stmt = nullptr;
      sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
      if (sqlite3_step(stmt) != SQLITE_DONE)
        state.SkipWithError("insert failed");
      sqlite3_finalize(stmt);
    }
    state.PauseTiming();
    sqlite3_close(db);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kInserts);
}

BENCHMARK(BM_SessionRead)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_SessionInsert)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_RawInsert)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace

int main(int argc, char **argv) {
  // Nothing here should show messages; keep them off the console.
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const struct {
    const char *label, *ours, *peer;
    double target;
  } pairs[] = {
      {"read 100000 rows x 8 columns (Query/MoveNext/GetString vs step/column_text)",
       "BM_SessionRead", "BM_RawRead", 1.5},
      {"10000 single-row INSERTs (Execute vs C API, same journal settings)",
       "BM_SessionInsert", "BM_RawInsert", 1.3},
  };
  for (const auto &pair : pairs) {
    const double ours = reporter.Real(pair.ours);
    const double peer = reporter.Real(pair.peer);
    if (ours > 0 && peer > 0)
      std::printf("ratio %s: %.2fx (target <= %.1fx)\n", pair.label, ours / peer,
                  pair.target);
  }
  benchmark::Shutdown();
  return 0;
}
