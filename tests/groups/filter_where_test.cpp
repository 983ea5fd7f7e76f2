// Filter settings and their WHERE text: categories, every kind of piece,
// nesting, the failure of an option column with nothing ticked, and the texts
// run on a real file.
#include "group_test_file.h"

#include "groups/filter_where.h"
#include "groups/group_where.h"
#include "model/column_list.h"
#include "support/test_file.h"

#include <QDateTime>

namespace {

FilterColumnSetting Setting(const QString &field, int type,
                            const QString &options = QString()) {
  ColumnDef column;
  column.fieldName = field;
  column.title = field;
  column.type = type;
  column.options = options;
  FilterColumnSetting setting(column);
  setting.enabled = true;
  return setting;
}

FilterColumnSetting Range(const QString &field, double start, double end) {
  FilterColumnSetting setting = Setting(field, FT_FLOAT);
  setting.rangeStart = start;
  setting.rangeEnd = end;
  return setting;
}

FilterColumnSetting Options(const QString &field, const QStringList &values,
                            const QStringList &ticked) {
  FilterColumnSetting setting = Setting(field, FT_OPTION, values.join('|'));
  for (FilterOption &option : setting.options)
    option.ticked = ticked.contains(option.value);
  return setting;
}

FilterColumnSetting Text(const QString &field, const QString &text) {
  FilterColumnSetting setting = Setting(field, FT_TEXT);
  setting.text = text;
  return setting;
}

FilterColumnSetting Dates(const QString &field, const QString &start,
                          const QString &end) {
  FilterColumnSetting setting = Setting(field, FT_DATE);
  setting.dateStart = ParseDateTime(start);
  setting.dateEnd = ParseDateTime(end);
  return setting;
}

FilterCategory Category(std::vector<FilterEntry> entries) {
  return FilterCategory{QString(), std::move(entries)};
}

FilterWhere Build(std::vector<FilterCategory> categories) {
  return BuildFilterWhere(categories);
}

QStringList FieldNames(const FilterCategory &category) {
  QStringList names;
  for (const FilterEntry &entry : category.entries)
    names.append(std::get<FilterColumnSetting>(entry).column.fieldName);
  return names;
}

TEST(FilterWhere, TheExampleOfTwoCategories) {
  const FilterWhere where =
      Build({Category({Range("Amount", 10, 20)}),
             Category({Options("Kind", {"餐饮", "交通"}, {"餐饮"})})});
  EXPECT_TRUE(where.ok);
  EXPECT_EQ(where.text, "(([Amount] >= 10.00000000 And [Amount] <= 20.00000000)) "
                        "And ([Kind] In ('餐饮'))");
}

TEST(FilterWhere, PiecesOfEveryColumnKind) {
  EXPECT_EQ(Build({Category({Range("A", 1, 2), Range("B", -0.5, 1.0 / 3)})}).text,
            "(([A] >= 1.00000000 And [A] <= 2.00000000) And "
            "([B] >= -0.50000000 And [B] <= 0.33333333))");
  // A reversed range is written as it is.
  EXPECT_EQ(Build({Category({Range("A", 5, 1)})}).text,
            "(([A] >= 5.00000000 And [A] <= 1.00000000))");
  EXPECT_EQ(Build({Category({Text("Item", "")})}).text, "(([Item] = ''))");
  EXPECT_EQ(Build({Category({Text("Memo", "O'Brien' Or 1=1 --")})}).text,
            "(([Memo] = 'O''Brien'' Or 1=1 --'))");
  EXPECT_EQ(Build({Category({Options("Kind", {"it's", "b", "c"}, {"it's", "c"})})}).text,
            "([Kind] In ('it''s','c'))");
  // Dates leave the time out at midnight.
  EXPECT_EQ(Build({Category({Dates("Data", "2010-8-1", "2010/8/31 23:59:59")})}).text,
            "(([Data] >= #2010/8/1# And [Data] <= #2010/8/31 23:59:59#))");

  for (const int type : {int(FT_TIME), int(FT_AUTOTIME), 42})
    EXPECT_EQ(Build({Category({Setting("Moment", type)})}).text, "") << type;
  for (const int type : {int(FT_KEY), int(FT_INTEGER)})
    EXPECT_EQ(Build({Category({Setting("N", type)})}).text,
              "(([N] >= 0.00000000 And [N] <= 0.00000000))");
  EXPECT_EQ(Build({Category({Setting("Memo", FT_MEMO)})}).text, "(([Memo] = ''))");
  FilterColumnSetting date = Setting("D", FT_DATETIME);
  date.dateStart = ParseDateTime("2011/2/3 4:05:06");
  EXPECT_TRUE(Build({Category({date})}).text.startsWith("(([D] >= #2011/2/3 4:05:06# And [D] <= #"));
}

TEST(FilterWhere, DisabledAndEmptySettingsAddNothing) {
  FilterColumnSetting off = Options("Kind", {"a"}, {});
  off.enabled = false;
  FilterColumnSetting offRange = Range("A", 1, 2);
  offRange.enabled = false;
  const FilterWhere where = Build({Category({}), Category({off, offRange})});
  EXPECT_TRUE(where.ok);
  EXPECT_EQ(where.text, "");
  EXPECT_TRUE(Build({}).ok);
}

TEST(FilterWhere, AnOptionWithNothingTickedStopsTheBuild) {
  const FilterWhere where =
      Build({Category({Range("A", 1, 2)}),
             Category({Text("T", "x"), Options("Kind", {"a", "b"}, {})}),
             Category({Text("U", "y")})});
  EXPECT_FALSE(where.ok);
  // Only the categories before the failing one.
  EXPECT_EQ(where.text, "(([A] >= 1.00000000 And [A] <= 2.00000000))");

  // An option column without values can't have anything ticked either.
  EXPECT_FALSE(Build({Category({Setting("Kind", FT_OPTION, "||")})}).ok);
}

TEST(FilterWhere, NestedCategories) {
  FilterCategory inner = Category({Options("Kind", {"x", "y"}, {"x", "y"}),
                                   Options("Pay", {"p"}, {"p"})});
  FilterCategory outer = Category({Range("A", 0, 1), inner, Category({})});
  FilterWhere where = Build({outer});
  EXPECT_TRUE(where.ok);
  EXPECT_EQ(where.text, "(([A] >= 0.00000000 And [A] <= 1.00000000) And "
                        "([Kind] In ('x','y') And [Pay] In ('p')))");

  // A failure deep inside fails the whole build and keeps nothing of the
  // top-level category it sits in.
  FilterCategory failing = Category({Options("Kind", {"x"}, {})});
  FilterCategory deep = Category({Range("B", 0, 1), Category({failing})});
  where = Build({Category({Text("T", "t")}), deep, Category({Text("U", "u")})});
  EXPECT_FALSE(where.ok);
  EXPECT_EQ(where.text, "(([T] = 't'))");
}

TEST(FilterCategories, ColumnsByCategoryWithStartingValues) {
  ColumnList columns;
  const auto add = [&columns](const QString &field, int type,
                              const QString &options = QString(),
                              bool enabled = true) {
    ColumnDef column;
    column.fieldName = field;
    column.type = type;
    column.options = options;
    column.enabled = enabled;
    columns.Append(column);
  };
  add("ID", FT_KEY);
  add("Data", FT_AUTODATE);
  add("Moment", FT_AUTOTIME);
  add("Kind", FT_OPTION, "餐饮||交通|");
  add("Amount", FT_FLOAT);
  add("Item", FT_TEXT);
  add("Hidden", FT_INTEGER, QString(), false);
  add("When", FT_DATETIME);
  add("Day", FT_DATE);
  add("Clock", FT_TIME);
  add("Memo", FT_MEMO);
  add("Count", FT_INTEGER);

  const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
  const std::vector<FilterCategory> categories = FilterCategories(columns);
  ASSERT_EQ(categories.size(), 4u);
  EXPECT_EQ(categories[0].caption, "日期筛选设置");
  EXPECT_EQ(categories[1].caption, "数字筛选设置");
  EXPECT_EQ(categories[2].caption, "字符串筛选设置");
  EXPECT_EQ(categories[3].caption, "可选型筛选设置");
  EXPECT_EQ(FieldNames(categories[0]), (QStringList{"Data", "When", "Day"}));
  EXPECT_EQ(FieldNames(categories[1]), (QStringList{"ID", "Amount", "Count"}));
  EXPECT_EQ(FieldNames(categories[2]), (QStringList{"Item", "Memo"}));
  EXPECT_EQ(FieldNames(categories[3]), QStringList{"Kind"});

  const auto &kind = std::get<FilterColumnSetting>(categories[3].entries[0]);
  EXPECT_FALSE(kind.enabled);
  ASSERT_EQ(kind.options.size(), 2);
  EXPECT_EQ(kind.options[0].value, "餐饮");
  EXPECT_EQ(kind.options[1].value, "交通");
  EXPECT_TRUE(kind.options[0].ticked && kind.options[1].ticked);
  const auto &data = std::get<FilterColumnSetting>(categories[0].entries[0]);
  ASSERT_TRUE(data.dateStart.IsValid());
  EXPECT_EQ(data.dateStart, data.dateEnd);
  EXPECT_EQ(data.dateStart.Time().msec(), 0);
  EXPECT_GE(data.dateStart.ToDateTime(), before);
  EXPECT_LE(data.dateStart.ToDateTime(), QDateTime::currentDateTime());
  const auto &amount = std::get<FilterColumnSetting>(categories[1].entries[1]);
  EXPECT_EQ(amount.rangeStart, 0);
  EXPECT_EQ(amount.rangeEnd, 0);
  // Nothing is enabled at first.
  EXPECT_EQ(BuildFilterWhere(categories).text, "");

  EXPECT_TRUE(FilterCategories(ColumnList())[3].entries.empty());
}

using FilterWhereFileTest = GroupFileTest;

TEST_F(FilterWhereFileTest, TextsRunOnTheFile) {
  const char *records[] = {
      "(1, #2010/8/1#, '餐饮', 32.5, 'O''Brien', 2)",
      "(2, #2010/8/2#, '交通', 6, '地铁', 2)",
      "(3, #2010/8/15#, '购物', 199.9, 'O''Brien', 2)",
      "(4, #2010/8/16#, '餐饮', 20, 'O''Brien', 3)",
  };
  for (const char *values : records)
    ASSERT_TRUE(Session().Execute(
        QStringLiteral("Insert Into Users ([ID], [Data], [Category], [Amount], "
                       "[Memo], [trelva_Group_ID]) Values %1")
            .arg(QString::fromUtf8(values))));

  std::vector<FilterCategory> categories = FilterCategories(file_.Columns());
  const auto setting = [&categories](int category, const QString &field) -> FilterColumnSetting & {
    for (FilterEntry &entry : categories[category].entries) {
      auto &setting = std::get<FilterColumnSetting>(entry);
      if (setting.column.fieldName == field)
        return setting;
    }
    ADD_FAILURE() << qPrintable(field);
    return std::get<FilterColumnSetting>(categories[category].entries[0]);
  };
  const auto count = [this, &categories]() {
    const FilterWhere where = BuildFilterWhere(categories);
    EXPECT_TRUE(where.ok);
    return Session().Count("Users", where.text);
  };
  EXPECT_EQ(count(), 4u);

  FilterColumnSetting &data = setting(0, "Data");
  data.enabled = true;
  data.dateStart = ParseDateTime("2010/8/1");
  data.dateEnd = ParseDateTime("2010/8/15 12:00:00");
  EXPECT_EQ(count(), 3u);

  FilterColumnSetting &memo = setting(2, "Memo");
  memo.enabled = true;
  memo.text = "o'brien"; // text comparison ignores case
  EXPECT_EQ(count(), 2u);

  FilterColumnSetting &amount = setting(1, "Amount");
  amount.enabled = true;
  amount.rangeStart = 32.5;
  amount.rangeEnd = 1000;
  EXPECT_EQ(count(), 2u);

  FilterColumnSetting &category = setting(3, "Category");
  category.enabled = true;
  for (FilterOption &option : category.options)
    option.ticked = option.value == "购物";
  EXPECT_EQ(count(), 1u);

  // With the group part of group 3 nothing is left; group 2 keeps record 3.
  const QString filter = BuildFilterWhere(categories).text;
  EXPECT_EQ(Session().Count("Users", GroupFilterWhere(3, filter)), 0u);
  EXPECT_EQ(Session().Count("Users", CombineWhere("trelva_Group_ID=2", filter)), 1u);
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
}

} // namespace

