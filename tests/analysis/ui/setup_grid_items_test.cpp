// The chart set-up grids without a window: the tree built from the
// columns, the sum column, the set-up condition, the expanded columns, and
// templates (the old "设置1" form included) loaded into them.
#include "analysis/ui/setup_grid_items.h"
#include "groups/filter_where.h"
#include "window/filter_grid_rules.h"
#include "model/column_list.h"
#include "support/test_columns.h"
#include "widgets/property_item.h"

#include <gtest/gtest.h>

namespace {

ColumnList Columns() {
  ColumnList columns;
  columns.Append(TestColumn("Amount", "单价", FT_FLOAT));
  columns.Append(TestColumn("ID", "编号", FT_KEY));
  columns.Append(TestColumn("Kind", "类别", FT_OPTION, "餐饮|交通|其他"));
  columns.Append(TestColumn("Pay", "支付", FT_OPTION, "现金|银行卡"));
  columns.Append(TestColumn("Empty", "空", FT_OPTION, ""));
  columns.Append(TestColumn("Off", "停用", FT_OPTION, "a|b", false));
  columns.Append(TestColumn("Item", "项目", FT_TEXT));
  return columns;
}

class SetUpGridTest : public ::testing::Test {
protected:
  void SetUp() override { BuildSetUpItems(root_, Columns(), BarSetUpTexts()); }
  PropertyItem &Options() { return *root_.Child(1); }
  PropertyItem &Sub(int i) { return *Options().Child(i); }
  PropertyItem &SumList() { return *root_.Child(0)->Child(0); }
  QString Condition() {
    const FilterWhere where = SetUpCondition(root_);
    return where.ok ? where.text : QStringLiteral("<failed>");
  }

  PropertyItem root_{PropertyItem::Category};
};

TEST_F(SetUpGridTest, BuildsSumListAndOneSubCategoryPerEnabledOptionColumn) {
  ASSERT_EQ(root_.ChildCount(), 2);
  EXPECT_EQ(root_.Child(0)->caption, QStringLiteral("汇总项目"));
  EXPECT_EQ(SumList().caption, QStringLiteral("汇总呈现的项目"));
  EXPECT_EQ(SumList().tag, FGT_SUM);
  EXPECT_EQ(SumList().choices, (QStringList{"编号", "单价"})) << "the key first";
  // A new pane sums a floating column: the key would add up record numbers.
  EXPECT_EQ(SetUpSumColumn(root_), QStringLiteral("Amount"));

  EXPECT_EQ(Options().caption, QStringLiteral("汇总类别"));
  ASSERT_EQ(Options().ChildCount(), 3) << "Kind, Pay, Empty; not the disabled one";
  EXPECT_EQ(Sub(0).Child(0)->caption, QStringLiteral("指定[类别]汇总类别"));
  EXPECT_FALSE(Sub(0).Child(0)->checked);
  EXPECT_FALSE(Sub(0).Child(0)->button->enabled);
  EXPECT_TRUE(Sub(0).Child(1)->checked && Sub(0).Child(1)->hidden);
  EXPECT_EQ(Sub(2).ChildCount(), 1) << "an empty option list leaves the switch";
  EXPECT_EQ(Condition(), QString());
  EXPECT_TRUE(SetUpExpandedColumns(root_).isEmpty());

  PropertyItem pie(PropertyItem::Category);
  BuildSetUpItems(pie, Columns(), PieSetUpTexts());
  EXPECT_EQ(pie.Child(1)->caption, QStringLiteral("展开类别"));
  EXPECT_EQ(pie.Child(1)->Child(1)->Child(0)->caption, QStringLiteral("按照[支付]展开"));
}

TEST_F(SetUpGridTest, WithoutNumericColumnsThereIsNothingToSum) {
  ColumnList columns;
  columns.Append(TestColumn("Item", "项目", FT_TEXT));
  PropertyItem root(PropertyItem::Category);
  BuildSetUpItems(root, columns, BarSetUpTexts());
  ASSERT_EQ(root.ChildCount(), 1);
  EXPECT_EQ(root.Child(0)->caption, QStringLiteral("汇总类别"));
  EXPECT_EQ(root.Child(0)->ChildCount(), 0);
  EXPECT_EQ(SetUpSumColumn(root), QString());
}

TEST_F(SetUpGridTest, SwitchedOnColumnsGiveConditionAndExpandedColumns) {
  Sub(0).Child(0)->checked = true;
  Sub(0).Child(3)->checked = false; // 其他
  Sub(1).Child(0)->checked = true;
  Sub(1).Child(2)->checked = false; // 银行卡
  EXPECT_EQ(Condition(),
            QStringLiteral("([Kind] In ('餐饮','交通') And [Pay] In ('现金'))"));
  const QList<ExpandedColumn> expanded = SetUpExpandedColumns(root_);
  ASSERT_EQ(expanded.size(), 2);
  EXPECT_EQ(expanded[0], (ExpandedColumn{"Kind", {"餐饮", "交通"}}));
  EXPECT_EQ(expanded[1], (ExpandedColumn{"Pay", {"现金"}}));

  PressSelectAll(*Sub(1).Child(0));
  EXPECT_EQ(Condition(), QStringLiteral("<failed>"));
}

TEST_F(SetUpGridTest, TemplatesRoundTripAndOldSetsLoad) {
  SumList().choice = 1;
  Sub(1).Child(0)->checked = true;
  Sub(1).Child(1)->checked = false;
  FilterSet set;
  set.conditions = GridConditions(root_);
  const FilterCondition *sum = set.Find(QString(), CK_SUM);
  ASSERT_NE(sum, nullptr);
  EXPECT_EQ(sum->texts, QStringList{QStringLiteral("Amount")});

  PropertyItem fresh(PropertyItem::Category);
  BuildSetUpItems(fresh, Columns(), BarSetUpTexts());
  LoadGridConditions(fresh, set);
  EXPECT_EQ(SetUpSumColumn(fresh), QStringLiteral("Amount"));
  EXPECT_EQ(SetUpExpandedColumns(fresh),
            (QList<ExpandedColumn>{{"Pay", {"银行卡"}}}));
  EXPECT_FALSE(fresh.Child(1)->Child(1)->Child(2)->hidden);

  // The converted old settings: a kind-14 condition naming the field in
  // its text, and a kind-13 one with the ticked values.
  FilterSet old;
  old.title = QStringLiteral("设置1");
  FilterCondition oldSum;
  oldSum.kind = CK_SUM;
  oldSum.texts = {QStringLiteral("amount")};
  old.Add(oldSum);
  FilterCondition oldKind;
  oldKind.fieldName = QStringLiteral("Kind");
  oldKind.texts = {QStringLiteral("交通")};
  old.Add(oldKind);
  PropertyItem converted(PropertyItem::Category);
  BuildSetUpItems(converted, Columns(), PieSetUpTexts());
  LoadGridConditions(converted, old);
  EXPECT_EQ(SetUpSumColumn(converted), QStringLiteral("Amount"));
  EXPECT_EQ(SetUpExpandedColumns(converted),
            (QList<ExpandedColumn>{{"Kind", {"交通"}}}));
}

} // namespace
