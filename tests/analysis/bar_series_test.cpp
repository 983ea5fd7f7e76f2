// The bar series on real files: months in between, leap years, the date
// column rule, every scope, set-up conditions, the sum column, unreadable
// bounds and the fallback to the month walk.
#include "chart_test_file.h"

#include "analysis/chart_set_up.h"
#include "analysis/chart_texts.h"
#include "analysis/month_span.h"

namespace {

using BarSeriesTest = ChartFileTest;

TEST(MonthSpan, LengthsLabelsAndBounds) {
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2004, 2), 29);
  EXPECT_EQ(DaysInMonth(2010, 2), 28);
  EXPECT_EQ(DaysInMonth(2010, 3), 31);
  EXPECT_EQ(DaysInMonth(2010, 4), 30);
  EXPECT_EQ(DaysInMonth(2010, 0), 0);
  EXPECT_EQ(MonthLabel({2010, 3}), "2010/3");
  EXPECT_EQ(YearMonth::FromIndex(YearMonth{2009, 12}.Index() + 1),
            (YearMonth{2010, 1}));

  YearMonth first, last;
  ASSERT_TRUE(MonthSpan("2009/11/15", "2010/1/3 8:00:00", first, last));
  EXPECT_EQ(first, (YearMonth{2009, 11}));
  EXPECT_EQ(last, (YearMonth{2010, 1}));
  // Early years keep their year.
  ASSERT_TRUE(MonthSpan("0100/3/1", "2010/1/3", first, last));
  EXPECT_EQ(first, (YearMonth{100, 3}));
  EXPECT_FALSE(MonthSpan("", "2010/1/3", first, last));
  EXPECT_FALSE(MonthSpan("2010/1/3", "abc", first, last));
}

TEST_F(BarSeriesTest, MonthsWithoutRecordsInBetweenAreZero) {
  Add("2009-11-15", 10);
  Add("2009-11-30", 2.5);
  Add("2010-1-3", 7);
  EXPECT_EQ(Lines(Bars()),
            (QStringList{"2009/11=12.5", "2009/12=0", "2010/1=7"}));
}

TEST_F(BarSeriesTest, NoRecordsOrNoDatesGiveNoBars) {
  EXPECT_TRUE(Bars().IsEmpty());
  Add("", 5); // a record without a date
  EXPECT_TRUE(Bars().IsEmpty());
}

TEST_F(BarSeriesTest, LastDaysOfFebruaryInLeapAndCommonYears) {
  for (const char *date : {"1900-2-28", "1900-3-1", "2000-2-29", "2000-3-1",
                           "2004-2-29", "2004-3-31", "2004-4-1"})
    Add(date, 1);
  const BarSeries bars = Bars();
  ASSERT_EQ(bars.Size(), (2004 - 1900) * 12 + 3);
  const QStringList lines = Lines(bars);
  EXPECT_TRUE(lines.contains("1900/2=1"));
  EXPECT_TRUE(lines.contains("1900/3=1"));
  EXPECT_TRUE(lines.contains("2000/2=1"));
  EXPECT_TRUE(lines.contains("2000/3=1"));
  EXPECT_TRUE(lines.contains("2004/2=1"));
  EXPECT_TRUE(lines.contains("2004/3=1"));
  EXPECT_EQ(lines.last(), "2004/4=1");
  EXPECT_TRUE(lines.contains("1950/6=0"));
}

TEST_F(BarSeriesTest, TheDateColumnRuleNotTheNameData) {
  // A date column named 日期 (type 日期) wins over the automatic date Data.
  Run("Alter Table Users Add Column [日期] date");
  Run("Insert Into TableStyle ([ID], [编号], [字段名], [标题], [启用], [数据类型], "
      "[只读], [宽度], [选项], [默认值]) Values (20, 20, '日期', '记账日', true, 6, "
      "false, 90, '', '')");
  ReloadColumns();
  Add("2010-5-5", 3); // Data only: not charted by 日期
  Run("Update Users Set [日期]=#2010-7-1# Where ID=1");
  Add("2011-1-1", 4);
  Run("Update Users Set [日期]=#2010-9-30# Where ID=2");
  EXPECT_EQ(Lines(Bars()), (QStringList{"2010/7=3", "2010/8=0", "2010/9=4"}));

  // Without any date column there are no bars.
  Run("Update TableStyle Set [启用]=false Where [字段名]='日期' Or [字段名]='Data'");
  ReloadColumns();
  EXPECT_TRUE(Bars().IsEmpty());
}

