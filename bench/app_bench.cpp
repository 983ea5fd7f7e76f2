// The program's start and close on a file of 100,000 records, each against
// its peer measured in the same run:
//  - from nothing to the main window showing the file on the records page,
//    against reading the same rows as text through the SQLite C API plus
//    Qt's own start-up. Both starts are whole processes (this program run
//    again with "--start FILE", and with "--empty" for a main window shown
//    empty), so Qt's start-up is counted on both sides; within this process
//    the same start is measured too;
//  - closing that file (compaction included) against "VACUUM INTO" alone.
// The file is built once on /dev/shm (the temporary folder without it), so
// only the program's own work counts.
#include "app/main_frame.h"
#include "app/startup_settings.h"
#include "base/prompt.h"
#include "db/db_visiter_factory.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include "bench_sql.h"
#include "template_file.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kRecords = 100000;

QTemporaryDir *benchDir = nullptr;
QString filePath;
std::map<std::string, double> seconds; // mean time of each benchmark

QString StorageFolder() {
  return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                   : QDir::tempPath();
}


// A copy of the household template with kRecords records in group 2, a
// year of dates and the template's columns filled.
bool MakeFile() {
  filePath = benchDir->filePath(QStringLiteral("big.fz"));
  if (!CopyHouseholdTemplate(filePath))
    return false;
  sqlite3 *db = nullptr;
  if (sqlite3_open(filePath.toUtf8().constData(), &db) != SQLITE_OK)
    return false;
  bool ok = Exec(db, "BEGIN");
  sqlite3_stmt *insert = nullptr;
  ok = ok && sqlite3_prepare_v2(
                 db,
                 "INSERT INTO Users (ID, Data, Moment, Category, Payment, Amount, "
                 "Count, Total, Item, Memo, trelva_Group_ID) VALUES "
                 "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 2)",
                 -1, &insert, nullptr) == SQLITE_OK;
  const char *categories[] = {"餐饮", "交通", "购物", "居住", "医疗", "其他"};
  for (int i = 1; ok && i <= kRecords; ++i) {
    char date[32], time[32], item[32];
    std::snprintf(date, sizeof date, "2025-%02d-%02d 00:00:00", i % 12 + 1,
                  i % 28 + 1);
    std::snprintf(time, sizeof time, "1899-12-30 %02d:%02d:00", i % 24, i % 60);
    std::snprintf(item, sizeof item, "item %d", i);
    const double amount = (i % 997) / 10.0 + 0.5;
    sqlite3_bind_int(insert, 1, i);
    sqlite3_bind_text(insert, 2, date, -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 3, time, -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 4, categories[i % 6], -1, SQLITE_STATIC);
    sqlite3_bind_text(insert, 5, "现金", -1, SQLITE_STATIC);
    sqlite3_bind_double(insert, 6, amount);
    sqlite3_bind_int(insert, 7, 1);
    sqlite3_bind_double(insert, 8, amount);
    sqlite3_bind_text(insert, 9, item, -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 10, "", -1, SQLITE_STATIC);
    ok = sqlite3_step(insert) == SQLITE_DONE;
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  ok = ok && Exec(db, "COMMIT");
  sqlite3_close(db);
  return ok;
}

void Record(benchmark::State &state, const char *name, double total) {
  if (state.iterations() > 0)
    seconds[name] = total / double(state.iterations());
}

double Now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void Settle() {
  for (int i = 0; i < 5; ++i)
    QApplication::processEvents();
}

// The peer of the start: the rows of the records page's query as text.
void BM_SqliteReadText(benchmark::State &state) {
  double total = 0;
  for (auto _ : state) {
    const double start = Now();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(filePath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY,
                    nullptr);
    sqlite3_stmt *query = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT * FROM Users WHERE trelva_Group_ID=2 ORDER BY ID",
                       -1, &query, nullptr);
    size_t bytes = 0;
    while (sqlite3_step(query) == SQLITE_ROW)
      for (int col = 0, n = sqlite3_column_count(query); col < n; ++col)
        if (const unsigned char *text = sqlite3_column_text(query, col))
          bytes += std::strlen(reinterpret_cast<const char *>(text));
    sqlite3_finalize(query);
    sqlite3_close(db);
    benchmark::DoNotOptimize(bytes);
    total += Now() - start;
  }
  Record(state, "sqlite", total);
}

// Qt's own part of the start: a main window shown empty.
void BM_EmptyWindow(benchmark::State &state) {
  double total = 0;
  for (auto _ : state) {
    const double start = Now();
    {
      QMainWindow window;
      window.resize(1200, 780);
      window.show();
      Settle();
    }
    total += Now() - start;
  }
  Record(state, "empty", total);
}

void BM_StartToRecordsPage(benchmark::State &state) {
  double total = 0;
  for (auto _ : state) {
    const double start = Now();
    StartupSettings settings(benchDir->path());
    RecentFileList recent;
    auto frame = std::make_unique<CMainFrame>(settings, recent);
    frame->resize(1200, 780);
    const bool ok = frame->OpenDocument(filePath);
    frame->show();
    Settle();
    total += Now() - start;
    if (!ok)
      state.SkipWithError("the file did not open");
    state.PauseTiming();
    frame.reset();
    state.ResumeTiming();
  }
  Record(state, "start", total);
}

