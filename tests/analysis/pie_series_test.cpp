// Slice specifications and the pie series on real files: combinations over
// two expanded columns, quotes in options, a column with nothing ticked,
// zero and negative sums, letter case and scopes.
#include "chart_test_file.h"

namespace {

using PieSeriesTest = ChartFileTest;

QStringList Labels(const QList<SliceSpec> &specs) {
  QStringList labels;
  for (const SliceSpec &slice : specs)
    labels.append(slice.label);
  return labels;
}

TEST(SliceSpecs, CombinationsFromTheLastColumnBack) {
  const QList<SliceSpec> specs = BuildSliceSpecs(
      {{"Kind", {"Food", "Travel"}}, {"Account", {"Cash", "Card"}}, {"Who", {"Me"}}});
  EXPECT_EQ(Labels(specs), (QStringList{"Food|Cash|Me", "Food|Card|Me",
                                        "Travel|Cash|Me", "Travel|Card|Me"}));
  EXPECT_EQ(specs[1].condition,
            "[Kind]='Food' and [Account]='Card' and [Who]='Me'");

  const QList<SliceSpec> one = BuildSliceSpecs({{"Kind", {"Food", "Travel"}},
                                                {"Account", {"Cash"}}});
  ASSERT_EQ(one.size(), 2);
  EXPECT_EQ(one[0].label, "Food|Cash");
  EXPECT_EQ(one[0].condition, "[Kind]='Food' and [Account]='Cash'");
  EXPECT_EQ(one[1].condition, "[Kind]='Travel' and [Account]='Cash'");

  // Quotes are doubled: an option can never end its text early.
  const QList<SliceSpec> quoted =
      BuildSliceSpecs({{"Who", {"O'Brien", "x' Or 'a'='a"}}});
  EXPECT_EQ(quoted[0].condition, "[Who]='O''Brien'");
  EXPECT_EQ(quoted[1].condition, "[Who]='x'' Or ''a''=''a'");
  EXPECT_EQ(quoted[0].label, "O'Brien");

  // A switched-on column with nothing ticked: no slices at all.
  EXPECT_TRUE(BuildSliceSpecs({{"Kind", {"Food"}}, {"Account", {}}}).isEmpty());
  EXPECT_TRUE(BuildSliceSpecs({{"Kind", {}}, {"Account", {"Cash"}}}).isEmpty());
  EXPECT_TRUE(BuildSliceSpecs({}).isEmpty());
}

TEST_F(PieSeriesTest, SlicesOverTwoExpandedColumns) {
  Add({"2010-1-1", 10, "餐饮", "现金"});
  Add({"2010-1-2", 5, "餐饮", "现金"});
  Add({"2010-1-3", 7, "餐饮", "信用卡"});
  Add({"2010-1-4", 20, "交通", "现金"});
  Add({"2010-1-5", 99, "购物", "现金"}); // not ticked
  const PieSeries pie = Pie({{"Category", {"餐饮", "交通", "居住"}},
                             {"Payment", {"现金", "信用卡"}}});
  // 交通|信用卡 and every 居住 slice sum to nothing and are left out.
  EXPECT_EQ(Lines(pie), (QStringList{"餐饮|现金=15", "餐饮|信用卡=7",
                                     "交通|现金=20"}));
  EXPECT_EQ(Lines(Pie({{"Category", {"餐饮"}}})), QStringList{"餐饮=22"});
}

TEST_F(PieSeriesTest, NegativeAndTinySums) {
  Add({"2010-1-1", -12.5, "餐饮"});
  Add({"2010-1-1", 0.0000004, "交通"});
  Add({"2010-1-1", 0.000001, "购物"});
  Add({"2010-1-1", 3, "医疗"});
  Add({"2010-1-1", -3, "医疗"});
  EXPECT_EQ(Lines(Pie({{"Category", {"餐饮", "交通", "购物", "医疗"}}})),
            (QStringList{"餐饮=-12.5", "购物=0.000001"}));
}

TEST_F(PieSeriesTest, QuotesAndLetterCaseInOptions) {
  Add({"2010-1-1", 1, "O'Brien"});
  Add({"2010-1-1", 2, "o'brien"});
  Add({"2010-1-1", 4, "x' Or 'a'='a"});
  Add({"2010-1-1", 8, "餐饮"});
  EXPECT_EQ(Lines(Pie({{"Category", {"O'Brien", "x' Or 'a'='a"}}})),
            (QStringList{"O'Brien=3", "x' Or 'a'='a=4"}));
}

TEST_F(PieSeriesTest, ScopeSumColumnAndEmptyCases) {
  Add({"2010-1-1", 1, "餐饮", "现金", 2});
  Add({"2010-1-1", 10, "餐饮", "现金", 3});
  Add({"2010-1-1", 100, "交通", "现金", 3});
  const QList<ExpandedColumn> byCategory{{"Category", {"餐饮", "交通"}}};
  EXPECT_EQ(Lines(Pie(byCategory, "trelva_Group_ID=3")),
            (QStringList{"餐饮=10", "交通=100"}));
  EXPECT_EQ(Lines(Pie(byCategory, "(trelva_Group_ID=2) And ([Total] < 50)")),
            QStringList{"餐饮=1"});
  EXPECT_EQ(Lines(Pie(byCategory, "", "ID")), (QStringList{"餐饮=3", "交通=3"}));
  EXPECT_TRUE(Pie(byCategory, "", "Item").IsEmpty());
  EXPECT_TRUE(Pie(byCategory, "", "").IsEmpty());
  EXPECT_TRUE(Pie({}).IsEmpty());
  EXPECT_TRUE(Pie({{"Category", {"餐饮"}}, {"Payment", {}}}).IsEmpty());
}

TEST_F(PieSeriesTest, ManySlicesAcrossStatements) {
  // 500 options of one column: three statements of the one-pass sum.
  QStringList options;
  for (int i = 0; i < 500; ++i)
    options.append(QStringLiteral("o%1").arg(i));
  Session().BeginTransaction();
  for (int i = 0; i < 500; i += 7)
    Add({"2010-1-1", double(i + 1), options[i]});
  Session().CommitTransaction();
  const PieSeries pie = Pie({{"Category", options}});
  ASSERT_EQ(pie.Size(), 72);
  EXPECT_EQ(pie.labels.last(), "o497");
  EXPECT_EQ(pie.sums.last(), 498);

  // A statement that fails (an unknown column) falls back slice by slice;
  // each slice then fails alone.
  EXPECT_TRUE(Pie({{"Category", options}, {"Nothing", {"x"}}}).IsEmpty());
}

} // namespace
