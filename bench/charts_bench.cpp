// The chart series on 100,000 records over ten years (121 months), against
// their peers measured in the same run through the same session:
// - the bar series for three scopes (none; two active groups; two groups and
//   an option filter) against one "GROUP BY" month statement over the same
//   scope (target: at most 2 times);
// - the pie series of 48 slices (three expanded columns with 4, 4 and 3
//   ticked options) against one "GROUP BY" over the three columns (target:
//   at most 3 times);
// - for reference, the month walk and one statement per slice;
// - switching to each chart page after one record was edited: the time
//   from selecting the tab until the page has recomputed;
// - painting a bar chart of 95,880 months (a year mistyped as 9999) against
//   painting one of ten years: only the bars in view are painted.
#include "analysis/bar_series.h"
#include "analysis/pie_series.h"
#include "analysis/ui/bar_chart_view.h"
#include "analysis/ui/bar_chart_widget.h"
#include "analysis/ui/chart_set_up_source.h"
#include "analysis/ui/pie_chart_view.h"
#include "analysis/ui/sorvan_bar_setup_pane.h"
#include "analysis/ui/sorvan_pie_setup_pane.h"
#include "window/document_window.h"
#include "db/db_visiter.h"
#include "db/db_visiter_factory.h"
#include "document/account_file.h"
#include "widgets/property_grid.h"
#include "widgets/property_item.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>

#include "bench_sql.h"

#include "ratio_reporter.h"
#include "template_file.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

