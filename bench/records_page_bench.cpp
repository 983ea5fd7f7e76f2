// The records page on a large file, each figure against a peer measured in
// the same run:
// - Refresh of a page showing one group of 100,000 records (queries and
//   filling the grid and its view) against reading the same rows as text
//   through the SQLite C API; and the heap the loaded page adds.
// - One record typed into the new-record row of a page showing 100,000
//   records against the same into a page showing 10.
// - Deleting 10,000 selected records, and undoing that, against the same
//   DELETE (INSERT) statements run in one transaction through the C API.
// - Ctrl+A on 100,000 rows and the summary that follows (time only).
//
// The file lies on /dev/shm (the temporary folder when there is none), so
// that the work of the program is measured rather than the disk's.
#include "window/document_window.h"
#include "base/prompt.h"
#include "base/scripted_prompt.h"
#include "db/db_visiter.h"
#include "db/db_visiter_factory.h"
#include "db/jet_dialect.h"
#include "document/account_file.h"
#include "records/command_history.h"
#include "records/ui/sorvan_grid_view.h"
#include "widgets/cell_grid_view.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "bench_sql.h"
#include "ratio_reporter.h"
#include "template_file.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kLargeGroup = 3, kLargeCount = 100000;
constexpr int kSmallGroup = 4, kSmallCount = 10;
constexpr int kDeleteGroup = 5, kDeleteCount = 10000;
constexpr int kItemColumn = 7; // grid column of Item in the household file

QString StorageFolder() {
  return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                   : QDir::tempPath();
}


// Records of one group: a new date every 7 records, amounts and items that
// vary.
bool AddRecords(sqlite3 *db, int groupId, int count) {
  sqlite3_stmt *stmt = nullptr;
  const char *sql =
      "INSERT INTO Users (ID, Data, Moment, Category, Payment, Amount, Count, "
      "Total, Item, Memo, trelva_Group_ID) VALUES (?, ?, ?, '餐饮', '现金', ?, "
      "2, ?, ?, '', ?)";
  if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
    return false;
  bool ok = true;
  for (int i = 1; i <= count && ok; ++i) {
    const QByteArray date = QStringLiteral("20%1-%2-%3 00:00:00")
                                .arg(10 + i / 2500 % 15)
                                .arg(1 + i / 200 % 12, 2, 10, QLatin1Char('0'))
                                .arg(1 + i / 7 % 28, 2, 10, QLatin1Char('0'))
                                .toUtf8();
    const QByteArray item = QStringLiteral("项目 %1").arg(i % 321).toUtf8();
    const double amount = (i % 997) / 4.0;
    sqlite3_bind_int(stmt, 1, i);
    sqlite3_bind_text(stmt, 2, date.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt, 3, "1899-12-30 09:05:07", -1, SQLITE_STATIC);
    sqlite3_bind_double(stmt, 4, amount);
    sqlite3_bind_double(stmt, 5, amount * 2);
    sqlite3_bind_text(stmt, 6, item.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(stmt, 7, groupId);
    ok = sqlite3_step(stmt) == SQLITE_DONE;
    sqlite3_reset(stmt);
  }
  sqlite3_finalize(stmt);
  return ok;
}

// The window of a page: one group, no filter.
class OneGroupWindow : public DocumentWindow {
public:
  OneGroupWindow(AccountFile &file, int groupId)
      : file_(file), groupId_(groupId) {}
  AccountFile *File() const override { return &file_; }
  QList<int> ActiveGroupIds() const override { return {groupId_}; }
  bool FilterWhere(QString &where) const override {
    where.clear();
    return true;
  }

private:
  AccountFile &file_;
  int groupId_;
};

// A copy of the household template holding the benchmark's records, open.
struct BenchFile {
  BenchFile() : dir(StorageFolder() + QStringLiteral("/page-bench-XXXXXX")) {
    path = dir.path() + QStringLiteral("/bench.fz");
    if (!dir.isValid() || !CopyHouseholdTemplate(path))
      return;
    sqlite3 *db = nullptr;
    const QByteArray name = path.toUtf8();
    bool filled = sqlite3_open(name.constData(), &db) == SQLITE_OK &&
                  Exec(db, "BEGIN") &&
                  AddRecords(db, kLargeGroup, kLargeCount) &&
                  AddRecords(db, kSmallGroup, kSmallCount) &&
                  AddRecords(db, kDeleteGroup, kDeleteCount) &&
                  Exec(db, "COMMIT");
    sqlite3_close(db);
    ok = filled && file.OpenAccountFile(path);
  }
  ~BenchFile() { CDBVisiterFactory::Instance().RemoveVisiter(path); }

  sqlite3 *Connection() const { return file.Session()->GetConnection(); }

  QTemporaryDir dir;
  QString path;
  AccountFile file;
  bool ok = false;
};

BenchFile *g_file = nullptr;

// A page on the bench file showing one group, loaded.
struct Page {
  explicit Page(int groupId) : window(g_file->file, groupId), view(&window) {
    view.SetActivePage(true);
    view.Refresh();
  }
  OneGroupWindow window;
  CSorvanGridView view;
};

size_t HeapInUse() { return mallinfo2().uordblks; }

void BM_PageRefresh(benchmark::State &state) {
  Page page(kLargeGroup);
  for (auto _ : state)
    page.view.Refresh();
  if (page.view.Grid().GetNumberRows() != kLargeCount + 2)
    state.SkipWithError("not every record was shown");
  // The heap a loaded page holds, from before it is made to after.
  malloc_trim(0);
  const size_t before = HeapInUse();
  auto second = std::make_unique<Page>(kLargeGroup);
  const size_t after = HeapInUse();
  state.counters["page_MB"] = double(after - before) / (1024.0 * 1024.0);
}

void BM_RawRead(benchmark::State &state) {
  const char *sql = "SELECT * FROM Users WHERE trelva_Group_ID=3 ORDER BY ID";
  size_t bytes = 0;
  for (auto _ : state) {
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(g_file->Connection(), sql, -1, &stmt, nullptr);
    int rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
        const unsigned char *text = sqlite3_column_text(stmt, c);
        bytes += text ? size_t(sqlite3_column_bytes(stmt, c)) : 0;
      }
      ++rows;
    }
    sqlite3_finalize(stmt);
    if (rows != kLargeCount)
      state.SkipWithError("rows missing");
  }
  benchmark::DoNotOptimize(bytes);
}

