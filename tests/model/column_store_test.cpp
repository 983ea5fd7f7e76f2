// Column definitions in TableStyle and the matching columns of Users:
// loading, adding, changing and removing a column, texts with quotes.
#include "base/scripted_prompt.h"
#include "db/db_visiter.h"
#include "model/column_list.h"
#include "model/column_store.h"
#include "support/test_file.h"

#include <gtest/gtest.h>

namespace {

class ColumnStoreTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(file_.Valid()); }

  ColumnList Load() {
    ColumnList columns;
    LoadColumns(file_.Session(), columns);
    return columns;
  }

  ColumnDef Stored(int id) {
    ColumnDef column;
    if (file_.Session().Query(
            QStringLiteral("Select * From TableStyle Where ID=%1").arg(id)))
      column = ReadColumnDef(file_.Session());
    return column;
  }

  TestFile file_;
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
};

TEST_F(ColumnStoreTest, LoadsEnabledColumnsInDisplayOrder) {
  const ColumnList columns = Load();
  QStringList names;
  for (const ColumnDef &column : columns.All())
    names.append(column.fieldName);
  // Kind comes before Item by 编号; the disabled Hidden is left out but
  // still a column of Users.
  EXPECT_EQ(names, (QStringList{"ID", "Data", "Moment", "Kind", "Item",
                                "Amount", "Count", "Memo"}));
  EXPECT_FALSE(file_.DeclaredType("Hidden").isEmpty());

  const ColumnDef &key = columns.At(0);
  EXPECT_EQ(key.width, 40); // stored 20, raised to the key's minimum
  EXPECT_TRUE(key.readOnly);
  EXPECT_EQ(columns.At(4).width, 10); // stored 0
  const ColumnDef &kind = columns.At(3);
  EXPECT_EQ(kind.id, 5);
  EXPECT_EQ(kind.order, 4);
  EXPECT_EQ(kind.title, "类别");
  EXPECT_EQ(kind.type, FT_OPTION);
  EXPECT_EQ(kind.defaultValue, "其他");
  EXPECT_EQ(kind.Choices(), (QStringList{"餐饮", "交通", "其他"}));
  EXPECT_TRUE(prompt_.Texts().isEmpty());
}

TEST_F(ColumnStoreTest, LoadOfAFileWithoutColumnsEmptiesTheList) {
  ASSERT_TRUE(file_.Session().Execute("Delete * From TableStyle"));
  ColumnList columns = Load();
  columns.Append(ColumnDef());
  LoadColumns(file_.Session(), columns);
  EXPECT_TRUE(columns.IsEmpty());
}

TEST_F(ColumnStoreTest, InsertStoresTextsWithQuotesAsTyped) {
  ColumnDef column;
  column.id = 20;
  column.order = 20;
  column.fieldName = QStringLiteral("Shop");
  column.title = QStringLiteral("O'Brien's 店");
  column.options = QStringLiteral("it's|'|%1%s");
  column.defaultValue = QStringLiteral("'x'");
  column.type = FT_OPTION;
  column.width = 66;
  column.readOnly = true;
  ASSERT_TRUE(InsertColumn(file_.Session(), column));
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Last());

  const ColumnDef stored = Stored(20);
  EXPECT_EQ(stored.title, column.title);
  EXPECT_EQ(stored.options, column.options);
  EXPECT_EQ(stored.defaultValue, column.defaultValue);
  EXPECT_EQ(stored.type, FT_OPTION);
  EXPECT_EQ(stored.width, 66);
  EXPECT_TRUE(stored.enabled);
  EXPECT_TRUE(stored.readOnly);
  EXPECT_EQ(file_.DeclaredType("Shop"), file_.DeclaredType("Kind"));
  EXPECT_EQ(Load().Size(), 9);
}

TEST_F(ColumnStoreTest, InsertOfAnUnknownTypeLeavesNothingBehind) {
  // A TableStyle row without its column in Users would make every record
  // statement fail, so the failed ALTER takes the row back with it.
  ColumnDef column;
  column.id = 21;
  column.fieldName = QStringLiteral("Odd");
  column.type = 11;
  EXPECT_FALSE(InsertColumn(file_.Session(), column));
  EXPECT_EQ(prompt_.Texts().size(), 1);
  EXPECT_TRUE(file_.Rows("Select ID From TableStyle Where ID=21").isEmpty());
  EXPECT_TRUE(file_.DeclaredType("Odd").isEmpty());
}

TEST_F(ColumnStoreTest, AFailedConversionKeepsTheStoredType) {
  ASSERT_TRUE(file_.Session().Execute(
      "Insert Into Users ([ID], [Item]) Values (1, 'not a number')"));
  ColumnDef item = Load().At(4);
  ASSERT_EQ(item.fieldName, "Item");
  const QString type = file_.DeclaredType("Item");
  item.type = FT_INTEGER;
  item.title = QStringLiteral("物品");
  EXPECT_FALSE(UpdateColumn(file_.Session(), item));
  EXPECT_EQ(file_.DeclaredType("Item"), type);
  // TableStyle must still say what Users holds, with none of the change.
  EXPECT_EQ(Stored(item.id).type, int(FT_TEXT));
  EXPECT_EQ(Stored(item.id).title, QStringLiteral("项目"));
  EXPECT_EQ(file_.Rows("Select Item From Users"), QStringList{"not a number"});
}

