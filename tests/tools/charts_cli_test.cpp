// sorvanel-cli monthly and shares: the series of both charts on a household
// file, their restrictions and scopes, and the refusals of wrong arguments.
#include "cli_support.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ChartsCli : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("book.fz");
    ASSERT_EQ(RunCli({"new", path_}).status, 0);
    const char *records[] = {
        "(1, #2009-11-15#, '餐饮', '现金', 10.5, 2)",
        "(2, #2009-11-20#, '交通', '信用卡', 4, 2)",
        "(3, #2010-1-3#, '餐饮', '信用卡', 7.25, 3)",
        "(4, #2010-1-9#, '购物', '现金', -2, 3)",
    };
    for (const char *values : records)
      ASSERT_EQ(RunCli({"sql", path_,
                        QStringLiteral("Insert Into Users ([ID], [Data], "
                                       "[Category], [Payment], [Total], "
                                       "[trelva_Group_ID]) Values %1")
                            .arg(values)})
                    .status,
                0);
  }

  CliResult Run(QStringList args) {
    args.insert(1, path_);
    return RunCli(args);
  }

  QTemporaryDir dir_;
  QString path_;
};

TEST_F(ChartsCli, MonthlyBars) {
  CliResult result = Run({"monthly", "--sum", "Total"});
  ASSERT_EQ(result.status, 0) << qPrintable(result.err);
  EXPECT_EQ(result.out, "2009/11\t14.5\n2009/12\t0\n2010/1\t5.25\n");

  EXPECT_EQ(Run({"monthly", "--sum", "total", "--where", "trelva_Group_ID=3"}).out,
            "2010/1\t5.25\n");
  EXPECT_EQ(Run({"monthly", "--sum", "Total", "--only", "Payment=现金",
                 "--only", "Category=餐饮,购物"})
                .out,
            "2009/11\t10.5\n2009/12\t0\n2010/1\t-2\n");
  // A column with nothing ticked leaves no bars; an empty series is no error.
  result = Run({"monthly", "--sum", "Total", "--only", "Payment="});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "");
  result = Run({"monthly", "--sum", "Total", "--where", "ID > 100"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "");
}

TEST_F(ChartsCli, Shares) {
  CliResult result = Run({"shares", "--sum", "Total", "--by", "Payment=信用卡,现金",
                          "--by", "Category=餐饮,交通,购物"});
  ASSERT_EQ(result.status, 0) << qPrintable(result.err);
  // Category comes first (the file's column order), options in the
  // column's order; empty combinations are left out, negative kept.
  EXPECT_EQ(result.out, "餐饮|现金\t10.50\n餐饮|信用卡\t7.25\n"
                        "交通|信用卡\t4.00\n购物|现金\t-2.00\n");
  EXPECT_EQ(Run({"shares", "--sum", "Total", "--by", "Category=餐饮", "--where",
                 "trelva_Group_ID=2"})
                .out,
            "餐饮\t10.50\n");
  result = Run({"shares", "--sum", "Total", "--by", "Category="});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "");
}

// One record whose date does not read is left out and counted; the others
// still chart.
TEST_F(ChartsCli, UnreadableDatesAreCountedNotCharted) {
  ASSERT_EQ(Run({"sql", "Update Users Set Data='garbage' Where ID=2"}).status, 0);
  const CliResult result = Run({"monthly", "--sum", "Total"});
  EXPECT_EQ(result.status, 0) << qPrintable(result.err);
  EXPECT_EQ(result.out, "2009/11\t10.5\n2009/12\t0\n2010/1\t5.25\n");
  EXPECT_EQ(result.err, "1 条记录的日期无法识别\n");
}

// A scope the engine refuses is an error with its message, not an empty
// chart.
TEST_F(ChartsCli, AWhereThatDoesNotRunIsAnError) {
  for (const QStringList &args :
       {QStringList{"monthly", "--sum", "Total", "--where", "Itme='x'"},
        QStringList{"shares", "--sum", "Total", "--by", "Category=餐饮",
                    "--where", "Itme='x'"}}) {
    const CliResult result = Run(args);
    EXPECT_EQ(result.status, 1) << qPrintable(args.first());
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.contains("筛选条件无法执行（no such column: Itme）"))
        << qPrintable(result.err);
  }
}