// Types an item into the new-record row of the page, as the user does.
void TypeNewRecords(benchmark::State &state, int groupId) {
  Page page(groupId);
  CSorvansGridCtrl &grid = page.view.Grid();
  int typed = 0;
  for (auto _ : state) {
    const int row = grid.GetNumberRows() - 1;
    grid.OnEditFinish(kItemColumn, row, QStringLiteral("新 %1").arg(++typed),
                      false);
  }
  if (!grid.IsNewRecordRow(grid.GetNumberRows() - 1) ||
      grid.CellText(kItemColumn, grid.GetNumberRows() - 2) !=
          QStringLiteral("新 %1").arg(typed))
    state.SkipWithError("the record was not shown");
  // Leave the groups as they were for the other benchmarks.
  Exec(g_file->Connection(), "DELETE FROM Users WHERE Item LIKE '新 %'");
  g_file->file.History().Clear();
}

void BM_InsertInto100000(benchmark::State &state) {
  TypeNewRecords(state, kLargeGroup);
}
void BM_InsertInto10(benchmark::State &state) {
  TypeNewRecords(state, kSmallGroup);
}

// Selects every record row of the page.
void SelectRecords(CSorvansGridCtrl &grid) {
  grid.SetSelection({{0, 1, grid.GetNumberCols() - 1, grid.GetNumberRows() - 2}},
                    0, 1);
}

void BM_DeleteSelected(benchmark::State &state) {
  Page page(kDeleteGroup);
  CSorvansGridCtrl &grid = page.view.Grid();
  ScriptedPrompt prompt;
  ScopedPrompt scoped(prompt);
  for (auto _ : state) {
    state.PauseTiming();
    SelectRecords(grid);
    prompt.QueueAnswer(1);
    state.ResumeTiming();
    grid.DeleteSelectedRows();
    state.PauseTiming();
    if (grid.GetNumberRows() != 2)
      state.SkipWithError("not every record was deleted");
    g_file->file.History().Undo();
    state.ResumeTiming();
  }
  g_file->file.History().Clear();
}

void BM_UndoDelete(benchmark::State &state) {
  Page page(kDeleteGroup);
  CSorvansGridCtrl &grid = page.view.Grid();
  ScriptedPrompt prompt;
  ScopedPrompt scoped(prompt);
  for (auto _ : state) {
    state.PauseTiming();
    SelectRecords(grid);
    prompt.QueueAnswer(1);
    grid.DeleteSelectedRows();
    state.ResumeTiming();
    g_file->file.History().Undo();
    state.PauseTiming();
    if (grid.GetNumberRows() != kDeleteCount + 2)
      state.SkipWithError("not every record came back");
    state.ResumeTiming();
  }
  g_file->file.History().Clear();
}

// The statements of deleting (and of restoring) every record of the delete
// group, as the record store builds them, translated for SQLite.
std::vector<QByteArray> Statements(bool inserts) {
  std::vector<QByteArray> statements;
  CDBVisiter &session = *g_file->file.Session();
  const int n = session.Query(
      QStringLiteral("Select * From Users Where trelva_Group_ID=%1 Order By ID")
          .arg(kDeleteGroup));
  const ColumnList &columns = g_file->file.Columns();
  for (int k = 0; k < n; ++k, session.MoveNext()) {
    CRowItem row = CRowItem::EmptyRow(g_file->file, kDeleteGroup);
    for (int i = 0; i < columns.Size(); ++i)
      row.items[i].text = session.GetString(columns.FieldName(i));
    QByteArray sql;
    TranslateJetSql(inserts ? row.InsertStatement() : row.DeleteStatement(),
                    sql, nullptr);
    statements.push_back(sql);
  }
  return statements;
}

