// Loading the group tree with every group's largest record key, against its
// peer: one "SELECT trelva_Group_ID, max(ID) ... GROUP BY trelva_Group_ID"
// over the same file through the SQLite C API. The file is a copy of the
// household template holding 500 nodes (25 folders, 475 groups) and 100,000
// records. Prints the load time as a ratio of the peer's, and so the time of
// a first load that has to make the index on Users first.
#include "db/db_visiter.h"
#include "db/db_visiter_factory.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "bench_sql.h"
#include "group_file.h"
#include "ratio_reporter.h"
#include "template_file.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int kNodes = 500;
constexpr int kFolders = 25; // IDs 1 to 25; 1 is the top folder
constexpr int kRecords = 100000;

QString gPath;

// The file: groups in the reverse order of their IDs.
GroupFileShape Shape() {
  GroupFileShape shape;
  shape.nodes = kNodes;
  shape.folders = kFolders;
  shape.records = kRecords;
  shape.sortOf = [](int id) { return kNodes - id; }; // reverse order of the IDs
  return shape;
}

void LoadTree(benchmark::State &state) {
  CDBVisiter *session = CDBVisiterFactory::Instance().GetVisiter(gPath);
  if (!session) {
    state.SkipWithError("the file does not open");
    return;
  }
  int nodes = 0;
  for (auto _ : state) {
    GroupNode root;
    benchmark::DoNotOptimize(LoadGroupTree(*session, QStringLiteral("ID"), root));
    nodes = DescendantCount(root);
  }
  if (nodes != kNodes)
    state.SkipWithError("the tree is incomplete");
}

void GroupByPeer(benchmark::State &state) {
  sqlite3 *db = nullptr;
  sqlite3_open_v2(gPath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
  int rows = 0;
  for (auto _ : state) {
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT trelva_Group_ID, max(ID) FROM Users GROUP BY "
                       "trelva_Group_ID",
                       -1, &statement, nullptr);
    rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
      benchmark::DoNotOptimize(sqlite3_column_int(statement, 1));
      ++rows;
    }
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  if (rows != kNodes - kFolders)
    state.SkipWithError("the peer read too few groups");
}

// The first load of a file without the index on (trelva_Group_ID, key), such
// as an upgraded file of the older layout: the load makes the index.
void LoadTreeMakingIndex(benchmark::State &state) {
  CDBVisiter *session = CDBVisiterFactory::Instance().GetVisiter(gPath);
  for (auto _ : state) {
    state.PauseTiming();
    session->CloseResult();
    Exec(session->GetConnection(), "DROP INDEX UsersGroupKey");
    state.ResumeTiming();
    GroupNode root;
    benchmark::DoNotOptimize(LoadGroupTree(*session, QStringLiteral("ID"), root));
  }
}

BENCHMARK(LoadTree)->Unit(benchmark::kMillisecond);
BENCHMARK(GroupByPeer)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadTreeMakingIndex)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  const QString source = HouseholdTemplate();
  QTemporaryDir dir;
  gPath = dir.filePath(QStringLiteral("bench.fz"));
  if (!CopyHouseholdTemplate(gPath) ||
      !FillGroupFile(gPath.toStdString(), Shape())) {
    std::fprintf(stderr, "cannot build the file from %s\n", qPrintable(source));
    return 1;
  }

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const RunTimes *peer = reporter.Find("GroupByPeer");
  for (const char *name : {"LoadTree", "LoadTreeMakingIndex"}) {
    const RunTimes *load = reporter.Find(name);
    if (!load || !peer)
      continue;
    std::printf("%s / GroupByPeer: %.2f real, %.2f CPU%s\n", name,
                load->real / peer->real, load->cpu / peer->cpu,
                std::string(name) == "LoadTree" ? " (at most 3)" : "");
  }
  CDBVisiterFactory::Instance().DestroyAll();
  return 0;
}
