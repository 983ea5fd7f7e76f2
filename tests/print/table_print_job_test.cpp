// A table on printed pages, read back from the PDF: as many pages as the
// rows need, the caption row on every page, every row on exactly one page
// and whole, the first and the last rows where they belong; a wide table in
// slices side by side, each led by the key column; a table that fits
// landscape printed in landscape.
#include "print_to_pdf.h"
#include "support/pdf_text.h"

#include "print/page_frame.h"
#include "print/table_print_job.h"
#include "print/table_source.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Rows "R0001" …; every tenth row a group row "组 G…".
class NumberedTable : public TableSource {
public:
  NumberedTable(int rows, int columns, int width)
      : rows_(rows), columns_(columns), width_(width) {}
  int ColumnCount() const override { return columns_; }
  QString Caption(int c) const override { return QStringLiteral("列%1").arg(c); }
  int Width(int) const override { return width_; }
  int RowCount() const override { return rows_; }
  bool IsGroupRow(int row) const override { return row % 10 == 0; }
  QString Text(int c, int row) const override {
    if (IsGroupRow(row))
      return QStringLiteral("组G%1").arg(row / 10, 3, 10, QLatin1Char('0'));
    return QStringLiteral("R%1C%2").arg(row, 4, 10, QLatin1Char('0')).arg(c);
  }
  Qt::Alignment Alignment(int, int) const override { return Qt::AlignLeft; }

private:
  int rows_;
  int columns_;
  int width_;
};

PageFrame TestFrame() {
  PageFrame frame;
  frame.fileName = QStringLiteral("家庭账本.fz");
  frame.message = QStringLiteral("本月支出 O'Brien");
  frame.printDate = QDate(2026, 3, 9);
  return frame;
}

TEST(TablePrintJobTest, RowsFillWholePagesWithTheCaptionRowOnEach) {
  const QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("table.pdf"));
  const int rows = 250;
  NumberedTable table(rows, 4, 120);
  TablePrintJob job(table);
  ASSERT_TRUE(PrintToPdf(job, TestFrame(), path));
  const int perPage = job.RowsPerPage();
  ASSERT_GT(perPage, 10);
  const int pages = (rows + perPage - 1) / perPage;
  ASSERT_EQ(PdfPageCount(path), pages);
  ASSERT_EQ(job.SliceCount(), 1);

  std::vector<int> seen(rows, 0);
  for (int page = 1; page <= pages; ++page) {
    const QString text = PdfPageText(path, page);
    EXPECT_TRUE(PdfHas(text, QStringLiteral("列0")) && PdfHas(text, QStringLiteral("列3")))
        << "caption row missing on page " << page;
    EXPECT_TRUE(PdfHas(text, QStringLiteral(" %1 / %2").arg(page).arg(pages)));
    EXPECT_TRUE(PdfHas(text, QStringLiteral("家庭账本.fz")));
    EXPECT_TRUE(PdfHas(text, QStringLiteral("打印日期：2026/3/9")));
    for (int row = 0; row < rows; ++row) {
      // A row is whole: its first and its last cell on the same page.
      const bool first = PdfHas(text, table.Text(0, row));
      const bool last = PdfHas(text, table.Text(3, row));
      EXPECT_EQ(first, last) << "row " << row << " cut on page " << page;
      seen[size_t(row)] += first;
    }
    const int top = (page - 1) * perPage;
    EXPECT_TRUE(PdfHas(text, table.Text(0, top))) << "page " << page;
  }
  for (int row = 0; row < rows; ++row)
    EXPECT_EQ(seen[size_t(row)], 1) << "row " << row;
  EXPECT_TRUE(PdfHas(PdfPageText(path, pages), table.Text(3, rows - 1)));
}

TEST(TablePrintJobTest, AWideTableIsSplitIntoSlicesSideBySide) {
  const QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("wide.pdf"));
  NumberedTable table(15, 12, 150); // 1800 units against about 1000
  TablePrintJob job(table);
  ASSERT_TRUE(PrintToPdf(job, TestFrame(), path));
  const int slices = job.SliceCount();
  ASSERT_GE(slices, 3);
  ASSERT_EQ(PdfPageCount(path), slices); // 15 rows fit one band
  EXPECT_TRUE(PdfIsLandscape(path));
  QSet<int> columns;
  for (int page = 1; page <= slices; ++page) {
    const QString text = PdfPageText(path, page);
    // Every page can be matched to the others by the key column.
    EXPECT_EQ(job.SliceColumns(page - 1).first(), 0) << "page " << page;
    for (int c : job.SliceColumns(page - 1)) {
      columns.insert(c);
      EXPECT_TRUE(PdfHas(text, QStringLiteral("列%1").arg(c)));
      EXPECT_TRUE(PdfHas(text, table.Text(c, 14))) << "page " << page;
    }
  }
  EXPECT_EQ(columns.size(), 12);
}

TEST(TablePrintJobTest, ATableThatFitsLandscapeIsPrintedTurned) {
  const QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("ten.pdf"));
  NumberedTable table(5, 10, 110); // 1100 units: too wide for portrait A4
  TablePrintJob job(table);
  ASSERT_TRUE(PrintToPdf(job, TestFrame(), path));
  EXPECT_EQ(job.SliceCount(), 1);
  EXPECT_EQ(PdfPageCount(path), 1);
  EXPECT_TRUE(PdfIsLandscape(path));
  EXPECT_TRUE(PdfHas(PdfPageText(path, 1), table.Text(9, 4)));
}

TEST(TablePrintJobTest, AnEmptyTableSaysSo) {
  const QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("empty.pdf"));
  NumberedTable table(0, 3, 100);
  TablePrintJob job(table);
  ASSERT_TRUE(PrintToPdf(job, TestFrame(), path));
  EXPECT_EQ(PdfPageCount(path), 1);
  EXPECT_TRUE(PdfHas(PdfPageText(path, 1), QStringLiteral("没有记录")));
}

} // namespace
