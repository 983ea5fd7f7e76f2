// Ticking one group in the group pane's several-groups mode until the
// records have been read again, against its peer: the records page's
// queries alone for the same active groups. The file is a copy of the
// household template holding 500 nodes (25 folders, 475 groups) and
// 100,000 records; ten groups are ticked, and each run ticks or clears an
// eleventh one with the real pane on its tree control.
//
// The page's reload stands in as a listener that runs the page's queries
// through the session: one "Select * From Users Where (trelva_Group_ID=%d)
// Order By ID" per active group, every cell of every row read as text.
// Prints the time of a tick as a ratio of the peer's, and the share of the
// tick spent outside the page's queries (target: under a quarter), of the
// real time and of the CPU time: the difference is mostly the wait for the
// disk while the changed State row is committed. BENCH_DIR=/dev/shm leaves
// that wait out.
#include "app/document_window.h"
#include "db/db_visiter.h"
#include "db/db_visiter_factory.h"
#include "groups/ui/group_tree_control.h"
#include "groups/ui/sorvan_group_pane.h"
#include "model/account_file.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidgetItem>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kNodes = 500;
constexpr int kFolders = 25; // IDs 1 to 25; 1 is the top folder
constexpr int kRecords = 100000;
constexpr int kTicked = 10;  // groups ticked before the runs
constexpr int kToggled = 301; // the group each run ticks or clears

bool Exec(sqlite3 *db, const char *sql) {
  char *error = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &error) == SQLITE_OK)
    return true;
  std::fprintf(stderr, "%s: %s\n", sql, error ? error : "?");
  sqlite3_free(error);
  return false;
}

// Fills the copied template in one transaction: folders 2 to 25 under
// folder 1, the groups spread over them, the records spread over the groups.
bool FillFile(const QString &path) {
  sqlite3 *db = nullptr;
  if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
    return false;
  bool ok = Exec(db, "BEGIN") && Exec(db, "DELETE FROM \"Group\"");
  sqlite3_stmt *group = nullptr;
  sqlite3_prepare_v2(db,
                     "INSERT INTO \"Group\" (ID, parentID, SortID, Title, "
                     "State, NodeKind) VALUES (?, ?, ?, ?, ?, ?)",
                     -1, &group, nullptr);
  for (int id = 1; ok && id <= kNodes; ++id) {
    const bool folder = id <= kFolders;
    const int parent = id == 1 ? -1 : folder ? 1 : 2 + id % (kFolders - 1);
    const bool ticked = !folder && id % (kNodes / kTicked) == 0;
    const std::string title = "组" + std::to_string(id);
    sqlite3_bind_int(group, 1, id);
    sqlite3_bind_int(group, 2, parent);
    sqlite3_bind_int(group, 3, id);
    sqlite3_bind_text(group, 4, title.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(group, 5, ticked ? 1 : 0);
    sqlite3_bind_int(group, 6, folder ? 0 : 1);
    ok = sqlite3_step(group) == SQLITE_DONE;
    sqlite3_reset(group);
  }
  sqlite3_finalize(group);
  sqlite3_stmt *record = nullptr;
  sqlite3_prepare_v2(db,
                     "INSERT INTO Users (ID, Data, Amount, Count, Total, "
                     "trelva_Group_ID) VALUES (?, '2010-08-01 00:00:00', 1.5, "
                     "2, 3, ?)",
                     -1, &record, nullptr);
  const int groups = kNodes - kFolders;
  for (int i = 0; ok && i < kRecords; ++i) {
    sqlite3_bind_int(record, 1, i / groups + 1);
    sqlite3_bind_int(record, 2, kFolders + 1 + i % groups);
    ok = sqlite3_step(record) == SQLITE_DONE;
    sqlite3_reset(record);
  }
  sqlite3_finalize(record);
  ok = ok && Exec(db, "COMMIT");
  sqlite3_close(db);
  return ok;
}

// CPU time of this thread, in nanoseconds.
qint64 ThreadCpuNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Reads the records of the active groups as the records page does on hint
// 0x01; the number of cells read.
long ReadRecords(CDBVisiter &session, const QList<int> &groups) {
  long cells = 0;
  for (const int id : groups) {
    session.Query(QStringLiteral("Select * From Users Where "
                                 "(trelva_Group_ID=%1) Order By ID")
                      .arg(id));
    QStringList names;
    const int columns = session.GetFieldNames(names);
    for (bool more = true; more; more = session.MoveNext()) {
      for (int c = 0; c < columns; ++c)
        cells += session.GetString(c).size() >= 0;
    }
  }
  return cells;
}

// A document window with the group pane and a records page that only
// reads: its dispatcher passes 0x08 to the pane and reloads on 0x01.
class BenchWindow : public DocumentWindow, public CNRBase {
public:
  explicit BenchWindow(AccountFile &file) : file_(file) {
    file_.AddListener(this);
    pane = std::make_unique<CSorvanGroupPane>(this);
    pane->resize(270, 600);
  }
  ~BenchWindow() override { file_.RemoveListener(this); }

  AccountFile *File() const override { return &file_; }
  QList<int> ActiveGroupIds() const override { return pane->ActiveGroupIds(); }
  bool FilterWhere(QString &where) const override {
    where.clear();
    return true;
  }
  void Notify(AccountFile &, unsigned hint) override {
    if (pane)
      pane->OnChangeNotify(hint);
    if (!(hint & HINT_RECORDS))
      return;
    QElapsedTimer timer;
    timer.start();
    const qint64 cpu = ThreadCpuNanoseconds();
    cells = ReadRecords(*file_.Session(), ActiveGroupIds());
    pageNanoseconds += timer.nsecsElapsed();
    pageCpuNanoseconds += ThreadCpuNanoseconds() - cpu;
    ++reloads;
  }

  std::unique_ptr<CSorvanGroupPane> pane;
  long cells = 0;
  qint64 pageNanoseconds = 0;
  qint64 pageCpuNanoseconds = 0;
  long reloads = 0;

private:
  AccountFile &file_;
};

QString gPath;
double gPageShare = -1;    // of the real time of a tick
double gPageCpuShare = -1; // of its CPU time

void TickOneGroup(benchmark::State &state) {
  AccountFile file;
  if (!file.OpenAccountFile(gPath)) {
    state.SkipWithError("the file does not open");
    return;
  }
  BenchWindow window(file);
  window.pane->ToggleMode();
  QTreeWidgetItem *item = window.pane->Tree()->ItemOf(kToggled);
  if (item)
    item->setCheckState(0, Qt::Unchecked); // as an earlier run may have left it
  if (!item || window.pane->ActiveGroupIds().size() != kTicked) {
    state.SkipWithError("the tree is not as built");
    return;
  }
  window.pageNanoseconds = 0;
  window.pageCpuNanoseconds = 0;
  window.reloads = 0;
  QElapsedTimer timer;
  qint64 total = 0;
  qint64 totalCpu = 0;
  bool tick = true;
  for (auto _ : state) {
    timer.start();
    const qint64 cpu = ThreadCpuNanoseconds();
    // What the tree's delegate does on a click into the box.
    item->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
    totalCpu += ThreadCpuNanoseconds() - cpu;
    total += timer.nsecsElapsed();
    tick = !tick;
  }
  if (window.reloads != long(state.iterations())) {
    state.SkipWithError("not every tick reloaded the records");
    return;
  }
  gPageShare = double(window.pageNanoseconds) / double(total);
  gPageCpuShare = double(window.pageCpuNanoseconds) / double(totalCpu);
  state.counters["cells"] = double(window.cells);
}

// The peer: the same queries for the same groups, with nothing else.
void PageQueries(benchmark::State &state) {
  AccountFile file;
  if (!file.OpenAccountFile(gPath)) {
    state.SkipWithError("the file does not open");
    return;
  }
  QList<int> groups;
  for (int id = kFolders + 1; id <= kNodes; ++id)
    if (id % (kNodes / kTicked) == 0)
      groups.append(id);
  QList<int> withToggled = groups;
  withToggled.append(kToggled);
  bool tick = true;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        ReadRecords(*file.Session(), tick ? withToggled : groups));
    tick = !tick;
  }
}

