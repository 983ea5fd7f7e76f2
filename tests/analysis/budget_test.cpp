// The budget: its store, a month's figures over a scope, the refusals of
// what does not fit, and the over-budget notes.
#include "chart_test_file.h"

#include "analysis/budget_edit.h"
#include "analysis/budget_follow.h"
#include "analysis/budget_month.h"
#include "analysis/budget_store.h"
#include "analysis/budget_watch.h"
#include "analysis/chart_columns.h"

namespace {

class BudgetTest : public ChartFileTest {
protected:
  Budget Household() {
    Budget budget{QStringLiteral("Category"), QStringLiteral("Total"), {}};
    budget.Set(QStringLiteral("餐饮"), QString(), 1000);
    budget.Set(QStringLiteral("交通"), QString(), 300);
    return budget;
  }
  QStringList Texts(const Budget &budget, const YearMonth &month,
                    const QString &scope = QString()) {
    const BudgetMonth figures =
        BuildBudgetMonth(Session(), file_.Columns(), budget, month, scope);
    EXPECT_TRUE(figures.problem.isEmpty()) << qPrintable(figures.problem);
    return BudgetMonthTexts(figures);
  }
};

// Stored and read back as typed, quotes included; a month set apart wins
// over every month for its own option only.
TEST_F(BudgetTest, StoredAndReadBack) {
  EXPECT_FALSE(LoadBudget(Session()).IsSet());
  Run("Update TableStyle Set [选项]='餐饮|O''Brien|交通' Where [字段名]='Category'");
  ReloadColumns();
  Budget budget = Household();
  budget.Set(QStringLiteral("O'Brien"), QString(), 5);
  budget.Set(QStringLiteral("餐饮"), QStringLiteral("2026-02"), 800);
  budget.Set(QString(), QString(), 1200);
  ASSERT_TRUE(SaveBudget(file_, budget));
  const Budget loaded = LoadBudget(Session());
  EXPECT_EQ(loaded, budget);
  EXPECT_EQ(loaded.AmountFor("餐饮", "2026-02"), 800);
  EXPECT_EQ(loaded.AmountFor("餐饮", "2026-03"), 1000);
  EXPECT_EQ(loaded.AmountFor("交通", "2026-02"), 300);
  EXPECT_EQ(loaded.TotalFor("2026-02"), 1200);
  EXPECT_FALSE(loaded.AmountFor("购物", "2026-02"));
}

// Spent is the sum of the month's records of each option in scope, records
// on the month's last day and a refund (negative) included; the total
// line takes the month's total when one is set. A month without records
// shows the budgets with nothing spent.
TEST_F(BudgetTest, MonthFiguresOverTheScope) {
  Add({"2026-2-1", 100});
  Add({"2026-2-28 23:30:00", 250});
  Add({"2026-2-10", -20});
  Add({"2026-3-1", 999});
  Add({"2026-1-31", 999});
  Add({"2026-2-5", 400, QStringLiteral("交通")});
  Add({"2026-2-6", 70, QStringLiteral("交通"), QStringLiteral("信用卡"), 3});
  Add({"2026-2-7", 50, QStringLiteral("购物")});
  Budget budget = Household();
  EXPECT_EQ(Texts(budget, {2026, 2}),
            (QStringList{"餐饮\t1000.00\t330.00\t670.00",
                         "交通\t300.00\t470.00\t-170.00",
                         "合计\t1300.00\t800.00\t500.00"}));
  EXPECT_EQ(Texts(budget, {2026, 2}, "trelva_Group_ID=2"),
            (QStringList{"餐饮\t1000.00\t330.00\t670.00",
                         "交通\t300.00\t400.00\t-100.00",
                         "合计\t1300.00\t730.00\t570.00"}));
  budget.Set(QString(), QString(), 2000);
  EXPECT_EQ(Texts(budget, {2025, 7}),
            (QStringList{"餐饮\t1000.00\t0.00\t1000.00",
                         "交通\t300.00\t0.00\t300.00",
                         "合计\t2000.00\t0.00\t2000.00"}));

  const BudgetMonth figures =
      BuildBudgetMonth(Session(), file_.Columns(), budget, {2026, 2}, QString());
  EXPECT_EQ(BandOf(figures.lines[0]), BudgetBand::Green);
  EXPECT_EQ(BandOf(figures.lines[1]), BudgetBand::Red);
  EXPECT_EQ(BandOf(BudgetLine{"x", 100, 80}), BudgetBand::Amber);
  EXPECT_EQ(BandOf(BudgetLine{"x", 100, 100}), BudgetBand::Amber);
  EXPECT_EQ(BandOf(BudgetLine{"x", 0, 1}), BudgetBand::Red);
}

// A negative amount, a sum column that is not numeric and an option column
// that is not one are refused with their message; the stored budget stays.
TEST_F(BudgetTest, WhatDoesNotFitIsRefused) {
  ASSERT_TRUE(SaveBudget(file_, Household()));
  Budget negative = Household();
  negative.Set(QStringLiteral("餐饮"), QString(), -5);
  Budget textSum = Household();
  textSum.sumField = QStringLiteral("Item");
  Budget textBy = Household();
  textBy.byField = QStringLiteral("Item");
  for (const Budget &bad : {negative, textSum, textBy})
    EXPECT_FALSE(SaveBudget(file_, bad));
  EXPECT_EQ(prompt_.Texts(),
            (QStringList{"预算金额不能为负数：餐饮=-5",
                         "字段[Item]不是数字字段，不能汇总",
                         "字段[Item]不是可选型字段，不能按它设置预算"}));
  prompt_.Clear();
  EXPECT_EQ(LoadBudget(Session()), Household());
  EXPECT_EQ(BudgetAmountProblem(file_.Columns(), "Category", "吃饭", 5),
            "“吃饭”不是字段[Category]的选项，可选的有：餐饮|交通|购物|居住|医疗|其他");
  double amount = 0;
  EXPECT_EQ(ReadBudgetAmount("餐饮", "12a", amount), "预算金额不是数字：餐饮=12a");
  YearMonth month;
  for (const char *text : {"2026-13", "2026-3", "26-03", "2026-03-01", "abcd-ef"})
    EXPECT_FALSE(ParseBudgetMonth(text, month)) << text;
  EXPECT_TRUE(ParseBudgetMonth("2026-03", month));
  EXPECT_EQ(month, (YearMonth{2026, 3}));
}

// An option is named once, when a change takes it over its month's budget,
// and not again while it stays over; the month before is named by its
// name.
TEST_F(BudgetTest, OverBudgetIsToldOnce) {
  const YearMonth now = CurrentMonth();
  const QString day = QStringLiteral("%1-%2-3").arg(now.year).arg(now.month);
  Budget budget = Household();
  budget.Set(QString(), QString(), 1250);
  ASSERT_TRUE(SaveBudget(file_, budget));
  BudgetWatch watch;
  Add({day, 900});
  watch.Reset(Session(), file_.Columns());
  Add({day, 220});
  EXPECT_EQ(watch.Look(Session(), file_.Columns()),
            QStringList{"餐饮本月已超出预算 120.00 元（按全部记录）"});
  Add({day, 10});
  EXPECT_TRUE(watch.Look(Session(), file_.Columns()).isEmpty());
  Add({day, 200, QStringLiteral("交通")});
  EXPECT_EQ(watch.Look(Session(), file_.Columns()),
            QStringList{"合计本月已超出预算 80.00 元（按全部记录）"});
  // The month before is named; older months are not watched.
  const YearMonth before = YearMonth::FromIndex(now.Index() - 1);
  Add({QStringLiteral("%1-%2-9").arg(before.year).arg(before.month), 301,
       QStringLiteral("交通")});
  Add({"2020-5-9", 1301});
  EXPECT_EQ(watch.Look(Session(), file_.Columns()),
            QStringList{QStringLiteral("交通%1年%2月已超出预算 1.00 元（按全部记录）")
                            .arg(before.year)
                            .arg(before.month)});
}

} // namespace

