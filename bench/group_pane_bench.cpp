// Ticking one group in the group pane's several-groups mode until the
// records page has reloaded, against two peers measured in the same run:
// the page's queries alone (the same SELECTs through the session, every
// cell read as text) and the page's reload alone for the same groups. The
// file is a copy of the household template holding 500 nodes (25 folders,
// 475 groups) and 100,000 records; ten groups are ticked, and each run
// ticks or clears an eleventh one on the real pane's tree control, which
// reaches the real records page through hint 7.
//
// Prints the tick as ratios of its peers: the share of a tick spent outside
// the page's queries (target: under a quarter) and the share the pane adds
// to the page's reload. The State row a tick writes is committed to disk;
// BENCH_DIR=/dev/shm puts the file where that commit waits for no disk.
#include "window/document_window.h"
#include "db/db_visiter.h"
#include "db/db_visiter_factory.h"
#include "groups/ui/group_tree.h"
#include "groups/ui/sorvan_group_pane.h"
#include "document/account_file.h"
#include "records/ui/sorvan_grid_view.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidgetItem>

#include "bench_sql.h"
#include "group_file.h"
#include "group_pane_window.h"
#include "ratio_reporter.h"
#include "template_file.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kNodes = 500;
constexpr int kFolders = 25; // IDs 1 to 25; 1 is the top folder
constexpr int kRecords = 100000;
constexpr int kTicked = 10;   // groups ticked before the runs
constexpr int kToggled = 301; // the group each run ticks or clears

bool TickedAtStart(int id) { return id > kFolders && id % (kNodes / kTicked) == 0; }

// The file: ten groups ticked at the start.
GroupFileShape Shape() {
  GroupFileShape shape;
  shape.nodes = kNodes;
  shape.folders = kFolders;
  shape.records = kRecords;
  shape.ticked = TickedAtStart;
  return shape;
}

// The groups ticked at the start, with the toggled one when ticked.
QList<int> ActiveGroups(bool withToggled) {
  QList<int> groups;
  for (int id = kFolders + 1; id <= kNodes; ++id)
    if (TickedAtStart(id) || (withToggled && id == kToggled))
      groups.append(id);
  return groups;
}

// Runs the records page's queries for groups and reads every cell as text;
// the number of rows read.
long ReadRecords(CDBVisiter &session, const QList<int> &groups) {
  long rows = 0;
  for (const int id : groups) {
    if (!session.Query(QStringLiteral("Select * From Users Where "
                                      "(trelva_Group_ID=%1) Order By [ID]")
                           .arg(id)))
      continue;
    QStringList names;
    const int columns = session.GetFieldNames(names);
    for (bool more = true; more; more = session.MoveNext(), ++rows)
      for (int c = 0; c < columns; ++c)
        benchmark::DoNotOptimize(session.GetString(c));
  }
  return rows;
}

QString gPath;

void TickOneGroup(benchmark::State &state) {
  AccountFile file;
  if (!file.OpenAccountFile(gPath)) {
    state.SkipWithError("the file does not open");
    return;
  }
  GroupPaneWindow window(file, true);
  window.pane->ToggleMode();
  QTreeWidgetItem *item = window.pane->Tree()->ItemOf(kToggled);
  if (item)
    item->setCheckState(0, Qt::Unchecked); // as an earlier run may have left it
  if (!item || window.pane->ActiveGroupIds() != ActiveGroups(false)) {
    state.SkipWithError("the tree is not as built");
    return;
  }
  window.reloads = 0;
  bool tick = true;
  for (auto _ : state) {
    // What the tree's delegate does on a click into the box.
    item->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
    tick = !tick;
  }
  if (window.reloads != long(state.iterations()))
    state.SkipWithError("not every tick reloaded the records page");
}

// The records page reloading for the same groups, with no pane.
void PageReload(benchmark::State &state) {
  AccountFile file;
  if (!file.OpenAccountFile(gPath)) {
    state.SkipWithError("the file does not open");
    return;
  }
  GroupPaneWindow window(file, false);
  bool tick = true;
  for (auto _ : state) {
    window.groups = ActiveGroups(tick);
    window.page->OnChangeNotify(file, HINT_RECORDS | HINT_PIE_SERIES |
                                          HINT_BAR_SERIES);
    tick = !tick;
  }
}

// The page's queries alone.
void PageQueries(benchmark::State &state) {
  AccountFile file;
  if (!file.OpenAccountFile(gPath)) {
    state.SkipWithError("the file does not open");
    return;
  }
  bool tick = true;
  long rows = 0;
  for (auto _ : state) {
    rows = ReadRecords(*file.Session(), ActiveGroups(tick));
    tick = !tick;
  }
  state.counters["rows"] = double(rows);
}

BENCHMARK(TickOneGroup)->Unit(benchmark::kMillisecond);
BENCHMARK(PageReload)->Unit(benchmark::kMillisecond);
BENCHMARK(PageQueries)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  const QString source = HouseholdTemplate();
  QTemporaryDir dir(qEnvironmentVariable("BENCH_DIR", QDir::tempPath()) +
                    QStringLiteral("/group-pane-bench-XXXXXX"));
  gPath = dir.filePath(QStringLiteral("bench.fz"));
  if (!CopyHouseholdTemplate(gPath) ||
      !FillGroupFile(gPath.toStdString(), Shape())) {
    std::fprintf(stderr, "cannot build the file from %s\n", qPrintable(source));
    return 1;
  }

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (const RunTimes *tick = reporter.Find("TickOneGroup")) {
    for (const char *peer : {"PageQueries", "PageReload"}) {
      const RunTimes *found = reporter.Find(peer);
      if (!found)
        continue;
      const double real = tick->real / found->real;
      const double cpu = tick->cpu / found->cpu;
      std::printf("TickOneGroup / %s: %.2f real, %.2f CPU; share outside "
                  "%s: %.0f%% real, %.0f%% CPU%s\n",
                  peer, real, cpu,
                  std::string(peer) == "PageQueries" ? "the page's queries"
                                                     : "the page's reload",
                  100.0 * (1.0 - 1.0 / real), 100.0 * (1.0 - 1.0 / cpu),
                  std::string(peer) == "PageQueries" ? " (target: under 25%)"
                                                     : "");
    }
  }
  CDBVisiterFactory::Instance().DestroyAll();
  return 0;
}
