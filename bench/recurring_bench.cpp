// The due check of an account file with 1,000 recurring records after a
// year's gap: loading them from the file and working out every occurrence
// due since "made up to" a year ago (a quarter daily, weekly, monthly and
// yearly: about 107,000 occurrences). Its peer reads the same 1,000 rows
// through the SQLite C API. Prints the check's time (at most 10 ms) and
// its ratio to the peer's.
#include "db/db_visiter_factory.h"
#include "document/account_file.h"
#include "recurring/due_occurrences.h"
#include "recurring/recurring_store.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include "ratio_reporter.h"
#include "template_file.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>

namespace {

constexpr int kRecords = 1000;
const QDate kToday(2026, 12, 8);

QString gPath;
AccountFile *gFile = nullptr;

bool FillRecords(AccountFile &file) {
  for (int i = 0; i < kRecords; ++i) {
    RecurringRecord record;
    record.title = QStringLiteral("定期 %1").arg(i);
    record.groupId = 2 + i % 4;
    record.values = {{QStringLiteral("Category"), QStringLiteral("居住")},
                     {QStringLiteral("Amount"), QString::number(i)}};
    record.rhythm = {RhythmUnit(i % 4), 1};
    record.first = QDate(2020, 1, 1).addDays(i % 365);
    record.madeUpTo = kToday.addYears(-1);
    if (!AddRecurringRecord(file, record))
      return false;
  }
  return true;
}

void DueCheck(benchmark::State &state) {
  size_t due = 0;
  for (auto _ : state) {
    const QList<RecurringRecord> records = LoadRecurringRecords(*gFile);
    due = DueOccurrences(records, kToday).size();
    benchmark::DoNotOptimize(due);
  }
  state.counters["occurrences"] = double(due);
}

void ReadRowsPeer(benchmark::State &state) {
  sqlite3 *db = nullptr;
  sqlite3_open_v2(gPath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY,
                  nullptr);
  for (auto _ : state) {
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM RecurringRecord ORDER BY ID", -1,
                       &stmt, nullptr);
    int rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      for (int c = 0; c < sqlite3_column_count(stmt); ++c)
        benchmark::DoNotOptimize(sqlite3_column_text(stmt, c));
      ++rows;
    }
    sqlite3_finalize(stmt);
    benchmark::DoNotOptimize(rows);
  }
  sqlite3_close(db);
}

BENCHMARK(DueCheck)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadRowsPeer)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  QTemporaryDir dir;
  gPath = dir.filePath(QStringLiteral("bench.fz"));
  AccountFile file;
  if (!CopyHouseholdTemplate(gPath) || !file.OpenAccountFile(gPath) ||
      !FillRecords(file)) {
    std::fprintf(stderr, "cannot build the file from %s\n",
                 qPrintable(HouseholdTemplate()));
    return 1;
  }
  gFile = &file;

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("DueCheck: %.2f ms (CPU %.2f ms) for %.0f occurrences (at "
              "most 10 ms)\n",
              reporter.Real("DueCheck"), reporter.Cpu("DueCheck"),
              reporter.Counter("occurrences"));
  std::printf("DueCheck / ReadRowsPeer: %s\n",
              reporter.Ratio("DueCheck", "ReadRowsPeer").c_str());
  gFile = nullptr;
  file.Close();
  CDBVisiterFactory::Instance().DestroyAll();
  return 0;
}