namespace {

// The editor's rows show the amounts that hold for the month; an empty
// text drops an amount, a month set apart keeps only what differs from
// every month, "复制上月" reads the month before, and a bad text names its
// row and changes nothing.
TEST_F(BudgetTest, EditorRowsAndTheirWriting) {
  Budget budget = Household();
  budget.Set(QStringLiteral("餐饮"), QStringLiteral("2026-02"), 800);
  QList<BudgetEditRow> rows =
      BudgetEditRows(file_.Columns(), budget, "Category", "2026-03");
  ASSERT_EQ(rows.size(), 7);
  EXPECT_EQ(rows[0].text, "1000");
  EXPECT_EQ(rows[6].option, "");
  EXPECT_EQ(MonthBefore("2026-01"), "2025-12");
  EXPECT_EQ(DefaultBudgetByField(file_.Columns()), "Category");
  EXPECT_EQ(DefaultSumField(file_.Columns()), "Total");
  EXPECT_EQ(BudgetEditRows(file_.Columns(), budget, "Category",
                           MonthBefore("2026-03"))[0].text, "800");

  rows[0].text = "1000"; // as every month: not kept apart
  rows[1].text = "350";
  rows[2].text = "60";
  rows[6].text = "2000";
  QString problem;
  int bad = 0;
  ASSERT_TRUE(ApplyBudgetEdit(file_.Columns(), "Category", "Total", "2026-03",
                              rows, budget, problem, bad));
  EXPECT_EQ(budget.entries,
            (QList<BudgetEntry>{{"餐饮", "", 1000}, {"交通", "", 300},
                                {"餐饮", "2026-02", 800},
                                {"交通", "2026-03", 350},
                                {"购物", "2026-03", 60},
                                {"", "2026-03", 2000}}));
  rows[1].text.clear();
  rows[3].text = "-3";
  const Budget kept = budget;
  EXPECT_FALSE(ApplyBudgetEdit(file_.Columns(), "Category", "Total", "2026-03",
                               rows, budget, problem, bad));
  EXPECT_EQ(problem, "预算金额不能为负数：居住=-3");
  EXPECT_EQ(bad, 3);
  EXPECT_EQ(budget, kept);
  // Another option column starts a new budget.
  rows = BudgetEditRows(file_.Columns(), budget, "Payment", "");
  rows[0].text = "5";
  ASSERT_TRUE(ApplyBudgetEdit(file_.Columns(), "Payment", "Total", "", rows,
                              budget, problem, bad));
  EXPECT_EQ(budget, (Budget{"Payment", "Total", {{"现金", "", 5}}}));
}

// Options renamed in the options sheet keep their amounts, a renamed
// column is followed, and an option that went without a new name is told.
TEST_F(BudgetTest, RenamedOptionsKeepTheirBudget) {
  Budget budget = Household();
  budget.Set(QStringLiteral("购物"), QStringLiteral("2026-02"), 70);
  ASSERT_TRUE(SaveBudget(file_, budget));
  const QList<ColumnDef> before = StoredColumnDefs(Session());
  Run("Update TableStyle Set [选项]='交通|吃饭|居住|医疗|其他|买东西', "
      "[字段名]='Kind' Where [字段名]='Category'");
  FollowStoredColumnEdits(file_, before);
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
  const Budget renamed = LoadBudget(Session());
  EXPECT_EQ(renamed.byField, "Kind");
  EXPECT_EQ(renamed.AmountFor("吃饭", "2026-01"), 1000);
  EXPECT_EQ(renamed.AmountFor("买东西", "2026-02"), 70);

  const QList<ColumnDef> second = StoredColumnDefs(Session());
  Run("Update TableStyle Set [选项]='交通|居住' Where [字段名]='Kind'");
  FollowStoredColumnEdits(file_, second);
  EXPECT_EQ(prompt_.Texts(),
            (QStringList{"字段[Kind]的选项“吃饭”已不存在，它的预算仍保留，可在“设置预算…”中清除\r\n"
                         "字段[Kind]的选项“买东西”已不存在，它的预算仍保留，可在“设置预算…”中清除"}));
  prompt_.Clear();
  EXPECT_EQ(LoadBudget(Session()), renamed);
}

} // namespace