void BM_CloseWithCompaction(benchmark::State &state) {
  double total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    StartupSettings settings(benchDir->path());
    RecentFileList recent;
    CMainFrame frame(settings, recent);
    frame.OpenDocument(filePath);
    Settle();
    state.ResumeTiming();
    const double start = Now();
    frame.CloseAllDocuments();
    total += Now() - start;
  }
  Record(state, "close", total);
}

void BM_VacuumInto(benchmark::State &state) {
  double total = 0;
  const QString target = benchDir->filePath(QStringLiteral("vacuum.mdb"));
  const std::string sql = "VACUUM INTO '" + target.toStdString() + "'";
  for (auto _ : state) {
    QFile::remove(target);
    const double start = Now();
    sqlite3 *db = nullptr;
    sqlite3_open(filePath.toUtf8().constData(), &db);
    Exec(db, sql.c_str());
    sqlite3_close(db);
    total += Now() - start;
  }
  QFile::remove(target);
  Record(state, "vacuum", total);
}

// Runs this program again with arguments until it ends.
void RunSelf(benchmark::State &state, const char *name, const QStringList &arguments) {
  double total = 0;
  for (auto _ : state) {
    QProcess process;
    const double start = Now();
    process.start(QCoreApplication::applicationFilePath(), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
      state.SkipWithError("the child run failed");
    total += Now() - start;
  }
  Record(state, name, total);
}

void BM_ProcessEmptyWindow(benchmark::State &state) {
  RunSelf(state, "processEmpty", {QStringLiteral("--empty")});
}

void BM_ProcessStartToRecordsPage(benchmark::State &state) {
  RunSelf(state, "processStart", {QStringLiteral("--start"), filePath});
}

BENCHMARK(BM_SqliteReadText)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_EmptyWindow)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_StartToRecordsPage)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ProcessEmptyWindow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ProcessStartToRecordsPage)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CloseWithCompaction)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_VacuumInto)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

// The child runs: a main window shown empty, or the program's main window
// showing a file on its records page; both end once painted.
int ChildRun(int argc, char **argv) {
  QApplication app(argc, argv);
  const QString mode = QString::fromLocal8Bit(argv[1]);
  if (mode == QStringLiteral("--empty")) {
    QMainWindow window;
    window.resize(1200, 780);
    window.show();
    Settle();
    return 0;
  }
  SilentPrompt silent;
  ScopedPrompt prompt(silent);
  StartupSettings settings(QDir::tempPath());
  RecentFileList recent;
  CMainFrame frame(settings, recent);
  frame.resize(1200, 780);
  if (!frame.OpenDocument(QString::fromLocal8Bit(argv[2])))
    return 1;
  frame.show();
  Settle();
  // The file is left as it was: closing it here would add a compaction.
  std::fflush(stdout);
  std::_Exit(0);
}

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc >= 2 && (std::string(argv[1]) == "--empty" ||
                    (std::string(argv[1]) == "--start" && argc >= 3)))
    return ChildRun(argc, argv);
  QTemporaryDir dir(StorageFolder() + QStringLiteral("/app-bench-XXXXXX"));
  benchDir = &dir;
  // Settings, backups and the scratch file stay in the bench's folder.
  qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
  qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
  QApplication app(argc, argv);
  QDir::setCurrent(dir.path());
  SilentPrompt silent;
  ScopedPrompt prompt(silent);
  if (!MakeFile()) {
    std::fprintf(stderr, "cannot build the bench file\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  CDBVisiterFactory::Instance().DestroyAll();
  const double sqlite = seconds["sqlite"], empty = seconds["empty"];
  const double start = seconds["start"], close = seconds["close"];
  const double vacuum = seconds["vacuum"];
  const double processStart = seconds["processStart"];
  const double processEmpty = seconds["processEmpty"];
  if (sqlite > 0 && processStart > 0)
    std::printf("program start to the records page of %d records (whole "
                "processes): %.0f ms = %.2f x (reading the rows as text %.0f "
                "ms) + Qt's start %.0f ms (target: at most 3 x)\n",
                kRecords, processStart * 1000,
                (processStart - processEmpty) / sqlite, sqlite * 1000,
                processEmpty * 1000);
  if (sqlite > 0 && vacuum > 0) {
    std::printf("in one process, start to the records page of %d records: "
                "%.0f ms = %.2f x "
                "(reading the rows as text %.0f ms) + Qt's start %.0f ms "
                "(target: at most 3 x)\n",
                kRecords, start * 1000, (start - empty) / sqlite, sqlite * 1000,
                empty * 1000);
    std::printf("closing with compaction: %.0f ms = %.2f x VACUUM INTO alone "
                "(%.0f ms)\n",
                close * 1000, close / vacuum, vacuum * 1000);
  }
  return 0;
}
