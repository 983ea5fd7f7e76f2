// The filter pane's grid without a window: the tree built from the columns,
// the WHERE text and template conditions read from it, templates loaded
// into it (damaged ones included), and the enable and select-all rules.
#include "groups/ui/filter_grid_items.h"
#include "window/filter_grid_rules.h"
#include "model/column_list.h"
#include "support/test_columns.h"
#include "widgets/property_item.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

ColumnList Columns() {
  ColumnList columns;
  columns.Append(TestColumn("ID", "编号", FT_KEY));
  columns.Append(TestColumn("Data", "日期", FT_AUTODATE));
  columns.Append(TestColumn("Moment", "时间", FT_AUTOTIME));
  columns.Append(TestColumn("Kind", "类别", FT_OPTION, "餐饮|交通|其他"));
  columns.Append(TestColumn("Amount", "单价", FT_FLOAT));
  columns.Append(TestColumn("Item", "项目", FT_TEXT));
  columns.Append(TestColumn("Hidden", "隐藏", FT_INTEGER, QString(), false));
  return columns;
}

// The column entry of field in a built filter tree.
PropertyItem *Entry(PropertyItem &root, const QString &field) {
  for (int c = 0; c < root.ChildCount(); ++c)
    for (int e = 0; e < root.Child(c)->ChildCount(); ++e)
      if (ColumnOf(*root.Child(c)->Child(e))->fieldName == field)
        return root.Child(c)->Child(e);
  return nullptr;
}

class FilterGridTest : public ::testing::Test {
protected:
  void SetUp() override { BuildFilterItems(root_, Columns()); }
  PropertyItem &Box(const QString &field) { return *Entry(root_, field)->Child(0); }
  PropertyItem &Value(const QString &field, int i) {
    return *Entry(root_, field)->Child(i + 1);
  }
  QString Where() {
    const FilterWhere where = GridFilterWhere(root_);
    return where.ok ? where.text : QStringLiteral("<failed>");
  }

  PropertyItem root_{PropertyItem::Category};
};

TEST_F(FilterGridTest, BuildsFourCategoriesOfEnabledColumnsWithoutTimes) {
  ASSERT_EQ(root_.ChildCount(), 4);
  EXPECT_EQ(root_.Child(0)->caption, QStringLiteral("日期筛选设置"));
  EXPECT_EQ(root_.Child(1)->caption, QStringLiteral("数字筛选设置"));
  EXPECT_EQ(root_.Child(2)->caption, QStringLiteral("字符串筛选设置"));
  EXPECT_EQ(root_.Child(3)->caption, QStringLiteral("可选型筛选设置"));
  EXPECT_EQ(root_.Child(0)->ChildCount(), 1) << "Moment is a time column";
  EXPECT_EQ(root_.Child(1)->ChildCount(), 2) << "the disabled column is left out";
  EXPECT_EQ(Entry(root_, "Moment"), nullptr);

  const PropertyItem &amount = *Entry(root_, "Amount");
  EXPECT_TRUE(amount.redCaption);
  EXPECT_EQ(amount.tag, FGT_COLUMN);
  EXPECT_EQ(amount.Child(0)->caption, QStringLiteral("使用[单价]筛选"));
  EXPECT_EQ(amount.Child(0)->tag, FGT_ENABLE);
  EXPECT_EQ(amount.Child(2)->caption, QStringLiteral("终止数值"));
  EXPECT_FALSE(amount.Child(2)->description.isEmpty());
  EXPECT_TRUE(amount.Child(1)->hidden);

  PropertyItem &kind = Box("Kind");
  EXPECT_EQ(kind.tag, FGT_OPTION_ENABLE);
  ASSERT_TRUE(kind.button.has_value());
  EXPECT_EQ(kind.button->caption, QStringLiteral("取消全部"));
  EXPECT_FALSE(kind.button->enabled);
  EXPECT_TRUE(Value("Kind", 2).checked && Value("Kind", 2).hidden);
  EXPECT_EQ(Where(), QString()) << "nothing enabled filters nothing";
}

TEST_F(FilterGridTest, EnableBoxShowsValuesAndSelectAllTogglesOptions) {
  PropertyItem &box = Box("Kind");
  box.checked = true;
  ApplyEnableRule(box);
  EXPECT_FALSE(Value("Kind", 0).hidden);
  EXPECT_TRUE(box.button->enabled);

  PressSelectAll(box);
  EXPECT_FALSE(Value("Kind", 0).checked || Value("Kind", 1).checked ||
               Value("Kind", 2).checked);
  EXPECT_EQ(box.button->caption, QStringLiteral("选择全部"));
  EXPECT_EQ(Where(), QStringLiteral("<failed>"))
      << "an enabled option column with nothing ticked";

  PressSelectAll(box);
  EXPECT_TRUE(Value("Kind", 0).checked && Value("Kind", 2).checked);
  EXPECT_EQ(box.button->caption, QStringLiteral("取消全部"));

  box.checked = false;
  ApplyEnableRule(box);
  EXPECT_TRUE(Value("Kind", 1).hidden);
  EXPECT_FALSE(box.button->enabled);
}

