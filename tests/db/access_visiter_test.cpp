// The session over a real account file: statements, queries, walking rows
// and the typed readers.
#include "db_test_util.h"

#include <QBuffer>
#include <QFileInfo>

#include <climits>

namespace {

using dbtest::SessionTest;

class AccessVisiterTest : public SessionTest {};

TEST_F(AccessVisiterTest, QueryWalksEveryRowAndKnowsTheCountAtOnce) {
  for (int i = 1; i <= 5; ++i)
    Exec(QStringLiteral("INSERT INTO Users([ID],[Amount],[Item],[trelva_Group_ID]) "
                        "VALUES (%1,%1.5,'item %1',2)").arg(i));
  ASSERT_EQ(session_->Query("Select * From Users Order By ID"), 5);
  int seen = 0;
  do {
    ++seen;
    EXPECT_EQ(session_->GetInt("ID"), seen);
    EXPECT_EQ(session_->GetString("Item"), QStringLiteral("item %1").arg(seen));
  } while (session_->MoveNext());
  EXPECT_EQ(seen, 5);
  // Past the end every reader gives its empty value and MoveNext stays false.
  EXPECT_FALSE(session_->MoveNext());
  EXPECT_EQ(session_->GetString("Item"), QString());
  EXPECT_EQ(session_->GetInt("ID"), 0);
  EXPECT_DOUBLE_EQ(session_->GetDouble("Amount"), 0.0);
  QVariant value = 17;
  EXPECT_FALSE(session_->GetValue(value, 0, false));
  EXPECT_EQ(value.toInt(), 17);
}

TEST_F(AccessVisiterTest, EmptyAndMalformedQueriesGiveZeroSilently) {
  EXPECT_EQ(session_->Query("Select * From Users Where ID=99"), 0);
  EXPECT_TRUE(session_->IsResultOpen());
  EXPECT_EQ(session_->GetString(0), QString());
  EXPECT_FALSE(session_->MoveNext());
  EXPECT_EQ(session_->Query("Selec * Frm Users"), 0);
  EXPECT_FALSE(session_->IsResultOpen());
  EXPECT_EQ(session_->Query("Select * From NoSuchTable"), 0);
  // A misspelt bracketed column is an error, not a text of its own name.
  EXPECT_EQ(session_->Query("Select [NoSuchColumn] From Users"), 0);
  EXPECT_FALSE(session_->IsResultOpen());
  EXPECT_TRUE(prompt_.Texts().isEmpty());
  EXPECT_FALSE(session_->Execute("Update Users Set [ID]=1 Where [NoSuchColumn]='x'"));
}

TEST_F(AccessVisiterTest, QueryErrorTellsAFailureFromNoRows) {
  EXPECT_EQ(session_->Query("Select * From Users Where ID=99"), 0);
  EXPECT_EQ(session_->QueryError(), QString());
  EXPECT_EQ(session_->Query("Select * From Users Where [Itme]='x'"), 0);
  EXPECT_EQ(session_->QueryError(), QStringLiteral("no such column: Itme"));
  EXPECT_EQ(session_->Query("Select Count(*) From Users"), 1);
  EXPECT_EQ(session_->QueryError(), QString());
}

// A statement read from the file runs only when it cannot change anything;
// a refused one has done nothing at all.
TEST_F(AccessVisiterTest, ReadOnlyQueriesRefuseEveryChange) {
  Exec("INSERT INTO Users([ID],[trelva_Group_ID]) VALUES (1,2)");
  const QString refused = QStringLiteral("该语句会修改账簿文件，已拒绝执行");
  ASSERT_TRUE(session_->BeginTransaction());
  Exec("INSERT INTO Users([ID],[trelva_Group_ID]) VALUES (2,2)");
  for (const char *sql :
       {"Delete From Users", "Update Users Set [Item]='x'",
        "Insert Into Users([ID],[trelva_Group_ID]) Values (3,2)",
        "Drop Table ViewMap", "Create Table Other ([a] Integer)"}) {
    EXPECT_EQ(session_->QueryReadOnly(sql), 0) << sql;
    EXPECT_EQ(session_->QueryError(), refused) << sql;
  }
  // What the dialect does not know fails before it reaches the engine.
  for (const char *sql : {"Rollback To sorvanel_work", "Release sorvanel_work",
                          "Pragma journal_mode=WAL", "Attach 'other.fz' As other",
                          "Select [ID] Into Other From Users"}) {
    EXPECT_EQ(session_->QueryReadOnly(sql), 0) << sql;
    EXPECT_FALSE(session_->QueryError().isEmpty()) << sql;
  }
  EXPECT_FALSE(QFileInfo::exists(QStringLiteral("other.fz")));
  session_->CommitTransaction();
  EXPECT_EQ(session_->Count("Users", QString()), 2u);
  EXPECT_EQ(session_->QueryReadOnly("Select Sum(ID) From Users Where ID>0"), 1);
  EXPECT_EQ(session_->GetInt(0), 3);
  EXPECT_TRUE(prompt_.Texts().isEmpty());
}

TEST_F(AccessVisiterTest, ExecuteShowsTheEngineTextAloneAndAppliesNothing) {
  Exec("INSERT INTO Users([ID],[trelva_Group_ID]) VALUES (1,2)");
  EXPECT_FALSE(session_->Execute("INSERT INTO Nowhere([ID]) VALUES (1)"));
  EXPECT_EQ(prompt_.Last(), QStringLiteral("no such table: Nowhere"));
  // A statement that fails half-way leaves none of its rows behind.
  Exec("Create Unique Index OneKey On Users ([ID])");
  Exec("INSERT INTO Users([ID],[trelva_Group_ID]) VALUES (5,2)");
  // The second copied row clashes with the first: neither stays.
  EXPECT_FALSE(session_->Execute(
      "INSERT INTO Users([ID],[trelva_Group_ID]) SELECT 7, 2 FROM Users"));
  EXPECT_TRUE(prompt_.Last().contains("UNIQUE constraint failed"));
  EXPECT_EQ(session_->Count("Users", QString()), 2u);
}

// The row of the last INSERT, read through the statement the session keeps:
// the row that was stored, the columns the table has now, and no hindrance
// to changing the table.
TEST_F(AccessVisiterTest, TheInsertedRowIsReadBack) {
  Exec("INSERT INTO Users([ID],[Item],[trelva_Group_ID]) VALUES (1,'first',2)");
  Exec("INSERT INTO Users([ID],[Item],[trelva_Group_ID]) VALUES (1,'second',3)");
  ASSERT_EQ(session_->QueryInsertedRow("Users"), 1);
  EXPECT_EQ(session_->GetString("Item"), "second");
  EXPECT_EQ(session_->GetInt("trelva_Group_ID"), 3);

  // A failed INSERT leaves the last stored row as it was.
  EXPECT_FALSE(session_->Execute("INSERT INTO Users([ID],[NoSuchColumn]) VALUES (2,1)"));
  ASSERT_EQ(session_->QueryInsertedRow("Users"), 1);
  EXPECT_EQ(session_->GetString("Item"), "second");

  Exec("Alter Table Users Add Column [Extra] varchar(20)");
  Exec("Alter Table Users Alter Column [Extra] Int");
  Exec("INSERT INTO Users([ID],[Extra],[trelva_Group_ID]) VALUES (3,7.6,2)");
  ASSERT_EQ(session_->QueryInsertedRow("Users"), 1);
  EXPECT_EQ(session_->GetInt("ID"), 3);
  EXPECT_EQ(session_->GetString("Extra"), "8");
  ASSERT_EQ(session_->Query("Select * From Users Where ID=3"), 1);
  EXPECT_EQ(session_->GetString("Extra"), "8");
  session_->CloseResult();
  EXPECT_TRUE(session_->Close());
}

// The records page reads its cells by appending them to one buffer; every
// kind of stored value must read exactly as GetString gives it.
TEST_F(AccessVisiterTest, AppendedTextsAreTheTextsGetStringGives) {
  Exec("INSERT INTO Users([ID],[Data],[Moment],[Amount],[Count],[Item],[Memo],"
       "[trelva_Group_ID]) VALUES (1,#2024/3/5#,#13:09:07#,-52.3,3,"
       "'O''Brien 咖啡',Null,2)");
  Exec("INSERT INTO Users([ID],[Data],[Amount],[Item],[Memo],[trelva_Group_ID]) "
       "VALUES (2,#2024/3/5 8:00:00#,1E+21,'plain','x',2)");
  Exec("INSERT INTO Users([ID],[Amount],[Item],[trelva_Group_ID]) "
       "VALUES (3,0.1,'',2)");
  ASSERT_EQ(session_->Query("Select *, Amount * 2 As Twice, Data As Copy, "
                            "CStr(Data) As Shown From Users Order By ID"), 3);
  QStringList names;
  const int columns = session_->GetFieldNames(names);
  do {
    QString appended = QStringLiteral("start|");
    QStringList expected;
    for (int c = 0; c < columns; ++c) {
      session_->AppendString(c, appended);
      appended += QLatin1Char('|');
      expected += session_->GetString(c);
    }
    EXPECT_EQ(appended, QStringLiteral("start|") + expected.join('|') + '|');
  } while (session_->MoveNext());
}

TEST_F(AccessVisiterTest, StatementsDoNotDisturbTheCurrentResult) {
  for (int i = 1; i <= 3; ++i)
    Exec(QStringLiteral("INSERT INTO Users([ID],[trelva_Group_ID]) VALUES (%1,2)").arg(i));
  ASSERT_EQ(session_->Query("Select ID From Users Order By ID"), 3);
  Exec("Delete * From Users");
  EXPECT_EQ(session_->Count("Users", QString()), 0u);
  int seen = 0;
  do {
    EXPECT_EQ(session_->GetInt(0), ++seen);
  } while (session_->MoveNext());
  EXPECT_EQ(seen, 3);
}

int RecordStatement(unsigned, void *context, void *statement, void *) {
  char *sql = sqlite3_expanded_sql(static_cast<sqlite3_stmt *>(statement));
  static_cast<QStringList *>(context)->append(QString::fromUtf8(sql));
  sqlite3_free(sql);
  return 0;
}

TEST_F(AccessVisiterTest, CountStatementsWithAndWithoutCondition) {
  QStringList sent;
  sqlite3_trace_v2(session_->GetConnection(), SQLITE_TRACE_STMT, RecordStatement, &sent);
  session_->Count("Users", QString());
  session_->Count("Users", "trelva_Group_ID=3");
  session_->QueryTable("[FilterMemory]");
  sqlite3_trace_v2(session_->GetConnection(), 0, nullptr, nullptr);
  EXPECT_EQ(sent, QStringList({"SELECT COUNT(*) FROM Users",
                               "SELECT COUNT(*) FROM Users where trelva_Group_ID=3",
                               "SELECT * FROM \"FilterMemory\""}));
}

TEST_F(AccessVisiterTest, CountUsesItsOwnResultAndReportsFailure) {
  Exec("INSERT INTO Users([ID],[Item],[trelva_Group_ID]) VALUES (1,'a',2)");
  Exec("INSERT INTO Users([ID],[Item],[trelva_Group_ID]) VALUES (2,'b',3)");
  ASSERT_EQ(session_->Query("Select * From Users"), 2);
  EXPECT_EQ(session_->Count("Users", QString()), 2u);
  EXPECT_EQ(session_->Count("Users", "trelva_Group_ID=3"), 1u);
  EXPECT_EQ(session_->GetInt("ID"), 1);  // still on the first row
  EXPECT_TRUE(prompt_.Texts().isEmpty());
  EXPECT_EQ(session_->Count("Users", "NoSuchColumn=1"), 0u);
  EXPECT_EQ(prompt_.Last(), QStringLiteral("查询失败！"));
  EXPECT_EQ(session_->Count("Nowhere", QString()), 0u);
  EXPECT_EQ(prompt_.Texts().size(), 2);
}

TEST_F(AccessVisiterTest, GetStringConvertsEveryKindOfValue) {
  Exec("INSERT INTO Users([ID],[Data],[Moment],[Stamp],[Amount],[Count],[Item],"
       "[Memo],[trelva_Group_ID]) VALUES (7,#2010-08-01#,#13:05:09#,"
       "#2010/8/1 9:30#,0.1,-40000,'O''Brien',null,2)");
  ASSERT_EQ(session_->Query("Select * From Users"), 1);
  EXPECT_EQ(session_->GetString("ID"), "7");
  EXPECT_EQ(session_->GetString("Data"), "2010/8/1");
  EXPECT_EQ(session_->GetString("Moment"), "13:05:09");
  EXPECT_EQ(session_->GetString("Stamp"), "2010/8/1 9:30:00");
  EXPECT_EQ(session_->GetString("Amount"), "0.1");
  EXPECT_EQ(session_->GetString("Count"), "-40000");
  EXPECT_EQ(session_->GetString("Item"), "O'Brien");
  EXPECT_EQ(session_->GetString("Memo"), QString());
  EXPECT_EQ(session_->GetString("memo"), QString());  // names ignore case
  EXPECT_EQ(session_->GetString(QStringLiteral("NoSuchColumn")), QString());
}

TEST_F(AccessVisiterTest, FloatsShowFifteenSignificantDigits) {
  const struct {
    const char *value;
    const char *shown;
  } cases[] = {{"1.23456789012345678", "1.23456789012346"},
               {"100.0", "100"},
               {"-0.5", "-0.5"},
               {"1e20", "1E+20"},
               {"0.00001", "1E-05"},
               {"2.5", "2.5"}};
  for (const auto &c : cases) {
    Exec("Delete * From Users");
    Exec(QStringLiteral("INSERT INTO Users([Amount]) VALUES (%1)").arg(c.value));
    ASSERT_EQ(session_->Query("Select Amount From Users"), 1);
    EXPECT_EQ(session_->GetString(0), QString::fromLatin1(c.shown)) << c.value;
  }
}

TEST_F(AccessVisiterTest, DatesOfExpressionsAreKnownByTheirForm) {
  Exec("INSERT INTO Users([Data],[Moment],[Stamp]) VALUES (#2010-08-01#,#7:00#,#2011-1-2 3:04:05#)");
  Exec("INSERT INTO Users([Data],[Moment],[Stamp]) VALUES (#2009-12-31#,#0:00#,#2011-1-2#)");
  ASSERT_EQ(session_->Query("SELECT Min(Data), Max(Data), Min(Moment), Max(Stamp), "
                            "Min(Stamp) FROM Users"), 1);
  EXPECT_EQ(session_->GetString(0), "2009/12/31");
  EXPECT_EQ(session_->GetString(1), "2010/8/1");
  EXPECT_EQ(session_->GetString(2), "0:00:00");  // a time at midnight stays a time
  EXPECT_EQ(session_->GetString(3), "2011/1/2 3:04:05");
  EXPECT_EQ(session_->GetString(4), "2011/1/2");
  // A text column that happens to hold such a text shows it as typed.
  Exec("INSERT INTO Users([Item]) VALUES ('2010-08-01 00:00:00')");
  ASSERT_EQ(session_->Query("SELECT Item FROM Users WHERE Item IS NOT NULL"), 1);
  EXPECT_EQ(session_->GetString(0), "2010-08-01 00:00:00");
  // A date column holding only a time reads as the time alone.
  Exec("INSERT INTO Users([ID],[Data]) VALUES (9,#10:11:12#)");
  ASSERT_EQ(session_->Query("SELECT Data FROM Users WHERE ID=9"), 1);
  EXPECT_EQ(session_->GetString(0), "10:11:12");
}

TEST_F(AccessVisiterTest, IntegerReadersKeepAllThirtyTwoBits) {
  Exec("INSERT INTO Users([ID],[Count],[Amount]) VALUES (1, 40000, 2.5)");
  Exec("INSERT INTO Users([ID],[Count],[Amount]) VALUES (2, -2147483648, 3.5)");
  Exec("INSERT INTO Users([ID],[Count],[Amount]) VALUES (3, 9999999999, null)");
  ASSERT_EQ(session_->Query("Select Count, Amount From Users Order By ID"), 3);
  EXPECT_EQ(session_->GetInt("Count"), 40000);
  EXPECT_EQ(session_->GetInt("Amount"), 2);  // half to even, as Jet rounds
  ASSERT_TRUE(session_->MoveNext());
  EXPECT_EQ(session_->GetInt(0), INT_MIN);
  EXPECT_EQ(session_->GetInt(1), 4);
  ASSERT_TRUE(session_->MoveNext());
  EXPECT_EQ(session_->GetInt(0), INT_MAX);
  EXPECT_EQ(session_->GetInt(1), 0);
  EXPECT_FALSE(session_->GetBool(1));
  EXPECT_DOUBLE_EQ(session_->GetDouble(1), 0.0);
}

TEST_F(AccessVisiterTest, FlagsAndSumsReadAsTheirCallersExpect) {
  ASSERT_EQ(session_->Query("Select * From miscellaneous"), 1);
  EXPECT_TRUE(session_->GetBool("bGridAutoSize"));
  EXPECT_FALSE(session_->GetBool("bExpandColumnsToFit"));
  EXPECT_TRUE(session_->GetBool(3));
  // The sum of a month without records is null and reads as 0.
  ASSERT_EQ(session_->Query("SELECT SUM(Amount) FROM Users WHERE Data>=#2000-2-1# "
                            "AND Data<=#2000-2-29#"), 1);
  EXPECT_DOUBLE_EQ(session_->GetDouble(0), 0.0);
  EXPECT_EQ(session_->GetString(0), QString());
}

TEST_F(AccessVisiterTest, GetValueCopiesTheRawValueAndMayStep) {
  Exec("INSERT INTO Users([ID],[Data],[Item]) VALUES (1,#2010-8-1 10:00#,'x')");
  Exec("INSERT INTO Users([ID],[Data],[Item]) VALUES (2,null,'y')");
  ASSERT_EQ(session_->Query("Select ID, Data, Item From Users Order By ID"), 2);
  QVariant value;
  EXPECT_TRUE(session_->GetValue(value, "Data", false));
  EXPECT_EQ(value.toDateTime(), QDateTime(QDate(2010, 8, 1), QTime(10, 0)));
  EXPECT_TRUE(session_->GetValue(value, 0, true));
  EXPECT_EQ(value.toInt(), 1);
  EXPECT_TRUE(session_->GetValue(value, 1, false));
  EXPECT_TRUE(value.isNull());
  EXPECT_FALSE(session_->GetValue(value, "Item", true));  // stepped past the end
  EXPECT_EQ(value.toString(), "y");
  EXPECT_FALSE(session_->GetValue(value, 9, false));
}

TEST_F(AccessVisiterTest, FieldNamesAreAppended) {
  ASSERT_EQ(session_->Query("Select * From ViewMap"), 0);
  QStringList names = {"a", "b"};
  EXPECT_EQ(session_->GetFieldNames(names), 5);
  EXPECT_EQ(names.mid(2), QStringList({"SortIndex", "ItemSql", "ItemName"}));
}

TEST_F(AccessVisiterTest, IdentityOfTheLastInsert) {
  Exec("Insert Into FilterMemory ([ClassID], [Title])  Values (1,'设置1')");
  Exec("Insert Into FilterMemory ([ClassID], [Title])  Values (2,'设置2')");
  ASSERT_EQ(session_->Query("SELECT @@IDENTITY as ID_NEW"), 1);
  EXPECT_EQ(session_->GetInt("ID_NEW"), 2);
}

TEST_F(AccessVisiterTest, JetFunctionsInUserQueries) {
  Exec("INSERT INTO Users([ID],[Data],[Amount],[Item]) VALUES (1,#2010-8-1 9:30:05#,12.5,'午餐盒 Box')");
  ASSERT_EQ(session_->Query("Select Year(Data), Month(Data), Day(Data), Hour(Data), "
                            "Minute(Data), Second(Data) From Users"), 1);
  QStringList parts;
  for (int i = 0; i < 6; ++i)
    parts.append(session_->GetString(i));
  EXPECT_EQ(parts, QStringList({"2010", "8", "1", "9", "30", "5"}));
  ASSERT_EQ(session_->Query("Select Left(Item, 2), Right(Item, 3), Mid(Item, 2, 3), "
                            "Len(Item), UCase(Item), LCase(Item) From Users"), 1);
  parts.clear();
  for (int i = 0; i < 6; ++i)
    parts.append(session_->GetString(i));
  EXPECT_EQ(parts, QStringList({"午餐", "Box", "餐盒 ", "7", "午餐盒 BOX", "午餐盒 box"}));
  ASSERT_EQ(session_->Query("Select Nz(Memo, 'none'), Nz(Count), IIf(Amount > 10, 'big', "
                            "'small'), CLng(2.5), Int(-1.5), Fix(-1.5), Val('12abc'), "
                            "CStr(0.1) & '!' From Users"), 1);
  parts.clear();
  for (int i = 0; i < 8; ++i)
    parts.append(session_->GetString(i));
  EXPECT_EQ(parts, QStringList({"none", "0", "big", "2", "-2", "-1", "12", "0.1!"}));
  // Left and Right as join words stay join words.
  EXPECT_EQ(session_->Query("Select Users.ID From Users Left Join ViewMap On "
                            "Users.Item = ViewMap.ItemName"), 1);
}

} // namespace