TEST_F(BarSeriesTest, EveryScopeCombination) {
  Add({"2010-1-5", 1, "餐饮", "现金", 2});
  Add({"2010-1-6", 10, "交通", "现金", 2});
  Add({"2010-2-5", 100, "餐饮", "银行卡", 3});
  Add({"2010-3-5", 1000, "交通", "现金", 4});

  ChartSetUp setUp;
  setUp.groupWhere = GroupIdsWhere({2, 3});
  setUp.filterWhere = "[Category] In ('餐饮')";
  EXPECT_EQ(setUp.groupWhere, "trelva_Group_ID=2 or trelva_Group_ID=3");
  const auto bars = [&](int groupScope, int filterScope) {
    setUp.groupScope = groupScope;
    setUp.filterScope = filterScope;
    QString scope;
    EXPECT_TRUE(ChartScopeCondition(setUp, scope));
    return Lines(Bars(scope));
  };
  EXPECT_EQ(bars(SCOPE_ONLY, SCOPE_ONLY), (QStringList{"2010/1=1", "2010/2=100"}));
  EXPECT_EQ(bars(SCOPE_ONLY, SCOPE_ALL), (QStringList{"2010/1=11", "2010/2=100"}));
  EXPECT_EQ(bars(SCOPE_ALL, SCOPE_ONLY), (QStringList{"2010/1=1", "2010/2=100"}));
  EXPECT_EQ(bars(SCOPE_ALL, SCOPE_ALL),
            (QStringList{"2010/1=11", "2010/2=100", "2010/3=1000"}));

  QString scope;
  setUp.groupScope = SCOPE_ONLY;
  setUp.filterScope = SCOPE_ONLY;
  ASSERT_TRUE(ChartScopeCondition(setUp, scope));
  EXPECT_EQ(scope, "(trelva_Group_ID=2 or trelva_Group_ID=3) And "
                   "([Category] In ('餐饮'))");
  // A filter that cannot be built shows nothing rather than everything, but
  // only where the filter counts.
  setUp.filterOk = false;
  EXPECT_FALSE(ChartScopeCondition(setUp, scope));
  setUp.filterScope = SCOPE_ALL;
  ASSERT_TRUE(ChartScopeCondition(setUp, scope));
  EXPECT_EQ(scope, setUp.groupWhere);
  // No active group: the group part is empty.
  setUp.groupWhere = GroupIdsWhere({});
  ASSERT_TRUE(ChartScopeCondition(setUp, scope));
  EXPECT_EQ(scope, "");
}

TEST_F(BarSeriesTest, SetUpConditionRestrictsOrEmpties) {
  Add({"2010-1-5", 1, "餐饮", "现金"});
  Add({"2010-2-5", 10, "交通", "现金"});
  Add({"2010-3-5", 100, "餐饮", "信用卡"});
  EXPECT_EQ(Lines(Bars("", {true, "[Payment] In ('现金')"})),
            (QStringList{"2010/1=1", "2010/2=10"}));
  EXPECT_EQ(Lines(Bars("[Category]='餐饮'", {true, "[Payment] In ('现金')"})),
            QStringList{"2010/1=1"});
  EXPECT_TRUE(Bars("", {false, ""}).IsEmpty());
}

TEST_F(BarSeriesTest, OnlyNumericColumnsAreSummed) {
  Add("2010-1-5", 2);
  Run("Update Users Set [Count]=3");
  EXPECT_EQ(Lines(Bars("", {}, "count")), QStringList{"2010/1=3"});
  EXPECT_EQ(Lines(Bars("", {}, "ID")), QStringList{"2010/1=1"});
  for (const char *field : {"", "Item", "Category", "Nothing", "Total]"})
    EXPECT_TRUE(Bars("", {}, field).IsEmpty()) << field;
}

