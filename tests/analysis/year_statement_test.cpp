// The figures of the yearly statement: counts and sums per month and per
// option of the chosen year and scope only, the options in the column's
// order with values outside the list and empty ones after them, and the
// refusals of columns that do not fit.
#include "chart_test_file.h"

#include "analysis/year_statement.h"

namespace {

class YearStatementTest : public ChartFileTest {
protected:
  YearStatement Build(const YearStatementRequest &request) {
    YearStatement statement;
    QString error;
    EXPECT_TRUE(BuildYearStatement(Session(), file_.Columns(), request,
                                   statement, &error))
        << qPrintable(error);
    return statement;
  }
  QString Refusal(const YearStatementRequest &request) {
    YearStatement statement;
    QString error;
    EXPECT_FALSE(BuildYearStatement(Session(), file_.Columns(), request,
                                    statement, &error));
    return error;
  }
};

TEST_F(YearStatementTest, MonthsAndOptionsOfTheYearInScope) {
  Add({QStringLiteral("2025-1-1"), 10, QStringLiteral("交通")});
  Add({QStringLiteral("2025-1-31"), 2.5, QStringLiteral("餐饮")});
  Add({QStringLiteral("2025-12-31 23:59:59"), 7, QStringLiteral("O'Brien")});
  Add({QStringLiteral("2025-12-15"), 1, QString()});
  Add({QStringLiteral("2025-6-15"), 100, QStringLiteral("餐饮"), QStringLiteral("现金"), 3});
  Add({QStringLiteral("2024-12-31"), 1000, QStringLiteral("餐饮")}); // another year
  Add({QStringLiteral("2026-1-1"), 1000, QStringLiteral("餐饮")});
  Add({QString(), 1000, QStringLiteral("餐饮")}); // no date

  const YearStatement all = Build({2025, QStringLiteral("Total"),
                                   QStringLiteral("Category"), QString()});
  EXPECT_EQ(all.total.count, 5);
  EXPECT_DOUBLE_EQ(all.total.sum, 120.5);
  EXPECT_EQ(all.months[0].count, 2);
  EXPECT_DOUBLE_EQ(all.months[0].sum, 12.5);
  EXPECT_EQ(all.months[5].count, 1);
  EXPECT_EQ(all.months[11].count, 2);
  EXPECT_DOUBLE_EQ(all.months[11].sum, 8);
  QStringList options;
  for (const OptionTotals &row : all.options)
    options << row.option + QLatin1Char('=') + QString::number(row.year.sum);
  // Column order (餐饮 before 交通), then the value outside the list, then
  // the empty one; options without records left out.
  EXPECT_EQ(options, QStringList({QStringLiteral("餐饮=102.5"), QStringLiteral("交通=10"),
                                  QStringLiteral("O'Brien=7"), QStringLiteral("（空）=1")}));
  EXPECT_EQ(all.options[0].months[5].count, 1);
  EXPECT_EQ(all.sumTitle, QStringLiteral("金额"));

  const YearStatement group3 = Build({2025, QStringLiteral("Total"), QString(),
                                      QStringLiteral("trelva_Group_ID=3")});
  EXPECT_EQ(group3.total.count, 1);
  EXPECT_TRUE(group3.options.isEmpty());
  EXPECT_TRUE(Build({2023, QStringLiteral("Total"), QString(), QString()}).IsEmpty());
}

TEST_F(YearStatementTest, ColumnsThatDoNotFitAreRefused) {
  EXPECT_EQ(Refusal({2025, QStringLiteral("Item"), QString(), QString()}),
            QStringLiteral("汇总列“Item”不是数值列！"));
  EXPECT_EQ(Refusal({2025, QStringLiteral("Total"), QStringLiteral("Item"), QString()}),
            QStringLiteral("分类列“Item”不是可选型列！"));
  EXPECT_TRUE(Refusal({2025, QStringLiteral("Total"), QString(), QStringLiteral("[Nope]=1")})
                  .startsWith(QStringLiteral("无法读取年度报表：")));
  // Sums beyond the range of numbers are said, never written as inf.
  Add({QStringLiteral("2025-3-1"), 1e308});
  Add({QStringLiteral("2025-3-2"), 1e308});
  EXPECT_EQ(Refusal({2025, QStringLiteral("Total"), QStringLiteral("Category"), QString()}),
            QStringLiteral("2025 年的合计超出数值范围，无法制作年度报表"));
  QString sum, by;
  DefaultStatementColumns(file_.Columns(), sum, by);
  EXPECT_EQ(sum, QStringLiteral("Total"));
  EXPECT_EQ(by, QStringLiteral("Category"));
}

} // namespace
