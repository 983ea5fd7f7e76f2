// The statement texts of a record row, built on a column list alone.
#include "base/scripted_prompt.h"
#include "document/account_file.h"
#include "records/row_item.h"

#include <gtest/gtest.h>

namespace {

ColumnDef Column(const char *name, int type) {
  ColumnDef column;
  column.fieldName = QString::fromUtf8(name);
  column.type = type;
  return column;
}

class RowStatementsTest : public ::testing::Test {
protected:
  void SetUp() override {
    Columns({Column("ID", FT_KEY), Column("Amount", FT_FLOAT),
             Column("Memo", FT_TEXT)});
  }

  void Columns(std::initializer_list<ColumnDef> columns) {
    file_.Columns().Clear();
    for (const ColumnDef &column : columns)
      file_.Columns().Append(column);
  }

  CRowItem Row(const QStringList &texts, int groupId) {
    CRowItem row = CRowItem::EmptyRow(file_, groupId);
    for (int i = 0; i < texts.size(); ++i)
      row.items[i].text = texts[i];
    return row;
  }

  AccountFile file_;
};

TEST_F(RowStatementsTest, WritesEveryItemAndTheGroupLast) {
  const CRowItem row = Row({"7", "12.5", "lunch"}, 2);
  EXPECT_EQ(row.InsertStatement(),
            "INSERT INTO Users([ID],[Amount],[Memo],[trelva_Group_ID]) "
            "VALUES (7,12.5,'lunch',2)");
  EXPECT_EQ(row.KeyCondition(), "Where [ID]=7 And [trelva_Group_ID]=2");
  EXPECT_EQ(row.UpdateStatement(),
            "UPDATE Users SET [ID]=7,[Amount]=12.5,[Memo]='lunch',"
            "[trelva_Group_ID]=2 Where [ID]=7 And [trelva_Group_ID]=2");
  EXPECT_EQ(row.DeleteStatement(),
            "DELETE * FROM Users Where [ID]=7 And [trelva_Group_ID]=2");
}

TEST_F(RowStatementsTest, QuotesInTextsCannotEndTheLiteral) {
  const CRowItem row = Row({"7", "1", "O'Brien'); DELETE * FROM Users; --"}, 2);
  EXPECT_EQ(row.InsertStatement(),
            "INSERT INTO Users([ID],[Amount],[Memo],[trelva_Group_ID]) VALUES "
            "(7,1,'O''Brien''); DELETE * FROM Users; --',2)");
  EXPECT_EQ(row.UpdateStatement(),
            "UPDATE Users SET [ID]=7,[Amount]=1,"
            "[Memo]='O''Brien''); DELETE * FROM Users; --',"
            "[trelva_Group_ID]=2 Where [ID]=7 And [trelva_Group_ID]=2");
}

TEST_F(RowStatementsTest, LiteralsFollowTheColumnTypes) {
  Columns({Column("ID", FT_KEY), Column("Data", FT_AUTODATE),
           Column("Moment", FT_AUTOTIME), Column("Count", FT_INTEGER),
           Column("Kind", FT_OPTION)});
  const CRowItem row = Row({"3", "2010/5/3", "9:5:7", "", "餐饮"}, 4);
  EXPECT_EQ(row.InsertStatement(),
            "INSERT INTO Users([ID],[Data],[Moment],[Count],[Kind],"
            "[trelva_Group_ID]) VALUES (3,#2010/5/3#,#9:05:07#,0,'餐饮',4)");
}

TEST_F(RowStatementsTest, KeyItemIsTheFirstKeyColumnOrColumnZero) {
  Columns({Column("Memo", FT_TEXT), Column("No", FT_KEY),
           Column("Other", FT_KEY)});
  CRowItem row = Row({"x", "5", "6"}, 3);
  EXPECT_EQ(row.keyIndex, 1u);
  EXPECT_EQ(row.KeyValue(), 5);
  EXPECT_EQ(row.KeyCondition(), "Where [No]=5 And [trelva_Group_ID]=3");

  Columns({Column("Serial", FT_INTEGER), Column("Memo", FT_TEXT)});
  row = Row({"9", "x"}, 3);
  EXPECT_EQ(row.keyIndex, 0u);
  EXPECT_EQ(row.KeyCondition(), "Where [Serial]=9 And [trelva_Group_ID]=3");
}

// The undo history keeps rows across a change of the column layout; their
// values must still go to their own columns.
TEST_F(RowStatementsTest, RowsMadeBeforeALayoutChangeKeepTheirColumns) {
  const CRowItem row = Row({"7", "12.5", "lunch"}, 2);
  Columns({Column("ID", FT_KEY), Column("Count", FT_INTEGER),
           Column("Amount", FT_FLOAT), Column("Memo", FT_TEXT)});
  EXPECT_EQ(row.InsertStatement(),
            "INSERT INTO Users([ID],[Amount],[Memo],[trelva_Group_ID]) "
            "VALUES (7,12.5,'lunch',2)");
  Columns({Column("ID", FT_KEY), Column("Memo", FT_TEXT)});
  EXPECT_EQ(row.UpdateStatement(),
            "UPDATE Users SET [ID]=7,[Amount]=12.5,[Memo]='lunch',"
            "[trelva_Group_ID]=2 Where [ID]=7 And [trelva_Group_ID]=2");
}

TEST_F(RowStatementsTest, ARowWithoutAFileFailsWithTheMessage) {
  ScriptedPrompt prompt;
  ScopedPrompt scoped(prompt);
  CRowItem row;
  EXPECT_EQ(row.KeyValue(), 0);
  EXPECT_FALSE(row.SetKeyValue(4));
  EXPECT_FALSE(row.InsertIntoDatabase());
  EXPECT_FALSE(row.DeleteFromDatabase());
  EXPECT_EQ(prompt.Texts(), QStringList({"失败！", "失败！"}));
}

} // namespace