TEST_F(BarSeriesTest, NamesThatNeedBrackets) {
  // A sum column named Order and a date column named Date chart like any.
  Run("Alter Table Users Add Column [Order] float");
  Run("Alter Table Users Add Column [Date] date");
  Run("Insert Into TableStyle ([ID], [编号], [字段名], [标题], [启用], [数据类型], "
      "[只读], [宽度], [选项], [默认值]) Values (20, 20, 'Order', '单', true, 2, "
      "false, 90, '', '')");
  Run("Insert Into TableStyle ([ID], [编号], [字段名], [标题], [启用], [数据类型], "
      "[只读], [宽度], [选项], [默认值]) Values (21, 21, 'Date', '日', true, 6, "
      "false, 90, '', '')");
  ReloadColumns();
  Run("Insert Into Users ([ID], [Date], [Order]) Values (1, #2010-6-1#, 4)");
  EXPECT_EQ(Lines(Bars("", {}, "Order")), QStringList{"2010/6=4"});
}

TEST_F(BarSeriesTest, UnreadableDatesAreLeftOutAndCounted) {
  Add("2010-1-5", 2);
  // A text that is not a date sorts after every date, a number before.
  Run("Update Users Set [Data]='abc'");
  BarSeries bars = Bars();
  EXPECT_TRUE(bars.IsEmpty());
  EXPECT_EQ(bars.unreadableDates, 1);
  Add("2010-1-5", 2);
  Add("2010-3-5", 3);
  Add("2010-2-5", 4);
  Add("", 5);
  Run("Update Users Set [Data]=17 Where ID=4");
  Run("Update Users Set [Data]='2010-13-01 00:00:00' Where ID=1");
  bars = Bars();
  EXPECT_EQ(Lines(bars), (QStringList{"2010/1=2", "2010/2=0", "2010/3=3"}));
  EXPECT_EQ(bars.unreadableDates, 2);
  EXPECT_EQ(BarChartTitle(bars), "按月汇总（2 条记录的日期无法识别）");
  EXPECT_EQ(Bars("ID=2").unreadableDates, 0);
  EXPECT_EQ(BarChartTitle(Bars("ID=2")), "按月汇总");
}

TEST_F(BarSeriesTest, EveryReadableDateIsChartedInItsOwnMonth) {
  for (const char *date : {"0100-3-1", "1969-7-20", "1985-5-22", "1999-3-1",
                           "2024-1-5", "9999-12-31"})
    Add(date, 1);
  // Only the grouped statement: the walk would run 118,798 queries.
  const BarSeries bars =
      BuildBarSeries(Session(), file_.Columns(), "Total", "", {});
  ASSERT_EQ(bars.Size(), (9999 - 100) * 12 + 10);
  EXPECT_EQ(bars.labels.first(), "100/3");
  double charted = 0;
  for (const char *label : {"100/3", "1969/7", "1985/5", "1999/3", "2024/1",
                            "9999/12"}) {
    const qsizetype at = bars.labels.indexOf(QString::fromLatin1(label));
    ASSERT_GE(at, 0) << label;
    charted += bars.values[at];
  }
  EXPECT_EQ(charted, 6);
  EXPECT_EQ(bars.unreadableDates, 0);
}

TEST_F(BarSeriesTest, AMistypedYearGivesEveryMonthUpToIt) {
  Add("2010-1-5", 2);
  Add("9999-12-1", 3);
  // Only the grouped statement: the walk would run 95,880 queries.
  const BarSeries bars =
      BuildBarSeries(Session(), file_.Columns(), "Total", "", {});
  ASSERT_EQ(bars.Size(), (9999 - 2010) * 12 + 12);
  EXPECT_EQ(bars.labels.first(), "2010/1");
  EXPECT_EQ(bars.values.first(), 2);
  EXPECT_EQ(bars.labels.last(), "9999/12");
  EXPECT_EQ(bars.values.last(), 3);
}

TEST_F(BarSeriesTest, AFailingMonthOnlyLosesItsOwnBar) {
  // Two counts whose sum overflows the engine's integers on one day: the
  // grouped statement fails, and so does that month's statement alone.
  Add("2010-1-5", 1);
  Add("2010-2-5", 2);
  Add("2010-2-5", 3);
  Add("2010-3-5", 4);
  Run("Update Users Set [Count]=1");
  Run("Update Users Set [Count]=9000000000000000000 Where ID>=2 And ID<=3");
  EXPECT_EQ(Lines(Bars("", {}, "Count")), (QStringList{"2010/1=1", "2010/3=1"}));
}

} // namespace