namespace {

// A line's records are those of its option in the month: the conditions
// span the month's first to last second and name the option, or every
// budgeted option for the total.
TEST_F(BudgetTest, LineConditionsSelectTheLinesRecords) {
  Add({"2026-2-1", 100});
  Add({"2026-2-28 23:30:00", 250});
  Add({"2026-3-1", 999});
  Add({"2026-2-5", 400, QStringLiteral("交通")});
  Add({"2026-2-7", 50, QStringLiteral("购物")});
  const Budget budget = Household();
  const BudgetMonth figures =
      BuildBudgetMonth(Session(), file_.Columns(), budget, {2026, 2}, QString());
  const QList<FilterCondition> line =
      BudgetLineConditions(file_.Columns(), budget, figures, "餐饮");
  ASSERT_EQ(line.size(), 2);
  EXPECT_EQ(line[0].fieldName, "Data");
  EXPECT_EQ(line[0].texts, (QStringList{"2026-2-1 0:00:00", "2026-2-28 23:59:59"}));
  EXPECT_EQ(line[1].fieldName, "Category");
  EXPECT_EQ(line[1].texts, QStringList{"餐饮"});
  EXPECT_EQ(BudgetLineConditions(file_.Columns(), budget, figures, "")[1].texts,
            (QStringList{"餐饮", "交通"}));
}

} // namespace
