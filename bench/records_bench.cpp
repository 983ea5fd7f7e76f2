// Adding records one at a time through the command history, one undo group
// per record as the records grid adds typed rows, against the same INSERT
// statements sent straight to SQLite through its C API on a file opened the
// same way. The rows and the SQLite texts of their statements are made
// before the clock runs.
//
// Both are measured on /dev/shm, where only the work of the program counts
// (the temporary folder when there is no /dev/shm), and, with
// SORVANEL_BENCH_DISK=1 in the environment, on the temporary folder's disk
// too, where every statement waits for the disk: several minutes per run.
// Each figure is printed as a ratio to its peer.
#include "base/prompt.h"
#include "base/scripted_prompt.h"
#include "db/db_visiter.h"
#include "db/db_visiter_factory.h"
#include "db/jet_dialect.h"
#include "formula/evaluate_row.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"
#include "document/account_file.h"
#include "records/command_history.h"
#include "records/record_key.h"
#include "records/row_item.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ratio_reporter.h"
#include "template_file.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRecords = 10000;
constexpr int kGroup = 3;

QString StorageFolder(int storage) {
  if (storage == 1 && QDir(QStringLiteral("/dev/shm")).exists())
    return QStringLiteral("/dev/shm");
  return QDir::tempPath();
}

// A fresh copy of the household template, opened.
struct BenchFile {
  explicit BenchFile(int storage)
      : dir(StorageFolder(storage) + QStringLiteral("/records-bench-XXXXXX")) {
    path = dir.path() + QStringLiteral("/bench.fz");
    ok = dir.isValid() && CopyHouseholdTemplate(path) &&
         file.OpenAccountFile(path);
  }
  ~BenchFile() { CDBVisiterFactory::Instance().RemoveVisiter(path); }

  GroupNode &Group() { return *FindGroupNode(file.Root(), kGroup); }

  QTemporaryDir dir;
  QString path;
  AccountFile file;
  bool ok = false;
};

// Rows made as the grid makes typed new rows: next key, automatic date and
// time, defaults, formulas.
QList<CRowItem> MakeRows(BenchFile &bench) {
  QList<CRowItem> rows;
  for (int i = 0; i < kRecords; ++i) {
    CRowItem row = CRowItem::EmptyRow(bench.file, kGroup);
    row.Item(QStringLiteral("Amount"))->text = QString::number(i % 97 + 0.5);
    row.Item(QStringLiteral("Item"))->text = QStringLiteral("item %1").arg(i);
    row.FillNewRowDefaults(TakeNewKey(&bench.Group()));
    EvaluateRow(row.items);
    rows.append(row);
  }
  return rows;
}

int StoredCount(BenchFile &bench) {
  return int(bench.file.Session()->Count(QStringLiteral("Users"), QString()));
}

void BM_AddRows(benchmark::State &state) {
  const int storage = int(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto bench = std::make_unique<BenchFile>(storage);
    if (!bench->ok) {
      state.SkipWithError("cannot open a copy of the template");
      return;
    }
    const QList<CRowItem> rows = MakeRows(*bench);
    CommandHistory &history = bench->file.History();
    state.ResumeTiming();

    for (const CRowItem &row : rows)
      history.AddRows({row});

    state.PauseTiming();
    if (StoredCount(*bench) != kRecords || history.UndoDepth() != kRecords)
      state.SkipWithError("not every record was stored");
    bench.reset();
    state.ResumeTiming();
  }
  state.SetLabel(StorageFolder(storage).toStdString());
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_RawInsert(benchmark::State &state) {
  const int storage = int(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto bench = std::make_unique<BenchFile>(storage);
    if (!bench->ok) {
      state.SkipWithError("cannot open a copy of the template");
      return;
    }
    std::vector<QByteArray> statements;
    for (const CRowItem &row : MakeRows(*bench)) {
      QByteArray sql;
      if (!TranslateJetSql(row.InsertStatement(), sql, nullptr)) {
        state.SkipWithError("statement not translated");
        return;
      }
      statements.push_back(sql);
    }
    sqlite3 *connection = bench->file.Session()->GetConnection();
    state.ResumeTiming();

    for (const QByteArray &sql : statements)
      sqlite3_exec(connection, sql.constData(), nullptr, nullptr, nullptr);

    state.PauseTiming();
    if (StoredCount(*bench) != kRecords)
      state.SkipWithError("not every record was stored");
    bench.reset();
    state.ResumeTiming();
  }
  state.SetLabel(StorageFolder(storage).toStdString());
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void Register(int storage) {
  for (auto *bench : {benchmark::RegisterBenchmark("BM_AddRows", BM_AddRows),
                      benchmark::RegisterBenchmark("BM_RawInsert", BM_RawInsert)})
    bench->Arg(storage)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
}

// The name Google Benchmark gives the run of a benchmark with this storage.
std::string RunName(const char *benchmark, int storage) {
  return QString::asprintf("%s/%d", benchmark, storage).toStdString();
}

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  // Nothing may stop on a message; a failure shows as a missing record.
  ScriptedPrompt prompt;
  ScopedPrompt scoped(prompt);
  Register(1);
  if (qEnvironmentVariableIntValue("SORVANEL_BENCH_DISK") == 1)
    Register(0);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (int storage = 0; storage < 2; ++storage) {
    const RunTimes *ours = reporter.Find(RunName("BM_AddRows", storage));
    const RunTimes *peer = reporter.Find(RunName("BM_RawInsert", storage));
    if (!ours || !peer || peer->real <= 0)
      continue;
    std::printf("%d records one by one in %s: AddRows / raw SQLite INSERT = "
                "%.2f\n",
                kRecords, qPrintable(StorageFolder(storage)),
                ours->real / peer->real);
  }
  if (!prompt.Texts().isEmpty())
    std::printf("messages shown: %d, the first: %s\n", int(prompt.Texts().size()),
                qPrintable(prompt.Texts().first()));
  benchmark::Shutdown();
  return 0;
}
