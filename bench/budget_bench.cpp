// The budget page on 1,000,000 records over five years, against its peer
// measured in the same run through the same session: the figures of one
// month (the stored budget read, one grouped statement, the rows built) and
// the whole page's reload, for two scopes (none; two active groups and an
// option filter), against one "GROUP BY" of the option column over that
// month and scope (target: at most 2 times); for reference, the
// over-budget check that runs after every edit.
#include "analysis/budget_month.h"
#include "analysis/budget_store.h"
#include "analysis/budget_watch.h"
#include "analysis/ui/budget_view.h"
#include "db/db_visiter.h"
#include "document/account_file.h"
#include "window/document_window.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "bench_sql.h"
#include "ratio_reporter.h"
#include "template_file.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kRecords = 1000000;
const char *const kCategories[] = {"餐饮", "交通", "购物", "居住", "医疗", "其他"};
const YearMonth kMonth{2024, 6};

const char *Scope(int which) {
  return which == 0 ? ""
                    : "(trelva_Group_ID=2 or trelva_Group_ID=3) And "
                      "([Payment] In ('现金','银行卡'))";
}

AccountFile *gFile = nullptr;

// 1,000,000 records from 2022-01-01 to 2026-12-28 in groups 2 to 5, written
// as the session stores them by one statement.
bool FillFile(const QString &path) {
  sqlite3 *db = nullptr;
  if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
    return false;
  const bool ok = Exec(
      db,
      "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE "
      "i < " + std::to_string(kRecords - 1) + ") "
      "INSERT INTO Users (ID, Data, Category, Payment, Amount, Count, Total, "
      "trelva_Group_ID) SELECT i / 4 + 1, printf('%04d-%02d-%02d 00:00:00', "
      "2022 + abs(random()) % 5, 1 + abs(random()) % 12, 1 + abs(random()) % "
      "28), CASE abs(random()) % 6 WHEN 0 THEN '餐饮' WHEN 1 THEN '交通' WHEN 2 "
      "THEN '购物' WHEN 3 THEN '居住' WHEN 4 THEN '医疗' ELSE '其他' END, CASE "
      "abs(random()) % 3 WHEN 0 THEN '现金' WHEN 1 THEN '银行卡' ELSE '信用卡' "
      "END, i % 1000, 1, i % 1000, 2 + i % 4 FROM n");
  sqlite3_close(db);
  return ok;
}

bool SetBudget(AccountFile &file) {
  Budget budget{QStringLiteral("Category"), QStringLiteral("Total"), {}};
  for (const char *option : kCategories)
    budget.Set(QString::fromUtf8(option), QString(), 3000);
  budget.Set(QString(), QString(), 15000);
  return SaveBudget(file, budget);
}

CDBVisiter &Session() { return *gFile->Session(); }

void BudgetFigures(benchmark::State &state) {
  const QString scope = QString::fromUtf8(Scope(int(state.range(0))));
  qsizetype lines = 0;
  for (auto _ : state) {
    const Budget budget = LoadBudget(Session());
    lines = BuildBudgetMonth(Session(), gFile->Columns(), budget, kMonth, scope)
                .lines.size();
  }
  if (lines != 6)
    state.SkipWithError("not 6 lines");
}

void GroupByOptionPeer(benchmark::State &state) {
  const QString scope = QString::fromUtf8(Scope(int(state.range(0))));
  QString sql = "SELECT [Category], SUM([Total]) FROM Users WHERE "
                "[Data]>=#2024-6-1# And [Data]<#2024-7-1#";
  if (!scope.isEmpty())
    sql += " And (" + scope + ")";
  sql += " GROUP BY [Category]";
  int rows = 0;
  for (auto _ : state) {
    rows = Session().Query(sql);
    for (int i = 0; i < rows; ++i, Session().MoveNext())
      benchmark::DoNotOptimize(Session().GetDouble(1));
  }
  if (rows != 6)
    state.SkipWithError("not 6 options");
}

// The over-budget check after an edit: every month's sums read again.
void BudgetWatchLook(benchmark::State &state) {
  BudgetWatch watch;
  watch.Reset(Session(), gFile->Columns());
  for (auto _ : state)
    benchmark::DoNotOptimize(watch.Look(Session(), gFile->Columns()));
}

// A window of the second scope.
class BenchWindow : public DocumentWindow {
public:
  AccountFile *File() const override { return gFile; }
  QList<int> ActiveGroupIds() const override { return {2, 3}; }
  bool FilterWhere(QString &where) const override {
    where = QStringLiteral("[Payment] In ('现金','银行卡')");
    return true;
  }
};

void BudgetPageRefresh(benchmark::State &state) {
  BenchWindow window;
  CSorvanBudgetView page(&window);
  page.StepMonth(int(kMonth.Index() - page.Month().Index()));
  for (auto _ : state)
    page.Refresh();
  if (page.Figures().lines.size() != 6)
    state.SkipWithError("not 6 lines");
}

BENCHMARK(BudgetFigures)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(GroupByOptionPeer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BudgetPageRefresh)->Unit(benchmark::kMillisecond);
BENCHMARK(BudgetWatchLook)->Unit(benchmark::kMillisecond);

void PrintRatio(const RatioReporter &reporter, const std::string &name,
                const std::string &peer) {
  std::printf("%s / %s: %s (at most 2)\n", name.c_str(), peer.c_str(),
              reporter.Ratio(name, peer).c_str());
}

} // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  QTemporaryDir dir;
  QDir::setCurrent(dir.path()); // compaction's scratch file stays in here
  const QString path = dir.filePath(QStringLiteral("bench.fz"));
  if (!CopyHouseholdTemplate(path) || !FillFile(path)) {
    std::fprintf(stderr, "cannot build the file from %s\n",
                 qPrintable(HouseholdTemplate()));
    return 1;
  }
  AccountFile file;
  if (!file.OpenAccountFile(path) || !SetBudget(file)) {
    std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
    return 1;
  }
  gFile = &file;

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintRatio(reporter, "BudgetFigures/0", "GroupByOptionPeer/0");
  PrintRatio(reporter, "BudgetFigures/1", "GroupByOptionPeer/1");
  PrintRatio(reporter, "BudgetPageRefresh", "GroupByOptionPeer/1");
  gFile = nullptr;
  file.Close();
  return 0;
}
