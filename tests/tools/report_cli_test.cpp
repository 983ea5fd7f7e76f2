// sorvanel-cli report: the yearly statement as PDF and HTML read back (the
// year's figures on the first page, the pie's legend on the last), a year
// without records that says so, and targets that cannot be written, which
// leave no file behind.
#include "cli_support.h"
#include "support/pdf_text.h"
#include "support/scoped_tmpfs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ReportCli : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("book.fz");
    ASSERT_EQ(RunCli({"new", path_}).status, 0);
    const char *records[] = {
        "(1, #2025-1-15#, '餐饮', 10.5, 2)",
        "(2, #2025-1-20#, '交通', 4, 2)",
        "(3, #2025-12-3#, '餐饮', 7.25, 3)",
        "(4, #2024-1-9#, '购物', 99, 3)",
    };
    for (const char *values : records)
      ASSERT_EQ(RunCli({"sql", path_,
                        QStringLiteral("Insert Into Users ([ID], [Data], [Category], "
                                       "[Total], [trelva_Group_ID]) Values %1")
                            .arg(values)})
                    .status,
                0);
  }

  CliResult Report(const QString &out, QStringList more = {}) {
    QStringList args{"report", path_, "--year", "2025", "--sum", "Total"};
    args << more << out;
    return RunCli(args);
  }

  QTemporaryDir dir_;
  QString path_;
};

TEST_F(ReportCli, PdfAndHtmlOfTheYear) {
  const QString pdf = dir_.filePath("2025.pdf");
  const CliResult made = Report(pdf);
  ASSERT_EQ(made.status, 0) << qPrintable(made.err);
  const int pages = PdfPageCount(pdf);
  ASSERT_EQ(pages, 4); // months; options; bar chart; pie chart
  const QString first = PdfPageText(pdf, 1);
  for (const char *text : {"2025 年度报表", "book.fz", "范围：所有记录", "金额合计",
                           "1月", "14.50", "12月", "7.25", "全年", "21.75"})
    EXPECT_TRUE(PdfHas(first, QString::fromUtf8(text))) << text;
  EXPECT_FALSE(PdfHas(first, QStringLiteral("99.00"))); // another year
  const QString options = PdfPageText(pdf, 2);
  EXPECT_TRUE(PdfHas(options, QStringLiteral("按类别分列的合计")));
  EXPECT_TRUE(PdfHas(options, QStringLiteral("17.75")));
  const QString pie = PdfPageText(pdf, pages);
  for (const char *text : {"2025 年按类别", "餐饮[17.75]", "81.61%", "交通[4.00]", "18.39%"})
    EXPECT_TRUE(PdfHas(pie, QString::fromUtf8(text))) << text;

  const QString html = dir_.filePath("2025.html");
  ASSERT_EQ(Report(html, {"--where", "trelva_Group_ID=2"}).status, 0);
  QFile file(html);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString page = QString::fromUtf8(file.readAll());
  EXPECT_TRUE(page.contains(QStringLiteral("<h1>2025 年度报表</h1>")));
  EXPECT_TRUE(page.contains(QStringLiteral("<td class=\"n\">14.50</td>")));
  EXPECT_FALSE(page.contains(QStringLiteral(">7.25<")));
  EXPECT_EQ(page.count(QStringLiteral("<svg")), 2);
}

TEST_F(ReportCli, AYearWithoutRecordsSaysSo) {
  const QString pdf = dir_.filePath("2023.pdf");
  const CliResult made = RunCli({"report", path_, "--year", "2023", pdf});
  ASSERT_EQ(made.status, 0);
  EXPECT_TRUE(made.err.contains(QStringLiteral("2023 年在此范围内没有记录。")));
  ASSERT_EQ(PdfPageCount(pdf), 1);
  EXPECT_TRUE(PdfHas(PdfPageText(pdf, 1), QStringLiteral("2023 年在此范围内没有记录。")));
}

TEST_F(ReportCli, TargetsThatCannotBeWrittenLeaveNoFile) {
  const QString missing = dir_.filePath("no/such/folder/r.pdf");
  CliResult result = Report(missing);
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(result.err.contains(QStringLiteral("无法写入文件：") + missing));

  // A folder that takes no file: nothing in it afterwards, no scratch file.
  const QString locked = dir_.filePath("locked");
  ASSERT_TRUE(QDir().mkpath(locked));
  QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  if (QFile(locked + "/probe").open(QIODevice::WriteOnly)) {
    QFile::remove(locked + "/probe");
  } else {
    result = Report(locked + "/r.pdf");
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(QDir(locked).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                       QDir::Hidden).isEmpty());
  }
  QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ExeOwner);

  result = Report(dir_.filePath("r.txt"));
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(result.err.contains(QStringLiteral("报表只能导出为 PDF 或 HTML 文件")));
  result = RunCli({"report", path_, "--year", "2025", "--sum", "Item",
                   dir_.filePath("r.pdf")});
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(result.err.contains(QStringLiteral("汇总列“Item”不是数值列！")));
  EXPECT_FALSE(QFile::exists(dir_.filePath("r.pdf")));
  EXPECT_EQ(RunCli({"report", path_, "--year", "x", dir_.filePath("r.pdf")}).status, 1);
}

// A PDF that does not fit the disk is refused, and the file it was to
// replace keeps what it held.
TEST_F(ReportCli, APdfOnAFullDiskIsRefusedAndReplacesNothing) {
  const QString folder = dir_.filePath("small");
  ASSERT_TRUE(QDir().mkdir(folder));
  ScopedTmpfs disk(folder, "1m");
  if (!disk.Mounted())
    GTEST_SKIP() << "needs root to mount a small file system";
  const QString target = folder + "/r.pdf";
  {
    QFile good(target);
    ASSERT_TRUE(good.open(QIODevice::WriteOnly));
    good.write("GOOD");
  }
  // Fill the disk but for a few kilobytes.
  QFile filler(folder + "/filler");
  ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
  const QByteArray block(4096, 'x');
  while (filler.write(block) == block.size() && filler.flush()) {
  }
  filler.close();
  QFile::resize(folder + "/filler", filler.size() - 2048);
  const CliResult result = Report(target);
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(result.err.contains(QStringLiteral("无法写入文件："))) << qPrintable(result.err);
  QFile kept(target);
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), "GOOD");
}

} // namespace