TEST_F(ColumnStoreTest, TypeChangeRefusalNamesCaptionFirstBadValueAndType) {
  for (const char *row : {"(1, '12')", "(2, Null)", "(3, '12abc')", "(4, 'x')"})
    ASSERT_TRUE(file_.Session().Execute(
        QStringLiteral("Insert Into Users ([ID], [Memo]) Values %1").arg(row)));
  ColumnDef memo = Load().At(7);
  ASSERT_EQ(memo.fieldName, "Memo");
  memo.type = FT_INTEGER;
  EXPECT_EQ(TypeChangeRefusal(file_.Session(), memo),
            QStringLiteral("备注列的值\"12abc\"无法转换为整型"));
  memo.type = FT_TEXT;
  EXPECT_EQ(TypeChangeRefusal(file_.Session(), memo), QString());
  EXPECT_TRUE(prompt_.Texts().isEmpty());
}

TEST_F(ColumnStoreTest, UpdateOfTheCaptionLeavesUsersAlone) {
  ColumnDef count = Load().At(6);
  ASSERT_EQ(count.fieldName, "Count");
  const QString type = file_.DeclaredType("Count");
  count.title = QStringLiteral("件'数");
  count.width = 80;
  count.enabled = false;
  ASSERT_TRUE(UpdateColumn(file_.Session(), count));
  const ColumnDef stored = Stored(count.id);
  EXPECT_EQ(stored.title, "件'数");
  EXPECT_EQ(stored.width, 80);
  EXPECT_FALSE(stored.enabled);
  EXPECT_EQ(file_.DeclaredType("Count"), type);
  EXPECT_EQ(Load().PositionOf("Count"), -1);
}

TEST_F(ColumnStoreTest, UpdateWithANewTypeRetypesTheUsersColumn) {
  ASSERT_TRUE(file_.Session().Execute(
      "Insert Into Users ([ID], [Count], [trelva_Group_ID]) Values (1, 3, 2)"));
  ColumnDef count = Load().At(6);
  ASSERT_NE(file_.DeclaredType("Count"), file_.DeclaredType("Amount"));
  count.type = FT_FLOAT;
  ASSERT_TRUE(UpdateColumn(file_.Session(), count));
  EXPECT_EQ(Stored(count.id).type, FT_FLOAT);
  EXPECT_EQ(file_.DeclaredType("Count"), file_.DeclaredType("Amount"));
  EXPECT_EQ(file_.Cell("Select [Count] From Users Where ID=1"), "3");

  // An unknown code reaches the ALTER TABLE as 无此类型 and fails there.
  count.type = 99;
  EXPECT_FALSE(UpdateColumn(file_.Session(), count));
  EXPECT_FALSE(prompt_.Texts().isEmpty());
}

TEST_F(ColumnStoreTest, UpdateOfAnUnknownIdInsertsTheColumn) {
  ColumnDef column;
  column.id = 30;
  column.order = 30;
  column.fieldName = QStringLiteral("Note");
  column.title = QStringLiteral("附注");
  column.type = FT_MEMO;
  ASSERT_TRUE(UpdateColumn(file_.Session(), column));
  EXPECT_EQ(Stored(30).title, "附注");
  EXPECT_EQ(file_.DeclaredType("Note"), file_.DeclaredType("Memo"));
}

TEST_F(ColumnStoreTest, DeleteDropsTheColumnThenItsRow) {
  ColumnDef item = Load().At(4);
  ASSERT_EQ(item.fieldName, "Item");
  ASSERT_TRUE(DeleteColumn(file_.Session(), item));
  EXPECT_TRUE(file_.DeclaredType("Item").isEmpty());
  EXPECT_TRUE(file_.Rows("Select * From TableStyle Where ID=4").isEmpty());
  EXPECT_EQ(Load().Size(), 7);

  // A column that Users does not have: the row stays.
  ColumnDef ghost = item;
  ghost.id = 1;
  ghost.fieldName = QStringLiteral("Ghost");
  EXPECT_FALSE(DeleteColumn(file_.Session(), ghost));
  EXPECT_EQ(Stored(1).fieldName, "ID");
}

TEST(FieldTypes, NamesAndSqlTypesByCode) {
  const QStringList names = FieldTypeNames();
  ASSERT_EQ(names.size(), 11);
  EXPECT_EQ(names[3], "文本");
  EXPECT_EQ(names[10], "备注");
  EXPECT_EQ(SqlTypeName(FT_KEY), "integer primary key");
  EXPECT_EQ(SqlTypeName(FT_OPTION), "varchar(50)");
  EXPECT_EQ(SqlTypeName(FT_AUTOTIME), "time");
  for (int code : {-1, 11}) {
    EXPECT_EQ(SqlTypeName(code), "无此类型");
    EXPECT_EQ(FieldTypeName(code), "无此类型");
  }
}

} // namespace
