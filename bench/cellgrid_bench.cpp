// Loading 100,000 rows of 10 columns into the cell grid, against its peer:
// filling a std::vector<QString> with the same texts. Both start from the
// UTF-8 texts a database read hands over and make QStrings of them; ours
// puts them into the store of a grid whose model is attached (one reset for
// the load), and once more with a view shown. Also: inserting a row into the
// middle of 100,000 rows against inserting into 10, and the heap the loaded
// store holds.
#include "widgets/cell_grid_model.h"
#include "widgets/cell_grid_view.h"

#include <QApplication>

#include "ratio_reporter.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 10;

// Texts as a ledger row holds them: key, dates, option, amounts, a note.
const std::vector<std::string> &SourceTexts() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> all;
    all.reserve(size_t(kRows) * (kCols + 1));
    for (int r = 0; r < kRows; ++r) {
      all.push_back(std::to_string(r + 1));
      all.push_back("2010/" + std::to_string(r % 12 + 1) + "/" +
                    std::to_string(r % 28 + 1));
      all.push_back("餐饮");
      all.push_back(std::to_string(r % 1000) + ".5");
      all.push_back(std::to_string(r % 7));
      all.push_back(std::to_string(r % 1000 * 7) + ".5");
      all.push_back("12:30:00");
      all.push_back("现金");
      all.push_back("午饭 O'Brien");
      all.push_back("2010/5/3 12:30:00");
      all.push_back(r % 3 ? "" : "备注");
    }
    return all;
  }();
  return texts;
}

QString Text(const std::string &utf8) {
  return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

void LoadGrid(CellGrid &grid) {
  const std::vector<std::string> &source = SourceTexts();
  grid.BeginUpdate();
  grid.SetNumberRows(0);
  grid.SetNumberCols(kCols);
  grid.SetNumberRows(kRows);
  size_t k = 0;
  for (int r = 0; r < kRows; ++r) {
    for (int c = -1; c < kCols; ++c)
      grid.QuickSetText(c, r, Text(source[k++]));
    grid.SetRowBackColor(r, r % 2 ? 3782352 : 12285263);
  }
  grid.GotoRow(0);
  grid.EndUpdate();
}

void BM_VectorOfQString(benchmark::State &state) {
  const std::vector<std::string> &source = SourceTexts();
  for (auto _ : state) {
    std::vector<QString> texts;
    texts.reserve(source.size());
    for (const std::string &text : source)
      texts.push_back(Text(text));
    benchmark::DoNotOptimize(texts.data());
  }
}

void BM_LoadStoreAndModel(benchmark::State &state) {
  SourceTexts();
  for (auto _ : state) {
    CellGrid grid;
    CellGridModel model(grid);
    LoadGrid(grid);
    benchmark::DoNotOptimize(model.rowCount());
  }
}

void BM_LoadShownView(benchmark::State &state) {
  SourceTexts();
  CellGrid grid;
  CellGridView view(grid);
  view.resize(900, 600);
  view.show();
  QApplication::processEvents();
  for (auto _ : state) {
    LoadGrid(grid);
    QApplication::processEvents();
  }
}

// Insert and delete one row in the middle of a grid of n rows.
void InsertAndDelete(benchmark::State &state, int rows) {
  CellGrid grid;
  CellGridModel model(grid);
  grid.SetNumberCols(kCols);
  grid.SetNumberRows(rows);
  for (auto _ : state) {
    grid.InsertRow(rows / 2);
    grid.QuickSetText(0, rows / 2, QStringLiteral("x"));
    grid.DeleteRow(rows / 2);
  }
}

void BM_InsertInto100000(benchmark::State &state) {
  InsertAndDelete(state, kRows);
}
void BM_InsertInto10(benchmark::State &state) { InsertAndDelete(state, 10); }

// Deleting 10,000 rows one by one (bottom up, as a delete command removes
// its records) from a shown grid of 100,000 rows, and the same inside
// BeginUpdate / EndUpdate (one reset).
void DeleteFromShown(benchmark::State &state, bool batch) {
  SourceTexts();
  CellGrid grid;
  CellGridView view(grid);
  view.resize(900, 600);
  view.show();
  for (auto _ : state) {
    state.PauseTiming();
    LoadGrid(grid);
    QApplication::processEvents();
    state.ResumeTiming();
    if (batch)
      grid.BeginUpdate();
    for (int r = 50000 + 10000 - 1; r >= 50000; --r)
      grid.DeleteRow(r);
    if (batch)
      grid.EndUpdate();
    QApplication::processEvents();
  }
}
void BM_Delete10000Shown(benchmark::State &state) {
  DeleteFromShown(state, false);
}
void BM_Delete10000ShownBatch(benchmark::State &state) {
  DeleteFromShown(state, true);
}

BENCHMARK(BM_Delete10000Shown)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_Delete10000ShownBatch)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_VectorOfQString)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_LoadStoreAndModel)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_LoadShownView)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_InsertInto100000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_InsertInto10)->Unit(benchmark::kMicrosecond)->UseRealTime();


// Heap held by a loaded grid with its model, in megabytes.
double LoadedMegabytes() {
  SourceTexts();
  malloc_trim(0);
  const size_t before = mallinfo2().uordblks;
  auto grid = std::make_unique<CellGrid>();
  CellGridModel model(*grid);
  LoadGrid(*grid);
  const size_t after = mallinfo2().uordblks;
  return double(after - before) / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const struct {
    const char *label, *ours, *peer;
  } pairs[] = {
      {"load 100000 rows x 10 columns into store + model (one reset) vs "
       "std::vector<QString>",
       "BM_LoadStoreAndModel", "BM_VectorOfQString"},
      {"the same load with a view shown vs std::vector<QString>",
       "BM_LoadShownView", "BM_VectorOfQString"},
      {"insert + delete a row in the middle of 100000 rows vs of 10 rows",
       "BM_InsertInto100000", "BM_InsertInto10"},
  };
  for (const auto &pair : pairs) {
    const double ours = reporter.Real(pair.ours);
    const double peer = reporter.Real(pair.peer);
    const double oursCpu = reporter.Cpu(pair.ours);
    const double peerCpu = reporter.Cpu(pair.peer);
    // The machine may be shared: CPU time is printed beside real time.
    if (ours > 0 && peer > 0 && peerCpu > 0)
      std::printf("ratio %s: %.2fx real, %.2fx CPU\n", pair.label,
                  ours / peer, oursCpu / peerCpu);
  }
  std::printf("heap of a loaded grid of 100000 rows x 10 columns: %.1f MB\n",
              LoadedMegabytes());
  benchmark::Shutdown();
  return 0;
}
