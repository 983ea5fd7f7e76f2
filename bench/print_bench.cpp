// Printing and the yearly statement on large files, each figure against a
// peer measured in the same run:
// - The print preview of a records page showing 10,000 records, from the
//   command to the first page painted (target: at most 3 s), and the heap
//   it holds after every page has been shown once: pages are painted on
//   demand, none is kept, so the heap stays that of one page.
// - The figures of the yearly statement of 1,000,000 records (one year)
//   against the GROUP BY statement they need, run and read through the same
//   session (target: at most 2 times); and the whole statement as PDF, whose
//   difference from the figures is the fixed cost of the tables and charts.
//
// The file lies on /dev/shm (the temporary folder when there is none), so
// that the work of the program is measured rather than the disk's.
#include "analysis/year_statement.h"
#include "db/db_visiter.h"
#include "document/account_file.h"
#include "print/print_job.h"
#include "print/year_report.h"
#include "records/ui/sorvan_grid_view.h"
#include "window/document_window.h"
#include "window/print_preview_dialog.h"
#include "window/print_scope.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include "bench_sql.h"
#include "ratio_reporter.h"
#include "template_file.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <random>

namespace {

constexpr int kPreviewGroup = 3, kPreviewCount = 10000;
constexpr int kYearGroup = 4, kYearCount = 1000000;
const char *const kCategories[] = {"餐饮", "交通", "购物", "居住", "医疗", "其他"};

AccountFile *gFile = nullptr;

QString StorageFolder() {
  return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                   : QDir::tempPath();
}

// count records of a group, dated over the year 2025, keys from first.
bool AddRecords(sqlite3 *db, int groupId, int count, int first) {
  sqlite3_stmt *stmt = nullptr;
  if (sqlite3_prepare_v2(db,
                         "INSERT INTO Users (ID, Data, Category, Payment, Amount, "
                         "Count, Total, Item, trelva_Group_ID) VALUES (?, ?, ?, "
                         "'现金', ?, 1, ?, ?, ?)",
                         -1, &stmt, nullptr) != SQLITE_OK)
    return false;
  std::mt19937 random(2025);
  bool ok = true;
  for (int i = 0; ok && i < count; ++i) {
    char date[32];
    std::snprintf(date, sizeof date, "2025-%02d-%02d 00:00:00",
                  int(random() % 12) + 1, int(random() % 28) + 1);
    const double amount = double(random() % 100000) / 100;
    const std::string item = "项目 " + std::to_string(i);
    sqlite3_bind_int(stmt, 1, first + i);
    sqlite3_bind_text(stmt, 2, date, -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt, 3, kCategories[random() % 6], -1, SQLITE_STATIC);
    sqlite3_bind_double(stmt, 4, amount);
    sqlite3_bind_double(stmt, 5, amount);
    sqlite3_bind_text(stmt, 6, item.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(stmt, 7, groupId);
    ok = sqlite3_step(stmt) == SQLITE_DONE;
    sqlite3_reset(stmt);
  }
  sqlite3_finalize(stmt);
  return ok;
}

bool FillFile(const QString &path) {
  sqlite3 *db = nullptr;
  const QByteArray name = path.toUtf8();
  bool ok = sqlite3_open(name.constData(), &db) == SQLITE_OK && Exec(db, "BEGIN") &&
            AddRecords(db, kPreviewGroup, kPreviewCount, 1) &&
            AddRecords(db, kYearGroup, kYearCount, 1) && Exec(db, "COMMIT");
  sqlite3_close(db);
  return ok;
}

class OneGroupWindow : public DocumentWindow {
public:
  AccountFile *File() const override { return gFile; }
  QList<int> ActiveGroupIds() const override { return {kPreviewGroup}; }
  bool FilterWhere(QString &where) const override {
    where.clear();
    return true;
  }
};

size_t HeapInUse() { return mallinfo2().uordblks; }

// From the command to the first page painted: the print job, the preview
// laid out for the printer, page 1 painted at the preview's size.
void PreviewFirstPage(benchmark::State &state) {
  OneGroupWindow window;
  CSorvanGridView page(&window);
  page.resize(1000, 700);
  page.SetActivePage(true);
  page.Refresh();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  QImage image(760, 860, QImage::Format_RGB32);
  int pages = 0;
  for (auto _ : state) {
    std::unique_ptr<PrintJob> job = page.MakePrintJob(false);
    PrintPreviewDialog preview(*job, WindowPageFrame(window), printer);
    QPainter painter(&image);
    preview.PaintPreview(painter, image.size(), 0);
    pages = preview.PageCount();
  }
  if (pages < kPreviewCount / 60)
    state.SkipWithError("the page does not show the records");
  state.counters["pages"] = pages;
}

// The heap the preview holds after showing page 1, and after showing every
// page once.
void PreviewHeap(benchmark::State &state) {
  OneGroupWindow window;
  CSorvanGridView page(&window);
  page.SetActivePage(true);
  page.Refresh();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  QImage image(760, 860, QImage::Format_RGB32);
  for (auto _ : state) {
    const size_t before = HeapInUse();
    std::unique_ptr<PrintJob> job = page.MakePrintJob(false);
    PrintPreviewDialog preview(*job, WindowPageFrame(window), printer);
    {
      QPainter painter(&image);
      preview.PaintPreview(painter, image.size(), 0);
    }
    const size_t first = HeapInUse();
    for (int i = 1; i < preview.PageCount(); ++i) {
      QPainter painter(&image);
      preview.PaintPreview(painter, image.size(), i);
    }
    const size_t all = HeapInUse();
    state.counters["first_page_kb"] = double(first - before) / 1024;
    state.counters["all_pages_kb"] = double(all - before) / 1024;
  }
}

YearStatementRequest YearRequest() {
  return {2025, QStringLiteral("Total"), QStringLiteral("Category"),
          QStringLiteral("trelva_Group_ID=%1").arg(kYearGroup)};
}

void StatementFigures(benchmark::State &state) {
  YearStatement statement;
  for (auto _ : state) {
    QString error;
    if (!BuildYearStatement(*gFile->Session(), gFile->Columns(), YearRequest(),
                            statement, &error))
      state.SkipWithError(qPrintable(error));
  }
  if (statement.total.count != kYearCount)
    state.SkipWithError("not every record counted");
}

void GroupByPeer(benchmark::State &state) {
  const QString sql = YearStatementQuery(gFile->Columns(), YearRequest());
  CDBVisiter &session = *gFile->Session();
  for (auto _ : state) {
    const int rows = session.Query(sql);
    for (int i = 0; i < rows; ++i, session.MoveNext()) {
      benchmark::DoNotOptimize(session.GetString(1));
      benchmark::DoNotOptimize(session.GetDouble(3));
    }
  }
}

void StatementPdf(benchmark::State &state) {
  const QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("report.pdf"));
  YearReportTexts texts;
  texts.fileName = QStringLiteral("bench.fz");
  texts.scope = QStringLiteral("范围：所有记录");
  texts.made = QDate(2026, 1, 1);
  for (auto _ : state) {
    YearStatement statement;
    QString error;
    if (!BuildYearStatement(*gFile->Session(), gFile->Columns(), YearRequest(),
                            statement, &error) ||
        !WriteYearReport(statement, texts, path, &error))
      state.SkipWithError(qPrintable(error));
  }
}

BENCHMARK(PreviewFirstPage)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(PreviewHeap)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(StatementFigures)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(GroupByPeer)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(StatementPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  QTemporaryDir dir(StorageFolder() + QStringLiteral("/print-bench-XXXXXX"));
  QDir::setCurrent(dir.path());
  const QString path = dir.filePath(QStringLiteral("bench.fz"));
  if (!CopyHouseholdTemplate(path) || !FillFile(path)) {
    std::fprintf(stderr, "cannot build the file from %s\n",
                 qPrintable(HouseholdTemplate()));
    return 1;
  }
  AccountFile file;
  if (!file.OpenAccountFile(path)) {
    std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
    return 1;
  }
  gFile = &file;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("print preview of %d records to the first page: %.0f ms real "
              "(at most 3000)\n",
              kPreviewCount, reporter.Real("PreviewFirstPage"));
  std::printf("preview heap after page 1: %.0f KiB; after every page: %.0f KiB "
              "(about the same)\n",
              reporter.Counter("first_page_kb"), reporter.Counter("all_pages_kb"));
  std::printf("StatementFigures / GroupByPeer, %d records: %s (at most 2)\n",
              kYearCount, reporter.Ratio("StatementFigures", "GroupByPeer").c_str());
  std::printf("statement as PDF: %.0f ms, of which tables and charts %.0f ms\n",
              reporter.Real("StatementPdf"),
              reporter.Real("StatementPdf") - reporter.Real("StatementFigures"));
  gFile = nullptr;
  file.Close();
  return 0;
}
