// The charts on printed pages: a bar chart too wide for one page goes on
// over several, every bar on exactly one of them; a pie page carries its
// caption, scope and legend.
#include "print_to_pdf.h"
#include "support/pdf_text.h"

#include "print/chart_print_job.h"
#include "print/page_frame.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ChartPrintJobTest, ABarChartGoesOnOverAsManyPagesAsItsBarsNeed) {
  BarChartPainter chart;
  chart.SetTitle(QStringLiteral("按月汇总"));
  const int bars = 40;
  for (int i = 0; i < bars; ++i)
    chart.AddBar(ChartBar{QStringLiteral("B%1").arg(i, 2, 10, QLatin1Char('0')),
                          Qt::green, Qt::cyan, double(i)});
  BarChartPrintJob job(chart, QStringLiteral("范围：所有分组"));
  const QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("bars.pdf"));
  ASSERT_TRUE(PrintToPdf(job, PageFrame(), path));
  const int perPage = job.BarsPerPage();
  ASSERT_GE(perPage, 8);
  const int pages = (bars + perPage - 1) / perPage;
  ASSERT_GT(pages, 1);
  ASSERT_EQ(PdfPageCount(path), pages);
  for (int page = 1; page <= pages; ++page) {
    const QString text = PdfPageText(path, page);
    EXPECT_TRUE(PdfHas(text, QStringLiteral("按月汇总")));
    EXPECT_TRUE(PdfHas(text, QStringLiteral("范围：所有分组")));
    for (int i = 0; i < bars; ++i)
      EXPECT_EQ(PdfHas(text, chart.Bar(i).label), (i / perPage) + 1 == page)
          << "bar " << i << " on page " << page;
  }
}

TEST(ChartPrintJobTest, APiePageHasItsCaptionScopeAndLegend) {
  PieChartPainter chart(QStringLiteral("比例查看"));
  chart.AddSlice(ChartSlice{QStringLiteral("餐饮[30.00]"), {}, Qt::red, 30});
  chart.AddSlice(ChartSlice{QStringLiteral("O'Brien[10.00]"), {}, Qt::blue, 10});
  PieChartPrintJob job(chart, QStringLiteral("范围：分组 旅行"));
  const QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("pie.pdf"));
  ASSERT_TRUE(PrintToPdf(job, PageFrame(), path));
  ASSERT_EQ(PdfPageCount(path), 1);
  const QString text = PdfPageText(path, 1);
  for (const char *line : {"比例查看", "范围：分组 旅行", "餐饮[30.00]", "75.00%",
                           "O'Brien[10.00]", "25.00%"})
    EXPECT_TRUE(PdfHas(text, QString::fromUtf8(line))) << line;
}

} // namespace
