// Integer columns hold integers: what INSERT and UPDATE write into a column
// declared integer, int, long, smallint, byte, counter or as a key is
// rounded half to even, as Jet stores it; floating columns keep fractions.
#include "db_test_util.h"

namespace {

class IntegerColumnTest : public dbtest::SessionTest {
protected:
  QStringList ExtraStatements() const override {
    return {"Create Table Counted ([No] COUNTER Primary Key, [Small] short, "
            "[Tiny] byte, [Whole] long, [Ratio] double, [Name] text)",
            "Create Table Keyed ([K] integer Primary Key, [V] int)"};
  }
  QString Value(const QString &sql) {
    if (!session_->Query(sql))
      return QStringLiteral("<none>");
    return session_->GetString(0) + QLatin1Char(':') + session_->GetString(1);
  }
  QString CountOf(int id) {
    return Value(QStringLiteral("Select [Count], typeof([Count]) From Users Where ID=%1").arg(id));
  }
};

TEST_F(IntegerColumnTest, InsertRoundsHalfToEven) {
  const struct {
    const char *literal;
    const char *stored;
  } cases[] = {{"2.5", "2:integer"},   {"3.5", "4:integer"}, {"-2.5", "-2:integer"},
               {"0.5", "0:integer"},   {"2.51", "3:integer"}, {"7", "7:integer"},
               {"'12.5'", "12:integer"}, {"' 3 '", "3:integer"}, {"''", ":null"},
               {"null", ":null"},     {"true", "1:integer"}, {"1e3", "1000:integer"}};
  int id = 0;
  for (const auto &c : cases) {
    Exec(QStringLiteral("INSERT INTO Users([ID],[Count],[Amount],[trelva_Group_ID]) "
                        "VALUES (%1,%2,2.5,2)").arg(++id).arg(c.literal));
    EXPECT_EQ(CountOf(id), c.stored) << c.literal;
  }
  // The floating column keeps its fraction, and the sum counts no fractions.
  EXPECT_EQ(Value("Select Amount, typeof(Amount) From Users Where ID=1"), "2.5:real");
  EXPECT_EQ(Value("Select Sum([Count]), Count(*) From Users Where ID<=4"), "4:4");
}

TEST_F(IntegerColumnTest, EveryInsertShapeAndUpdate) {
  // Without a column list, several rows at once, names in brackets or not.
  Exec("Insert Into Keyed Values (1.5, 2.5), (3.5, 3.5)");
  EXPECT_EQ(Value("Select Group_Concat(K), Group_Concat(V) From Keyed"), "2,4:2,4");
  Exec("Insert Into [Counted] ([Small], Tiny, [Whole], [Ratio], [Name]) "
       "Values (-1.5, 254.5, 2147483646.5, 0.25, '1.5')");
  EXPECT_EQ(Value("Select Small || ',' || Tiny || ',' || Whole, Ratio || ',' || Name "
                  "From Counted"),
            "-2,254,2147483646:0.25,1.5");
  // The counter takes a written value rounded, as the key does.
  Exec("Insert Into Counted ([No], [Name]) Values (10.5, 'x')");
  EXPECT_EQ(Value("Select No, Name From Counted Where Name='x'"), "10:x");
  Exec("INSERT INTO Users([ID],[Count],[trelva_Group_ID]) VALUES (7.5,1,2.5)");
  EXPECT_EQ(Value("Select ID, trelva_Group_ID From Users"), "8:2");

  // Update: each assignment of an integer column, whatever follows it.
  Exec("Update Users Set [Count]=Count + 0.5, [Amount]=0.5, ID = 9.5 Where ID=8");
  EXPECT_EQ(Value("Select ID, [Count] From Users"), "10:2");
  Exec("UPDATE Users SET [Count]=(Select 4.5), [Item]='a, b' WHERE Item Is Null");
  EXPECT_EQ(Value("Select [Count], Item From Users"), "4:a, b");
  EXPECT_EQ(Value("Select Amount, typeof(Amount) From Users"), "0.5:real");
}

TEST_F(IntegerColumnTest, TextThatIsNoNumberFailsAndChangesNothing) {
  Exec("INSERT INTO Users([ID],[Count],[trelva_Group_ID]) VALUES (1,5,2)");
  EXPECT_FALSE(session_->Execute("INSERT INTO Users([ID],[Count],[trelva_Group_ID]) "
                                 "VALUES (2,'abc',2)"));
  EXPECT_EQ(prompt_.Last(), "Data type mismatch in criteria expression.");
  EXPECT_FALSE(session_->Execute("Update Users Set [Count]='1,5', [Item]='changed'"));
  EXPECT_EQ(session_->Count("Users", ""), 1u);
  EXPECT_EQ(CountOf(1), "5:integer");
  EXPECT_EQ(session_->Count("Users", "Item Is Null"), 1u);
  // A text column takes any text, a number text included, as typed.
  Exec("Update Users Set [Item]='2.5', [Memo]='O''Brien'");
  EXPECT_EQ(Value("Select Item, Memo From Users"), "2.5:O'Brien");
}

// Statement shapes the adapter does not recognise are translated as they
// stand, and the table's columns are looked up again after the schema
// changed.
TEST_F(IntegerColumnTest, SchemaChangesAreSeen) {
  Exec("INSERT INTO Users([ID],[Count],[trelva_Group_ID]) VALUES (1,1.5,2)");
  Exec("Alter Table Users Add Column [Extra] integer");
  Exec("Update Users Set [Extra]=5.5");
  EXPECT_EQ(Value("Select Extra, typeof(Extra) From Users"), "6:integer");
  Exec("Alter Table Users Alter Column [Extra] float");
  Exec("Update Users Set [Extra]=5.5");
  EXPECT_EQ(Value("Select Extra, typeof(Extra) From Users"), "5.5:real");
  Exec("Alter Table Users Alter Column [Extra] integer");
  EXPECT_EQ(Value("Select Extra, typeof(Extra) From Users"), "6:integer");
  ASSERT_TRUE(session_->BeginTransaction());
  Exec("Alter Table Users Drop Column [Extra]");
  Exec("Alter Table Users Add Column [Extra] float");
  Exec("Update Users Set [Extra]=1.5");
  session_->RollbackTransaction();
  Exec("Update Users Set [Extra]=1.5");
  EXPECT_EQ(Value("Select Extra, typeof(Extra) From Users"), "2:integer");
}

} // namespace