// Whether every statement succeeded.
bool RunInOneTransaction(const std::vector<QByteArray> &statements) {
  sqlite3 *db = g_file->Connection();
  bool ok = Exec(db, "BEGIN");
  for (const QByteArray &sql : statements)
    ok = Exec(db, sql.constData()) && ok;
  return Exec(db, "COMMIT") && ok;
}

void BM_RawDelete(benchmark::State &state) {
  const std::vector<QByteArray> deletes = Statements(false);
  const std::vector<QByteArray> inserts = Statements(true);
  for (auto _ : state) {
    const bool deleted = RunInOneTransaction(deletes);
    state.PauseTiming();
    if (!deleted || !RunInOneTransaction(inserts))
      state.SkipWithError("a statement failed");
    state.ResumeTiming();
  }
}

void BM_RawUndoDelete(benchmark::State &state) {
  const std::vector<QByteArray> deletes = Statements(false);
  const std::vector<QByteArray> inserts = Statements(true);
  for (auto _ : state) {
    state.PauseTiming();
    const bool deleted = RunInOneTransaction(deletes);
    state.ResumeTiming();
    if (!RunInOneTransaction(inserts) || !deleted)
      state.SkipWithError("a statement failed");
  }
}

void BM_SelectAllAndSummary(benchmark::State &state) {
  Page page(kLargeGroup);
  QString text;
  for (auto _ : state) {
    page.view.GridView()->clearSelection();
    page.view.GridView()->selectAll(); // what Ctrl+A does
    page.view.GetSummaryText(text);
  }
  if (!text.startsWith(QStringLiteral("统计=%1 ").arg(9LL * (kLargeCount + 2))))
    state.SkipWithError(qPrintable(QStringLiteral("summary: ") + text));
  state.SetLabel(text.toStdString());
}

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ScriptedPrompt prompt;
  ScopedPrompt scoped(prompt);
  BenchFile file;
  if (!file.ok) {
    std::fprintf(stderr, "cannot make the bench file\n");
    return 1;
  }
  g_file = &file;
  const auto ms = benchmark::kMillisecond;
  benchmark::RegisterBenchmark("BM_PageRefresh", BM_PageRefresh)->Unit(ms)->UseRealTime()->Iterations(5);
  benchmark::RegisterBenchmark("BM_RawRead", BM_RawRead)->Unit(ms)->UseRealTime()->Iterations(5);
  benchmark::RegisterBenchmark("BM_InsertInto100000", BM_InsertInto100000)->Unit(benchmark::kMicrosecond)->UseRealTime()->Iterations(300);
  benchmark::RegisterBenchmark("BM_InsertInto10", BM_InsertInto10)->Unit(benchmark::kMicrosecond)->UseRealTime()->Iterations(300);
  benchmark::RegisterBenchmark("BM_DeleteSelected", BM_DeleteSelected)->Unit(ms)->UseRealTime()->Iterations(3);
  benchmark::RegisterBenchmark("BM_RawDelete", BM_RawDelete)->Unit(ms)->UseRealTime()->Iterations(3);
  benchmark::RegisterBenchmark("BM_UndoDelete", BM_UndoDelete)->Unit(ms)->UseRealTime()->Iterations(3);
  benchmark::RegisterBenchmark("BM_RawUndoDelete", BM_RawUndoDelete)->Unit(ms)->UseRealTime()->Iterations(3);
  benchmark::RegisterBenchmark("BM_SelectAllAndSummary", BM_SelectAllAndSummary)->Unit(ms)->UseRealTime()->Iterations(5);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("Refresh of 100,000 records / raw SQLite read as text = %s "
              "(at most 2)\n",
              reporter.Ratio("BM_PageRefresh", "BM_RawRead").c_str());
  std::printf("heap added by the loaded page = %.1f MB (at most 80)\n",
              reporter.Counter("page_MB"));
  std::printf("insert into a page of 100,000 rows / into a page of 10 = %s "
              "(at most 1.2)\n",
              reporter.Ratio("BM_InsertInto100000", "BM_InsertInto10").c_str());
  std::printf("delete of 10,000 selected / raw DELETEs in one transaction = "
              "%s (at most 3)\n",
              reporter.Ratio("BM_DeleteSelected", "BM_RawDelete").c_str());
  std::printf("undo of that delete / raw INSERTs in one transaction = %s "
              "(at most 3)\n",
              reporter.Ratio("BM_UndoDelete", "BM_RawUndoDelete").c_str());
  if (const RunTimes *all = reporter.Find("BM_SelectAllAndSummary"))
    std::printf("Ctrl+A on 100,000 rows with its summary: %.1f ms (CPU %.1f ms)\n",
                all->real, all->cpu);
  if (!prompt.Texts().isEmpty())
    std::printf("messages shown: %d, the first: %s\n",
                int(prompt.Texts().size()), qPrintable(prompt.Texts().first()));
  g_file = nullptr;
  benchmark::Shutdown();
  return 0;
}