TEST_F(ChartsCli, WrongArgumentsAreRefused) {
  const QList<QStringList> wrong{
      {"monthly", "--sum", "Nothing"},
      {"monthly", "--sum", "Item"},           // a text column
      {"monthly", "--sum", "Total", "--only", "Item=a"},
      {"monthly", "--sum", "Total", "--only", "Category=旅游"},
      {"monthly", "--sum", "Total", "--only", "Category"},
      {"monthly", "--where", "ID=1"},
      {"monthly", "--sum"},
      {"shares", "--sum", "Total"},
      {"shares", "--sum", "Memo", "--by", "Category=餐饮"},
      {"shares", "--sum", "Total", "--by", "Total=1"},
      {"shares", "--sum", "Total", "--by", "Payment=支票"},
      {"shares", "--sum", "Total", "--by", "Payment=现金", "--bogus", "x"},
      {"monthly", "--sum", "Total", "--side", "支出"}, // no side column
  };
  for (const QStringList &args : wrong) {
    const CliResult result = Run(args);
    EXPECT_EQ(result.status, 1) << qPrintable(args.join(' '));
    EXPECT_FALSE(result.err.isEmpty()) << qPrintable(args.join(' '));
    EXPECT_EQ(result.out, "") << qPrintable(args.join(' '));
  }
  EXPECT_EQ(RunCli({"monthly", dir_.filePath("none.fz"), "--sum", "Total"}).status, 1);
}

TEST(ChartsCliOldFile, AnOlderFileIsUpgradedOnTheWay) {
  QTemporaryDir dir;
  const QString old = dir.filePath("old.fz");
  ASSERT_EQ(RunCli({"new", old, "--template", "旧版简易账本"}).status, 0);
  const CliResult result = RunCli({"monthly", old, "--sum", "Amount"});
  EXPECT_EQ(result.status, 0) << qPrintable(result.err);
  EXPECT_EQ(result.out, "2010/8\t238.4\n");
  EXPECT_EQ(RunCli({"shares", old, "--sum", "Amount", "--by", "Category=交通,餐饮"}).out,
            "餐饮\t32.50\n交通\t6.00\n");
}

// In a ledger with a side column the charts and the statement never add
// income to spending; a side is refused where it means nothing.
TEST(ChartsCliSides, SpendingIncomeAndBalanceApart) {
  QTemporaryDir dir;
  const QString path = dir.filePath("sides.fz");
  ASSERT_EQ(RunCli({"new", path, "--template", "收支账本"}).status, 0);
  for (const char *values : {"(1, #2026-12-7#, '支出', '购物', 617.9, 2)",
                             "(2, #2026-12-8#, '收入', '红包', 138.88, 2)"})
    ASSERT_EQ(RunCli({"sql", path,
                      QStringLiteral("Insert Into Users ([ID], [Data], "
                                     "[Direction], [Category], [Amount], "
                                     "[trelva_Group_ID]) Values %1")
                          .arg(QString::fromUtf8(values))})
                  .status,
              0);
  const auto out = [&](QStringList args) {
    args.insert(1, path);
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.status, 0) << qPrintable(result.err);
    return result.out;
  };
  EXPECT_EQ(out({"monthly", "--sum", "Amount"}), "2026/12\t617.9\n");
  EXPECT_EQ(out({"monthly", "--sum", "Amount", "--side", "结余"}),
            "2026/12\t-479.02\n");
  EXPECT_EQ(out({"shares", "--sum", "Amount", "--by", "Category=购物,红包",
                 "--side", "收入"}),
            "红包\t138.88\n");
  for (const QStringList &wrong :
       {QStringList{"shares", path, "--sum", "Amount", "--by", "Category=购物",
                    "--side", "结余"},
        QStringList{"monthly", path, "--sum", "Amount", "--side", "利润"}})
    EXPECT_EQ(RunCli(wrong).status, 1) << qPrintable(wrong.join(' '));

  const QString html = dir.filePath("2026.html");
  ASSERT_EQ(RunCli({"report", path, "--year", "2026", "--sum", "Amount", "--by",
                    "Category", html})
                .status,
            0);
  QFile file(html);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString page = QString::fromUtf8(file.readAll());
  for (const char *cell : {"<th>支出</th><th>收入</th><th>结余</th>",
                           "<td class=\"n\">617.90</td><td class=\"n\">138.88</td>"
                           "<td class=\"n\">-479.02</td>",
                           "<td>支出合计</td>", "<td>结余</td>"})
    EXPECT_TRUE(page.contains(QString::fromUtf8(cell))) << cell;
  EXPECT_FALSE(page.contains(QStringLiteral("756.78")));
}

} // namespace
