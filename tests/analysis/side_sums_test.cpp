// A ledger with a side column (收支账本's 收支): the bars, the pie, the
// yearly statement and the budget take spending and income apart, never
// their sum; spending is what they show unless asked otherwise.
#include "analysis/bar_series.h"
#include "analysis/budget_month.h"
#include "analysis/budget_watch.h"
#include "analysis/pie_series.h"
#include "analysis/year_statement.h"
#include "base/scripted_prompt.h"
#include "db/db_visiter.h"
#include "db/db_visiter_factory.h"
#include "document/account_file.h"
#include "support/scoped_current_dir.h"
#include "support/template_copy.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SideSumsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(file_.OpenAccountFile(
        CopyTemplate(dir_, QStringLiteral("收支账本"), QStringLiteral("sides"))));
    // December: 617.90 spent, 138.88 received (a 红包 and a 价保 refund).
    const char *records[] = {"1, '支出', '餐饮', 600", "2, '支出', '购物', 17.9",
                             "3, '收入', '红包', 100", "4, '收入', '购物', 38.88"};
    for (const char *values : records)
      ASSERT_TRUE(Session().Execute(
          QStringLiteral("Insert Into Users ([ID], [Direction], [Category], "
                         "[Amount], [Data], [trelva_Group_ID]) Values (%1, "
                         "#2026-12-7#, 2)")
              .arg(QString::fromUtf8(values))));
  }
  void TearDown() override {
    EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
    CDBVisiterFactory::Instance().DestroyAll();
  }
  CDBVisiter &Session() { return *file_.Session(); }
  double December(ChartSide side) {
    const BarSeries bars = BuildBarSeries(Session(), file_.Columns(), "Amount",
                                          "", FilterWhere(), side);
    EXPECT_EQ(bars.labels, QStringList{"2026/12"});
    return bars.values.value(0);
  }

  QTemporaryDir dir_;
  ScopedCurrentDir inDir_{dir_.path()};
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
  AccountFile file_;
};

TEST_F(SideSumsTest, ChartsShowOneSideAtATime) {
  EXPECT_DOUBLE_EQ(BuildBarSeries(Session(), file_.Columns(), "Amount", "", {})
                       .values.value(0),
                   617.9);
  EXPECT_DOUBLE_EQ(December(ChartSide::Income), 138.88);
  EXPECT_DOUBLE_EQ(December(ChartSide::Balance), 138.88 - 617.9);

  const QList<ExpandedColumn> byCategory{
      {QStringLiteral("Category"), {"餐饮", "购物", "红包"}}};
  const PieSeries spent = BuildPieSeries(Session(), file_.Columns(), "Amount",
                                         "", byCategory);
  EXPECT_EQ(spent.labels, (QStringList{"餐饮", "购物"}));
  EXPECT_EQ(spent.sums, (QList<double>{600, 17.9}));
  const PieSeries received = BuildPieSeries(
      Session(), file_.Columns(), "Amount", "", byCategory, ChartSide::Income);
  EXPECT_EQ(received.labels, (QStringList{"购物", "红包"}));
}

TEST_F(SideSumsTest, TheStatementSumsEachSideAndTheBalance) {
  YearStatement statement;
  QString error;
  ASSERT_TRUE(BuildYearStatement(Session(), file_.Columns(),
                                 {2026, "Amount", "Category", ""}, statement,
                                 &error))
      << qPrintable(error);
  EXPECT_EQ(statement.total.count, 4);
  EXPECT_DOUBLE_EQ(statement.sideTotal.spending.sum, 617.9);
  EXPECT_DOUBLE_EQ(statement.sideMonths[11].income.sum, 138.88);
  EXPECT_DOUBLE_EQ(statement.sideTotal.Balance(), 138.88 - 617.9);
  QStringList labels;
  QList<double> sums;
  for (const OptionTableRow &row : OptionTableRows(statement)) {
    labels.append(row.label);
    sums.append(row.year.sum);
  }
  EXPECT_EQ(labels, (QStringList{"餐饮（支出）", "购物（支出）", "支出合计",
                                 "购物（收入）", "红包（收入）", "收入合计", "结余"}));
  EXPECT_DOUBLE_EQ(sums[2], 617.9);
  EXPECT_DOUBLE_EQ(sums[6], 138.88 - 617.9);

  // Split by the side column itself: one row per side, then the balance.
  ASSERT_TRUE(BuildYearStatement(Session(), file_.Columns(),
                                 {2026, "Amount", "Direction", ""}, statement,
                                 &error));
  labels.clear();
  for (const OptionTableRow &row : OptionTableRows(statement))
    labels.append(row.label);
  EXPECT_EQ(labels, (QStringList{"支出", "收入", "结余"}));
}

TEST_F(SideSumsTest, ABudgetCountsSpendingOnly) {
  Budget budget{QStringLiteral("Category"), QStringLiteral("Amount"), {}};
  budget.Set(QStringLiteral("购物"), QString(), 10);
  budget.Set(QStringLiteral("红包"), QString(), 10);
  const BudgetMonth month = BuildBudgetMonth(Session(), file_.Columns(), budget,
                                             YearMonth{2026, 12}, QString());
  ASSERT_EQ(month.lines.size(), 2);
  EXPECT_DOUBLE_EQ(month.lines[0].spent, 17.9); // the refund is no spending
  EXPECT_DOUBLE_EQ(month.lines[1].spent, 0);    // nor is a 红包 received
  EXPECT_DOUBLE_EQ(month.total.spent, 17.9);
  // The over-budget note's sums too.
  SpentByMonth spent;
  ASSERT_TRUE(ReadSpentByMonth(Session(), file_.Columns(), budget,
                               YearMonth{2026, 12}, YearMonth{2026, 12}, spent));
  EXPECT_DOUBLE_EQ(spent.value("2026-12").value(QStringLiteral("购物")), 17.9);
}

} // namespace