BENCHMARK(TickOneGroup)->Unit(benchmark::kMillisecond);
BENCHMARK(PageQueries)->Unit(benchmark::kMillisecond);

class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run> &runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs)
      if (!run.error_occurred)
        times[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  std::map<std::string, double> times;
};

} // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  const QString source = QDir(QCoreApplication::applicationDirPath())
                             .filePath(QStringLiteral("../system/家庭账本.fz"));
  // BENCH_DIR puts the file elsewhere, such as /dev/shm to leave the
  // disk's synchronous writes out.
  QTemporaryDir dir(qEnvironmentVariable("BENCH_DIR", QDir::tempPath()) +
                    QStringLiteral("/group-pane-bench-XXXXXX"));
  gPath = dir.filePath(QStringLiteral("bench.fz"));
  const bool copied =
      QFile::copy(source, gPath) &&
      QFile::setPermissions(gPath, QFile::ReadOwner | QFile::WriteOwner);
  if (!copied || !FillFile(gPath)) {
    std::fprintf(stderr, "cannot build the file from %s\n", qPrintable(source));
    return 1;
  }

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto tick = reporter.times.find("TickOneGroup");
  const auto peer = reporter.times.find("PageQueries");
  if (tick != reporter.times.end() && peer != reporter.times.end())
    std::printf("TickOneGroup / PageQueries: %.2f real\n",
                tick->second / peer->second);
  if (gPageShare >= 0)
    std::printf("share of a tick outside the page's queries: %.1f%% of the "
                "real time, %.1f%% of the CPU time (target: under 25%%)\n",
                100.0 * (1.0 - gPageShare), 100.0 * (1.0 - gPageCpuShare));
  CDBVisiterFactory::Instance().DestroyAll();
  return 0;
}