namespace {

constexpr int kRecords = 100000;
const char *const kCategories[] = {"餐饮", "交通", "购物", "居住", "医疗", "其他"};
const char *const kPayments[] = {"现金", "银行卡", "信用卡"};
const char *const kMembers[] = {"爸爸", "妈妈", "孩子", "老人", "客人"};

const char kTwoGroups[] = "trelva_Group_ID=2 or trelva_Group_ID=3";
const char kGroupsAndFilter[] =
    "(trelva_Group_ID=2 or trelva_Group_ID=3) And ([Category] In "
    "('餐饮','交通','购物'))";

QString gPath;
AccountFile *gFile = nullptr;


// A third option column, 成员, and 100,000 records from 2000-01-01 to
// 2010-01-31 in groups 2 to 5, written as the session stores them.
bool FillFile(const QString &path) {
  sqlite3 *db = nullptr;
  if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
    return false;
  bool ok = Exec(db, "BEGIN") &&
            Exec(db, "ALTER TABLE Users ADD COLUMN Member VARCHAR(50) COLLATE NOCASE") &&
            Exec(db, "INSERT INTO TableStyle (ID, 编号, 字段名, 标题, 启用, 数据类型, "
                     "只读, 宽度, 选项, 默认值) VALUES (11, 11, 'Member', '成员', 1, "
                     "4, 0, 60, '爸爸|妈妈|孩子|老人|客人', '爸爸')");
  sqlite3_stmt *record = nullptr;
  sqlite3_prepare_v2(db,
                     "INSERT INTO Users (ID, Data, Category, Payment, Member, "
                     "Amount, Count, Total, trelva_Group_ID) VALUES (?, ?, ?, "
                     "?, ?, ?, 1, ?, ?)",
                     -1, &record, nullptr);
  std::mt19937 random(2010);
  const int days = 3652 + 30; // 2000-01-01 to 2010-01-31
  for (int i = 0; ok && i < kRecords; ++i) {
    const int day = int(random() % days);
    char date[32];
    const int y0 = 2000;
    // Days to a date by the civil calendar.
    int y = y0, d = day;
    for (;;) {
      const int length = (y % 4 == 0 && (y % 100 != 0 || y % 400 == 0)) ? 366 : 365;
      if (d < length)
        break;
      d -= length;
      ++y;
    }
    static const int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int m = 0;
    for (;; ++m) {
      const int length = kMonthDays[m] + (m == 1 && y % 4 == 0 && (y % 100 != 0 || y % 400 == 0));
      if (d < length)
        break;
      d -= length;
    }
    std::snprintf(date, sizeof date, "%04d-%02d-%02d 00:00:00", y, m + 1, d + 1);
    const double amount = double(random() % 100000) / 100;
    sqlite3_bind_int(record, 1, i / 4 + 1);
    sqlite3_bind_text(record, 2, date, -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(record, 3, kCategories[random() % 6], -1, SQLITE_STATIC);
    sqlite3_bind_text(record, 4, kPayments[random() % 3], -1, SQLITE_STATIC);
    sqlite3_bind_text(record, 5, kMembers[random() % 5], -1, SQLITE_STATIC);
    sqlite3_bind_double(record, 6, amount);
    sqlite3_bind_double(record, 7, amount);
    sqlite3_bind_int(record, 8, 2 + i % 4);
    ok = sqlite3_step(record) == SQLITE_DONE;
    sqlite3_reset(record);
  }
  sqlite3_finalize(record);
  ok = ok && Exec(db, "COMMIT");
  sqlite3_close(db);
  return ok;
}

CDBVisiter &Session() { return *gFile->Session(); }

const char *Scope(int which) {
  return which == 0 ? "" : which == 1 ? kTwoGroups : kGroupsAndFilter;
}

void BarSeriesFast(benchmark::State &state) {
  const QString scope = QString::fromUtf8(Scope(int(state.range(0))));
  int bars = 0;
  for (auto _ : state)
    bars = BuildBarSeries(Session(), gFile->Columns(), "Total", scope, {}).Size();
  if (bars != 121)
    state.SkipWithError("not 121 bars");
}

void GroupByMonthPeer(benchmark::State &state) {
  const QString scope = QString::fromUtf8(Scope(int(state.range(0))));
  QString sql = "SELECT Mid(Data,1,7), SUM(Total) FROM Users";
  if (!scope.isEmpty())
    sql += " WHERE " + scope;
  sql += " GROUP BY Mid(Data,1,7)";
  int rows = 0;
  for (auto _ : state) {
    rows = Session().Query(sql);
    for (int i = 0; i < rows; ++i, Session().MoveNext())
      benchmark::DoNotOptimize(Session().GetDouble(1));
  }
  if (rows != 121)
    state.SkipWithError("not 121 months");
}

void BarSeriesByMonth(benchmark::State &state) {
  const QString scope = QString::fromUtf8(Scope(int(state.range(0))));
  for (auto _ : state)
    benchmark::DoNotOptimize(
        BuildBarSeriesByMonth(Session(), gFile->Columns(), "Total", scope, {}));
}

QList<ExpandedColumn> FortyEightSlices() {
  return {{"Category", {"餐饮", "交通", "购物", "居住"}},
          {"Payment", {"现金", "银行卡", "信用卡"}},
          {"Member", {"爸爸", "妈妈", "孩子", "老人"}}};
}

void PieSeriesFast(benchmark::State &state) {
  int slices = 0;
  for (auto _ : state)
    slices = BuildPieSeries(Session(), gFile->Columns(), "Total", "",
                            FortyEightSlices())
                 .Size();
  if (slices != 48)
    state.SkipWithError("not 48 slices");
}

void GroupByColumnsPeer(benchmark::State &state) {
  const QString sql = "SELECT Category, Payment, Member, SUM(Total) FROM Users "
                      "GROUP BY Category, Payment, Member";
  int rows = 0;
  for (auto _ : state) {
    rows = Session().Query(sql);
    for (int i = 0; i < rows; ++i, Session().MoveNext())
      benchmark::DoNotOptimize(Session().GetDouble(3));
  }
  if (rows != 6 * 3 * 5)
    state.SkipWithError("not 90 groups");
}

void PieSeriesBySlice(benchmark::State &state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(BuildPieSeriesBySlice(
        Session(), gFile->Columns(), "Total", "", FortyEightSlices()));
}

// A window whose set-up panes sum Total; the pie expands the 48 slices.
class BenchWindow : public DocumentWindow {
public:
  BenchWindow() : bar_(this), pie_(this) {
    for (CSorvanSetUpPane *pane : {static_cast<CSorvanSetUpPane *>(&bar_),
                                   static_cast<CSorvanSetUpPane *>(&pie_)}) {
      pane->Rebuild();
      PropertyItem &list = *pane->Grid()->Root().Child(0)->Child(0);
      list.choice = int(list.choiceData.indexOf("Total"));
    }
    PropertyItem &options = *pie_.Grid()->Root().Child(1);
    for (int i = 0; i < options.ChildCount(); ++i) {
      PropertyItem &sub = *options.Child(i);
      sub.Child(0)->checked = true;
      for (int k = 1; k < sub.ChildCount(); ++k)
        sub.Child(k)->checked = sub.Child(k)->caption != "医疗" &&
                                sub.Child(k)->caption != "其他" &&
                                sub.Child(k)->caption != "客人";
    }
  }
  AccountFile *File() const override { return gFile; }
  QList<int> ActiveGroupIds() const override { return {}; }
  bool FilterWhere(QString &where) const override {
    where.clear();
    return true;
  }
  bool ReadChartSetUp(ChartKind kind, ChartSetUp &setUp) const override {
    return ReadSetUpPanes(&bar_, &pie_, kind, setUp);
  }

private:
  CSorvanBarSetUpPane bar_;
  CSorvanPieSetUpPane pie_;
};

// Edits one record, notifies 6 while the page is hidden, then selects it.
template <typename Page> void SwitchToPage(benchmark::State &state) {
  BenchWindow window;
  Page page(&window);
  page.resize(1000, 600);
  int key = 1;
  for (auto _ : state) {
    state.PauseTiming();
    page.SetActivePage(false);
    Session().Execute(QStringLiteral("Update Users Set [Total]=[Total]+1 Where "
                                     "ID=%1 And trelva_Group_ID=2")
                          .arg(key++));
    page.OnChangeNotify(*gFile, 6);
    state.ResumeTiming();
    page.SetActivePage(true);
  }
  if (page.Series().Size() == 0)
    state.SkipWithError("the page shows nothing");
}

void SwitchToBarPage(benchmark::State &state) {
  SwitchToPage<CSorvanBarChartView>(state);
}
void SwitchToPiePage(benchmark::State &state) {
  SwitchToPage<CSorvanPieChartView>(state);
}

// Paints a chart of that many bars, scrolled to its middle, into an image.
void PaintBars(benchmark::State &state) {
  BarChartWidget chart;
  chart.resize(1000, 600);
  for (int i = 0; i < state.range(0); ++i)
    chart.AddBar(QString::number(i), QColor(i % 256, 255 - i % 256, 0),
                 QColor(0, 255, 255), i % 97);
  chart.Redraw();
  chart.horizontalScrollBar()->setValue(chart.horizontalScrollBar()->maximum() / 2);
  QImage image(1000, 600, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    chart.Paint(painter, image.rect());
  }
}

BENCHMARK(PaintBars)->Arg(120)->Arg(95880)->Unit(benchmark::kMicrosecond);
BENCHMARK(BarSeriesFast)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(GroupByMonthPeer)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BarSeriesByMonth)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(PieSeriesFast)->Unit(benchmark::kMillisecond);
BENCHMARK(GroupByColumnsPeer)->Unit(benchmark::kMillisecond);
BENCHMARK(PieSeriesBySlice)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(SwitchToBarPage)->Unit(benchmark::kMillisecond);
BENCHMARK(SwitchToPiePage)->Unit(benchmark::kMillisecond);

void PrintRatio(const RatioReporter &reporter, const std::string &name,
                const std::string &peer, const char *target) {
  const RunTimes *a = reporter.Find(name);
  const RunTimes *b = reporter.Find(peer);
  if (!a || !b)
    return;
  std::printf("%s / %s: %.2f real, %.2f CPU%s\n", name.c_str(), peer.c_str(),
              a->real / b->real, a->cpu / b->cpu, target);
}

} // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  const QString source = HouseholdTemplate();
  QTemporaryDir dir;
  QDir::setCurrent(dir.path()); // compaction's scratch file stays in here
  gPath = dir.filePath(QStringLiteral("bench.fz"));
  if (!CopyHouseholdTemplate(gPath) || !FillFile(gPath)) {
    std::fprintf(stderr, "cannot build the file from %s\n", qPrintable(source));
    return 1;
  }
  AccountFile file;
  if (!file.OpenAccountFile(gPath)) {
    std::fprintf(stderr, "cannot open %s\n", qPrintable(gPath));
    return 1;
  }
  gFile = &file;

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const char *arg : {"/0", "/1", "/2"})
    PrintRatio(reporter, std::string("BarSeriesFast") + arg,
               std::string("GroupByMonthPeer") + arg, " (at most 2)");
  PrintRatio(reporter, "PieSeriesFast", "GroupByColumnsPeer", " (at most 3)");
  PrintRatio(reporter, "PaintBars/95880", "PaintBars/120", " (about 1)");
  for (const char *name : {"SwitchToBarPage", "SwitchToPiePage"}) {
    if (const RunTimes *time = reporter.Find(name))
      std::printf("%s after one edit, 100,000 records: %.1f ms real, %.1f ms "
                  "CPU\n",
                  name, time->real, time->cpu);
  }
  gFile = nullptr;
  file.Close();
  return 0;
}
