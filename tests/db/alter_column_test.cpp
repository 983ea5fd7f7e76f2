// Alter Column: the table rebuild converts a column's values as Jet does
// and keeps everything else; a value that cannot be converted changes
// nothing.
#include "db_test_util.h"

namespace {

class AlterColumnTest : public dbtest::SessionTest {
protected:
  QStringList ExtraStatements() const override {
    return {"Create Unique Index UsersGroupKey On Users ([trelva_Group_ID], [ID])"};
  }
  QStringList Column(const QString &column) {
    QStringList values;
    if (session_->Query(QStringLiteral("Select [%1] From Users Order By ID").arg(column)))
      do
        values.append(session_->GetString(0));
      while (session_->MoveNext());
    return values;
  }
  QString Declared(const QString &column) {
    session_->Query(QStringLiteral("Select type From pragma_table_info('Users') "
                                   "Where name='%1'").arg(column));
    return session_->GetString(0);
  }
  void Insert(int id, const QString &column, const QString &literal) {
    Exec(QStringLiteral("INSERT INTO Users([ID],[%1],[Item],[trelva_Group_ID]) "
                        "VALUES (%2,%3,'keep %2',2)").arg(column).arg(id).arg(literal));
  }
};

TEST_F(AlterColumnTest, NumbersBetweenIntegerAndFloat) {
  Insert(1, "Amount", "2.5");
  Insert(2, "Amount", "3.5");
  Insert(3, "Amount", "-1.25");
  Insert(4, "Amount", "null");
  Exec("Alter Table Users Alter Column [Amount] integer");
  EXPECT_EQ(Declared("Amount"), "INTEGER");
  EXPECT_EQ(Column("Amount"), QStringList({"2", "4", "-1", ""}));
  Exec("Alter Table Users Alter Column [Amount] float");
  EXPECT_EQ(Column("Amount"), QStringList({"2", "4", "-1", ""}));
  Exec("Update Users Set Amount = Amount / 4");
  EXPECT_EQ(Column("Amount"), QStringList({"0.5", "1", "-0.25", ""}));
}

TEST_F(AlterColumnTest, TextsToNumbersAndBack) {
  Insert(1, "Memo", "' 12 '");
  Insert(2, "Memo", "'1.5e2'");
  Insert(3, "Memo", "''");
  Exec("Alter Table Users Alter Column [Memo] float");
  EXPECT_EQ(Column("Memo"), QStringList({"12", "150", ""}));
  Exec("Alter Table Users Alter Column [Memo] varchar(50)");
  EXPECT_EQ(Declared("Memo"), "VARCHAR(50)");
  EXPECT_EQ(Column("Memo"), QStringList({"12", "150", ""}));
  // The text column compares without regard to case again.
  Exec("Update Users Set Memo='Abc' Where ID=3");
  EXPECT_EQ(session_->Count("Users", "Memo='aBC'"), 1u);
}

TEST_F(AlterColumnTest, DatesAndTexts) {
  Insert(1, "Item", "'2010-8-1'");
  Insert(2, "Item", "'2010/8/1 9:30'");
  Insert(3, "Item", "'13:05'");
  Exec("Alter Table Users Alter Column [Item] datetime");
  EXPECT_EQ(Column("Item"), QStringList({"2010/8/1", "2010/8/1 9:30:00", "13:05:00"}));
  EXPECT_EQ(session_->Count("Users", "Item >= #2010-8-1# And Item < #2010-8-2#"), 2u);
  // Back to text: the text the user saw in the cell.
  Exec("Alter Table Users Alter Column [Item] varchar(50)");
  ASSERT_EQ(session_->Query("Select Item From Users Where ID=2"), 1);
  EXPECT_EQ(session_->GetString(0), "2010/8/1 9:30:00");
}

TEST_F(AlterColumnTest, DatesAndNumbersByDayCount) {
  Insert(1, "Data", "#1900-1-1#");
  Insert(2, "Data", "#1899-12-29 6:00#");
  Exec("Alter Table Users Alter Column [Data] float");
  EXPECT_EQ(Column("Data"), QStringList({"2", "-1.25"}));
  Exec("Alter Table Users Alter Column [Data] date");
  EXPECT_EQ(Column("Data"), QStringList({"1900/1/1", "1899/12/29 6:00:00"}));
}

TEST_F(AlterColumnTest, UnconvertibleValueChangesNothing) {
  Insert(1, "Item", "'12'");
  Insert(2, "Item", "'twelve'");
  QByteArray before = dbtest::FileBytes(path_);
  EXPECT_FALSE(session_->Execute("Alter Table Users Alter Column [Item] integer"));
  // The first value that does not convert is named, in Chinese.
  EXPECT_EQ(prompt_.Last(), QStringLiteral("Item列的值\"twelve\"无法转换为整型"));
  EXPECT_EQ(Declared("Item"), "VARCHAR(50)");
  EXPECT_EQ(Column("Item"), QStringList({"12", "twelve"}));
  EXPECT_EQ(dbtest::FileBytes(path_), before);
  // Too large for Jet's 32-bit integer.
  Exec("Update Users Set Item='9999999999' Where ID=2");
  before = dbtest::FileBytes(path_);
  EXPECT_FALSE(session_->Execute("Alter Table Users Alter Column [Item] integer"));
  EXPECT_FALSE(session_->Execute("Alter Table Users Alter Column [Nope] integer"));
  EXPECT_FALSE(session_->Execute("Alter Table Nowhere Alter Column [Item] integer"));
  EXPECT_FALSE(session_->Execute("Alter Table Users Alter Column [Item] 无此类型"));
  EXPECT_EQ(dbtest::FileBytes(path_), before);
}

TEST_F(AlterColumnTest, AFailedAlterInsideAUnitLeavesTheUnitToItsOwner) {
  Insert(1, "Item", "'12abc'");
  auto schema = [&] {
    QStringList sql;
    if (session_->Query("Select sql From sqlite_master Order By name"))
      do
        sql.append(session_->GetString(0));
      while (session_->MoveNext());
    return sql;
  };
  const QStringList before = schema();
  ASSERT_TRUE(session_->BeginTransaction());
  ASSERT_TRUE(session_->Execute("Alter Table Users drop Column [Count]"));
  QString value;
  EXPECT_TRUE(session_->FindUnconvertibleValue(
      "Alter Table Users Alter Column [Item] float", value));
  EXPECT_EQ(value, "12abc");
  EXPECT_FALSE(session_->Execute("Alter Table Users Alter Column [Item] float"));
  EXPECT_EQ(prompt_.Last(), QStringLiteral("Item列的值\"12abc\"无法转换为浮点型"));
  // The rebuild neither committed nor dropped the unit: the drop before it
  // is still pending and goes back with the unit.
  EXPECT_FALSE(session_->TransactionLost());
  session_->RollbackTransaction();
  EXPECT_EQ(schema(), before);
  EXPECT_EQ(Column("Item"), QStringList{"12abc"});
}

TEST_F(AlterColumnTest, OtherColumnsRowsAndIndexesStay) {
  for (int i = 1; i <= 3; ++i)
    Insert(i, "Count", QString::number(i * 10));
  Exec("Alter Table Users Alter Column [Count] float");
  EXPECT_EQ(Column("Item"), QStringList({"keep 1", "keep 2", "keep 3"}));
  EXPECT_EQ(Column("Count"), QStringList({"10", "20", "30"}));
  // The unique index on (group, key) still holds.
  EXPECT_FALSE(session_->Execute(
      "INSERT INTO Users([ID],[trelva_Group_ID]) VALUES (2,2)"));
  EXPECT_TRUE(prompt_.Last().contains("UNIQUE"));
  ASSERT_EQ(session_->Query("Select Count(*) From sqlite_master Where "
                            "name='UsersGroupKey' Or name like 'sorvanel%'"), 1);
  EXPECT_EQ(session_->GetInt(0), 1);
}

TEST_F(AlterColumnTest, CounterKeepsCountingAfterARebuild) {
  Exec("Insert Into FilterMemory ([ClassID], [Title]) Values (1,'a')");
  Exec("Insert Into FilterMemory ([ClassID], [Title]) Values (2,'b')");
  Exec("Delete * From FilterMemory Where ID=2");
  Exec("Alter Table FilterMemory Alter Column [ClassID] float");
  Exec("Insert Into FilterMemory ([ClassID], [Title]) Values (3,'c')");
  ASSERT_EQ(session_->Query("SELECT @@IDENTITY as ID_NEW"), 1);
  EXPECT_EQ(session_->GetInt("ID_NEW"), 3);
}

TEST_F(AlterColumnTest, FlagsFromNumbersAndTexts) {
  Exec("Alter Table Users Add Column [Done] varchar(10)");
  Insert(1, "Done", "'yes'");
  Insert(2, "Done", "'0'");
  Insert(3, "Done", "'-1'");
  Exec("Alter Table Users Alter Column [Done] yes/no");
  EXPECT_EQ(Column("Done"), QStringList({"1", "0", "1"}));
  EXPECT_EQ(Declared("Done"), "BOOLEAN");
}

} // namespace
