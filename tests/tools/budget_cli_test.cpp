// sorvanel-cli budget: setting amounts for every month and for a month set
// apart, the month's report over a scope, and the refusals that change
// nothing.
#include "cli_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class BudgetCli : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("book.fz");
    ASSERT_EQ(RunCli({"new", path_}).status, 0);
    const char *records[] = {
        "(1, #2026-3-2#, '餐饮', 40.5, 2)",
        "(2, #2026-3-31#, '餐饮', 100, 3)",
        "(3, #2026-3-9#, '交通', 12, 2)",
        "(4, #2026-4-1#, '餐饮', 7, 2)",
    };
    for (const char *values : records)
      ASSERT_EQ(RunCli({"sql", path_,
                        QStringLiteral("Insert Into Users ([ID], [Data], "
                                       "[Category], [Total], "
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

TEST_F(BudgetCli, SetAndReport) {
  CliResult result = Run({"budget", "--month", "2026-03"});
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(result.err.contains("尚未设置预算")) << qPrintable(result.err);

  result = Run({"budget", "set", "--by", "类别", "--sum", "Total", "餐饮=500",
                "交通=10"});
  ASSERT_EQ(result.status, 0) << qPrintable(result.err);
  ASSERT_EQ(Run({"budget", "set", "--by", "Category", "--sum", "Total",
                 "餐饮=120", "--month", "2026-03"})
                .status,
            0);
  EXPECT_EQ(Run({"budget", "--month", "2026-03"}).out,
            "餐饮\t120.00\t140.50\t-20.50\n"
            "交通\t10.00\t12.00\t-2.00\n"
            "合计\t130.00\t152.50\t-22.50\n");
  EXPECT_EQ(Run({"budget", "--month", "2026-03", "--where", "trelva_Group_ID=2"}).out,
            "餐饮\t120.00\t40.50\t79.50\n"
            "交通\t10.00\t12.00\t-2.00\n"
            "合计\t130.00\t52.50\t77.50\n");
  // Every month keeps 500 for 餐饮; a month without records spends nothing.
  EXPECT_EQ(Run({"budget", "--month", "2026-04"}).out,
            "餐饮\t500.00\t7.00\t493.00\n"
            "交通\t10.00\t0.00\t10.00\n"
            "合计\t510.00\t7.00\t503.00\n");
  ASSERT_EQ(Run({"budget", "set", "--by", "Category", "--sum", "Total",
                 "合计=600"}).status, 0);
  EXPECT_EQ(Run({"budget", "--month", "2025-01"}).out,
            "餐饮\t500.00\t0.00\t500.00\n"
            "交通\t10.00\t0.00\t10.00\n"
            "合计\t600.00\t0.00\t600.00\n");
}

TEST_F(BudgetCli, BadInputChangesNothing) {
  ASSERT_EQ(Run({"budget", "set", "--by", "Category", "--sum", "Total",
                 "餐饮=500"}).status, 0);
  const QString before = Run({"budget", "--month", "2026-03"}).out;
  const QList<QPair<QStringList, QString>> cases = {
      {{"餐饮=-1"}, "预算金额不能为负数：餐饮=-1"},
      {{"餐饮=abc"}, "预算金额不是数字：餐饮=abc"},
      {{"吃饭=5"}, "“吃饭”不是字段[Category]的选项"},
      {{"餐饮=5", "--month", "2026-13"}, "月份格式不正确：2026-13"},
      {{"餐饮=5", "交通=-2"}, "预算金额不能为负数：交通=-2"},
      {{"=5"}, "预算的选项名称不能为空：=5"},
  };
  for (const auto &[extra, message] : cases) {
    const CliResult result =
        Run(QStringList{"budget", "set", "--by", "Category", "--sum", "Total"} + extra);
    EXPECT_EQ(result.status, 1) << qPrintable(extra.join(' '));
    EXPECT_TRUE(result.err.contains(message)) << qPrintable(result.err);
  }
  CliResult result = Run({"budget", "set", "--by", "Category", "--sum", "Item", "餐饮=5"});
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(result.err.contains("字段[Item]不是数字字段")) << qPrintable(result.err);
  result = Run({"budget", "set", "--by", "Payment2", "--sum", "Total", "餐饮=5"});
  EXPECT_TRUE(result.err.contains("没有字段[Payment2]")) << qPrintable(result.err);
  result = Run({"budget", "set", "--by", "Item", "--sum", "Total", "餐饮=5"});
  EXPECT_TRUE(result.err.contains("字段[Item]不是可选型字段")) << qPrintable(result.err);
  result = Run({"budget", "--month", "3/2026"});
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(result.err.contains("月份格式不正确")) << qPrintable(result.err);
  EXPECT_EQ(Run({"budget", "--month", "2026-03", "--where", "Nope=1"}).status, 1);
  EXPECT_EQ(Run({"budget", "--month", "2026-03"}).out, before);

  // Sums beyond the range of numbers are said, never printed as inf.
  for (const char *id : {"5", "6"})
    ASSERT_EQ(Run({"sql", QStringLiteral("Insert Into Users ([ID], [Data], "
                                         "[Category], [Total], "
                                         "[trelva_Group_ID]) Values (%1, "
                                         "#2026-3-5#, '餐饮', 1e308, 2)")
                              .arg(id)})
                  .status,
              0);
  result = Run({"budget", "--month", "2026-03"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_TRUE(result.err.contains("金额合计超出数值范围")) << qPrintable(result.err);
}

} // namespace