namespace {

// Columns whose names are reserved words or Chinese filter like any other.
TEST(FilterWhereNames, ReservedAndChineseNamesFilter) {
  QStringList statements = TestFile::CurrentLayout();
  statements << "Alter Table Users Add Column [Order] float"
             << "Alter Table Users Add Column [Date] date"
             << "Alter Table Users Add Column [金额] float"
             << "Alter Table Users Add Column [Select] varchar(20)";
  const QString insert =
      "Insert Into Users ([Order], [Date], [金额], [Select]) Values %1";
  statements << insert.arg("(1, #2010/8/1#, 5, 'a')")
             << insert.arg("(2, #2010/8/9#, 7, 'b')")
             << insert.arg("(3, #2010/9/1#, 9, 'a')");
  TestFile file(statements);
  ASSERT_TRUE(file.Valid());
  FilterColumnSetting order = Range("Order", 1, 2);
  FilterColumnSetting date = Dates("Date", "2010/8/1", "2010/8/31");
  FilterColumnSetting amount = Range("金额", 6, 10);
  FilterColumnSetting select = Options("Select", {"a", "b"}, {"b"});
  const FilterWhere where =
      Build({Category({order, amount}), Category({date}), Category({select})});
  ASSERT_TRUE(where.ok);
  EXPECT_EQ(file.Session().Count("Users", where.text), 1u);
  EXPECT_EQ(file.Rows("Select [Order] From Users Where " + where.text),
            QStringList{"2"});
}

} // namespace