TEST_F(FilterGridTest, ConditionsRoundTripIntoAFreshGrid) {
  Box("Amount").checked = true;
  Value("Amount", 0).number = 10;
  Value("Amount", 1).number = 20;
  Box("Kind").checked = true;
  Value("Kind", 1).checked = false;
  Value("Kind", 2).checked = false;
  Box("Item").checked = true;
  Value("Item", 0).text = QStringLiteral("O'Brien");
  Box("Data").checked = true;
  Value("Data", 0).date = QDateTime(QDate(2024, 1, 1), QTime(0, 0));
  Value("Data", 1).date = QDateTime(QDate(2024, 1, 31), QTime(23, 59, 59));
  const QString where = Where();
  EXPECT_EQ(where,
            QStringLiteral("(([Data] >= #2024/1/1# And [Data] <= #2024/1/31 23:59:59#))"
                           " And (([Amount] >= 10.00000000 And [Amount] <= 20.00000000))"
                           " And (([Item] = 'O''Brien'))"
                           " And ([Kind] In ('餐饮'))"));

  FilterSet set;
  set.conditions = GridConditions(root_);
  ASSERT_EQ(set.conditions.size(), 5) << "ID, Data, Amount, Item, Kind";
  const FilterCondition *kind = set.Find("Kind", CK_COLUMN);
  ASSERT_NE(kind, nullptr);
  EXPECT_EQ(kind->texts, QStringList{QStringLiteral("餐饮")});
  EXPECT_EQ(set.Find("Data", CK_COLUMN)->texts,
            (QStringList{"2024/1/1", "2024/1/31 23:59:59"}));
  EXPECT_EQ(set.Find("ID", CK_COLUMN)->enabled, 0);

  PropertyItem fresh(PropertyItem::Category);
  BuildFilterItems(fresh, Columns());
  LoadGridConditions(fresh, set);
  const FilterWhere again = GridFilterWhere(fresh);
  EXPECT_TRUE(again.ok);
  EXPECT_EQ(again.text, where);
  EXPECT_FALSE(Entry(fresh, "Amount")->Child(1)->hidden);
  EXPECT_TRUE(Entry(fresh, "ID")->Child(1)->hidden);
  EXPECT_TRUE(Entry(fresh, "Kind")->Child(0)->button->enabled);
}

TEST_F(FilterGridTest, MissingAndUnknownConditionsSwitchColumnsOff) {
  Box("Kind").checked = true;
  Value("Kind", 0).checked = false;
  ApplyEnableRule(Box("Kind"));
  FilterSet set;
  FilterCondition gone;
  gone.fieldName = QStringLiteral("Vanished");
  gone.texts = {QStringLiteral("x")};
  set.Add(gone);
  LoadGridConditions(root_, set);
  EXPECT_FALSE(Box("Kind").checked);
  EXPECT_TRUE(Value("Kind", 1).hidden);
  EXPECT_FALSE(Value("Kind", 0).checked) << "option ticks are kept";
  EXPECT_FALSE(Box("Kind").button->enabled);
  EXPECT_EQ(Where(), QString());
}

TEST_F(FilterGridTest, DamagedValuesKeepStartingValuesSoTheFilterStillReads) {
  FilterSet set;
  FilterCondition date;
  date.fieldName = QStringLiteral("Data");
  date.texts = {QStringLiteral("not a date"), QStringLiteral("2024/13/45")};
  set.Add(date);
  FilterCondition number;
  number.fieldName = QStringLiteral("Amount");
  number.numbers = {std::numeric_limits<double>::quiet_NaN(),
                    std::numeric_limits<double>::infinity()};
  set.Add(number);
  FilterCondition shortNumber;
  shortNumber.fieldName = QStringLiteral("ID");
  shortNumber.numbers = {5};
  set.Add(shortNumber);
  LoadGridConditions(root_, set);

  EXPECT_TRUE(Value("Data", 0).date.isValid());
  EXPECT_TRUE(Value("Data", 1).date.isValid());
  EXPECT_LE(qAbs(Value("Data", 0).date.secsTo(QDateTime::currentDateTime())), 5);
  EXPECT_EQ(Value("Amount", 0).number, 0);
  EXPECT_EQ(Value("Amount", 1).number, 0);
  EXPECT_EQ(Value("ID", 0).number, 5);
  EXPECT_EQ(Value("ID", 1).number, 0) << "a missing end is 0";
  const QString where = Where();
  EXPECT_FALSE(where.contains(QStringLiteral("Invalid")));
  EXPECT_FALSE(where.contains(QStringLiteral("nan"), Qt::CaseInsensitive));
  EXPECT_FALSE(where.contains(QStringLiteral("inf"), Qt::CaseInsensitive));
}

} // namespace
