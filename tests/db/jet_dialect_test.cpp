// The Jet dialect adapter: what each statement form of the system becomes,
// checked by running the result on SQLite.
#include "db_test_util.h"

#include "db/jet_dialect.h"

#include <QDate>

namespace {

class JetDialectTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    dbtest::RunJet(db_, {"Create Table T ([ID] integer, [Name] varchar(50), "
                         "[Day] date, [Memo] text, [Flag] yes/no, [Amount] float)"});
  }
  void TearDown() override { sqlite3_close(db_); }

  QString Sql(const QString &jet) {
    QByteArray sql;
    QString error;
    EXPECT_TRUE(TranslateJetSql(jet, sql, &error)) << qPrintable(jet) << ": "
                                                   << qPrintable(error);
    return QString::fromUtf8(sql);
  }
  QString Error(const QString &jet) {
    QByteArray sql;
    QString error;
    EXPECT_FALSE(TranslateJetSql(jet, sql, &error)) << qPrintable(jet) << " gave "
                                                    << sql.constData();
    return error;
  }
  void Run(const QString &jet) { dbtest::RunJet(db_, {jet}); }
  // The first column of the first row, as text ("<null>" for null).
  QString Scalar(const QString &jet) {
    const QByteArray sql = Sql(jet).toUtf8();
    sqlite3_stmt *stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db_, sql.constData(), -1, &stmt, nullptr), SQLITE_OK)
        << sql.constData() << ": " << sqlite3_errmsg(db_);
    QString value = QStringLiteral("<none>");
    if (stmt && sqlite3_step(stmt) == SQLITE_ROW)
      value = sqlite3_column_type(stmt, 0) == SQLITE_NULL
                  ? QStringLiteral("<null>")
                  : QString::fromUtf8(
                        reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return value;
  }
  QString DeclaredType(const QString &table, const QString &column) {
    return Scalar(QStringLiteral("Select type From pragma_table_info('%1') Where name='%2'")
                      .arg(table, column));
  }

  sqlite3 *db_ = nullptr;
};

TEST_F(JetDialectTest, NothingInsideQuotesOrBracketsIsRewritten) {
  EXPECT_EQ(Sql("Select * From T Where Name='Delete * From #1/1/2000# true @@IDENTITY'"),
            "Select * From T Where Name='Delete * From #1/1/2000# true @@IDENTITY'");
  EXPECT_EQ(Sql("Select [true], [a b], [x\"y] From T"),
            "Select \"true\", \"a b\", \"x\"\"y\" From T");
  // A Jet text between double quotes is a string, not a name.
  EXPECT_EQ(Sql("Select \"it's\" From T"), "Select 'it''s' From T");
  Run("Insert Into T ([Name], [Memo]) Values ('O''Brien', \"say \"\"hi\"\"\")");
  EXPECT_EQ(Scalar("Select Memo From T Where Name='O''Brien'"), "say \"hi\"");
}

TEST_F(JetDialectTest, DateLiteralsBecomeCanonicalText) {
  const struct {
    const char *literal;
    const char *canonical;
  } cases[] = {
      {"#2010/8/1#", "'2010-08-01 00:00:00'"},
      {"#2010-08-01#", "'2010-08-01 00:00:00'"},
      {"#2010-8-1 9:5#", "'2010-08-01 09:05:00'"},
      {"#2010/8/1 23:59:59#", "'2010-08-01 23:59:59'"},
      {"#8/1/2010#", "'2010-08-01 00:00:00'"},
      {"#13:05:09#", "'1899-12-30 13:05:09'"},
      {"#00:00:00#", "'1899-12-30 00:00:00'"},
      {"#1:05 PM#", "'1899-12-30 13:05:00'"},
      {"# 2000-2-29 #", "'2000-02-29 00:00:00'"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(Sql(QStringLiteral("Select %1").arg(c.literal)),
              QStringLiteral("Select %1").arg(c.canonical)) << c.literal;
  for (const char *bad : {"#2010-2-29#", "#1900-2-29#", "#2010-13-1#", "#24:00#",
                          "#abc#", "##", "#2010-8-1 9:60#", "#99-1-1#"})
    EXPECT_TRUE(Error(QStringLiteral("Select %1").arg(bad)).startsWith("Syntax error in date"))
        << bad;
}

TEST_F(JetDialectTest, DatesCompareOrderAndAggregateInTimeOrder) {
  for (const char *day : {"#2010-10-2#", "#2010-9-30#", "#2009-12-31 23:00#", "#2010-2-1#"})
    Run(QStringLiteral("Insert Into T ([Day]) Values (%1)").arg(day));
  EXPECT_EQ(Scalar("Select Min(Day) From T"), "2009-12-31 23:00:00");
  EXPECT_EQ(Scalar("Select Max(Day) From T"), "2010-10-02 00:00:00");
  EXPECT_EQ(Scalar("Select Count(*) From T Where Day>=#2010-2-1# AND Day<=#2010-9-30#"), "2");
  EXPECT_EQ(Scalar("Select Day From T Order By Day Desc"), "2010-10-02 00:00:00");
  EXPECT_EQ(Scalar("Select Count(*) From T Where Day Between #2010/1/1# And #2010/12/31#"), "3");
}

TEST_F(JetDialectTest, TextComparisonIgnoresLetterCase) {
  Run("Insert Into T ([ID], [Name], [Memo]) Values (1, 'Lunch', 'Rice')");
  Run("Insert Into T ([ID], [Name], [Memo]) Values (2, 'apple', '餐饮')");
  EXPECT_EQ(Scalar("Select ID From T Where Name='LUNCH'"), "1");
  EXPECT_EQ(Scalar("Select ID From T Where 'lunch'=Name"), "1");
  EXPECT_EQ(Scalar("Select ID From T Where Memo In ('rice')"), "1");
  EXPECT_EQ(Scalar("Select ID From T Where Memo = '餐饮'"), "2");
  EXPECT_EQ(Scalar("Select Name From T Order By Name"), "apple");
  EXPECT_EQ(Scalar("Select Count(*) From (Select * From T Where ID>0) Where Name='lunch'"), "1");
  EXPECT_EQ(Scalar("Select Count(*) From T Where Name Like 'LU%'"), "1");
}

TEST_F(JetDialectTest, OneStatementPerCall) {
  EXPECT_EQ(Sql("Select 1;"), "Select 1");
  EXPECT_EQ(Sql("  Select 1 ;  \n"), "Select 1");
  EXPECT_EQ(Error("Select 1; Select 2"), "Characters found after end of SQL statement.");
  EXPECT_EQ(Error("Delete * From T;;"), "Characters found after end of SQL statement.");
  EXPECT_FALSE(Error("Select 1; Drop Table T").isEmpty());
  EXPECT_EQ(Scalar("Select Count(*) From sqlite_master Where name='T'"), "1");
}

TEST_F(JetDialectTest, StatementsJetDoesNotHaveAreRefused) {
  for (const char *sql : {"", "  ", "PRAGMA writable_schema=1",
                          "ATTACH 'x.db' AS x", "VACUUM", "BEGIN", "Create Trigger x",
                          "Create Temp Table x (a int)", "Drop Trigger x",
                          "Select * From T Where ID=?", "Select * From T Where ID=:id",
                          "Select * From T Where ID=@id", "Select $x"})
    EXPECT_FALSE(Error(QString::fromUtf8(sql)).isEmpty()) << sql;
  for (const char *sql : {"'abc", "Select [abc", "Select #2010-1-1", "Select \"x"})
    EXPECT_TRUE(Error(QString::fromUtf8(sql)).startsWith("unrecognized token")) << sql;
}

TEST_F(JetDialectTest, JetWordsAndOperators) {
  EXPECT_EQ(Sql("Delete * From T Where ID=3"), "DELETE From T Where ID=3");
  EXPECT_EQ(Sql("DELETE * FROM ViewMap WHERE ItemName='x'"),
            "DELETE FROM ViewMap WHERE ItemName='x'");
  EXPECT_EQ(Sql("Delete T.* From T"), "DELETE From T");
  EXPECT_EQ(Sql("SELECT @@IDENTITY as ID_NEW"), "SELECT last_insert_rowid() as ID_NEW");
  EXPECT_EQ(Sql("SELECT * FROM T Where [Flag]=true Or Flag=False"),
            "SELECT * FROM T Where \"Flag\"=1 Or Flag=0");
  EXPECT_EQ(Scalar("Select 5--3"), "8");  // minus minus, no comment
  EXPECT_EQ(Scalar("Select 7 Mod 4"), "3");
  EXPECT_EQ(Scalar("Select 'a' & 'b'"), "ab");
  for (int i = 1; i <= 5; ++i)
    Run(QStringLiteral("Insert Into T ([ID]) Values (%1)").arg(i));
  EXPECT_EQ(Sql("Select Top 2 ID From T Order By ID Desc"),
            "Select ID From T Order By ID Desc LIMIT 2");
  EXPECT_EQ(Scalar("Select Sum(ID) From (Select Top 2 ID From T Order By ID Desc)"), "9");
  EXPECT_EQ(Scalar("Select Count(*) From (Select DistinctRow ID From T)"), "5");
}

TEST_F(JetDialectTest, ClockFunctionsUseLocalTime) {
  const QString today = QDate::currentDate().toString("yyyy-MM-dd") + " 00:00:00";
  EXPECT_EQ(Scalar("Select date()"), today);
  EXPECT_TRUE(Scalar("Select time()").startsWith("1899-12-30 "));
  EXPECT_TRUE(Scalar("Select Now()").startsWith(QDate::currentDate().toString("yyyy-MM-dd")));
  // A column or a function of that name with arguments stays what it is.
  EXPECT_EQ(Sql("Select [date], date('2010-01-01') From T"),
            "Select \"date\", date('2010-01-01') From T");
}

TEST_F(JetDialectTest, UpgradeStatementsCreateTheDeclaredTypes) {
  Run("Create Table [Group] ([ID] int Primary Key, [parentID] int, [SortID] int default 0, "
      "[Title] text null, [State] int default 0, [NodeKind] int  default 0)");
  Run("Create Table [FilterMemory] ([ID] COUNTER Primary Key, [ClassID] int, "
      "[Title] text null, [flValue] Image)");
  Run("Create Table T_VersionControl ([VersionNumber] int Primary Key, "
      "[VersionDate] datetime default date(), [Remark] text null)");
  Run("Insert Into T_VersionControl (VersionNumber, Remark) Values (1, '一次比较大的改动')");
  Run("Alter Table T Add Column [默认值] varchar(50)");
  EXPECT_EQ(DeclaredType("Group", "ID"), "INT");
  EXPECT_EQ(DeclaredType("Group", "Title"), "TEXT");
  EXPECT_EQ(DeclaredType("FilterMemory", "ID"), "INTEGER");
  EXPECT_EQ(DeclaredType("FilterMemory", "flValue"), "BLOB");
  EXPECT_EQ(DeclaredType("T_VersionControl", "VersionDate"), "DATETIME");
  EXPECT_EQ(DeclaredType("T", "Flag"), "BOOLEAN");
  EXPECT_EQ(DeclaredType("T", "默认值"), "VARCHAR(50)");
  EXPECT_EQ(Scalar("Select VersionDate From T_VersionControl"),
            QDate::currentDate().toString("yyyy-MM-dd") + " 00:00:00");
  Run("Insert Into [Group] ([ID], [parentID], [SortID], [Title], [State], [NodeKind]) "
      "Values (1, -1, 0, '家庭账本', 0, 0)");
  EXPECT_EQ(Scalar("Select SortID + NodeKind From [Group] Where ID=1"), "0");
  // The counter counts on from the highest value ever given.
  Run("Insert Into [FilterMemory] ([ClassID]) Values (1)");
  Run("Insert Into [FilterMemory] ([ClassID]) Values (2)");
  Run("Delete * From FilterMemory Where ID=2");
  Run("Insert Into [FilterMemory] ([ClassID]) Values (3)");
  EXPECT_EQ(Scalar("Select Max(ID) From FilterMemory"), "3");
  // The text columns compare without regard to case.
  Run("Insert Into [Group] ([ID], [Title]) Values (2, 'Trip')");
  EXPECT_EQ(Scalar("Select ID From [Group] Where Title='TRIP'"), "2");
  Run("Alter Table T drop Column [默认值]");
  EXPECT_EQ(DeclaredType("T", "默认值"), "<none>");
}

TEST_F(JetDialectTest, ColumnTypesOfTheRecordTable) {
  Run("Create Table U ([a] integer, [b] float, [c] varchar(50), [d] datetime, [e] date, "
      "[f] time, [g] text, [h] memo, [i] bit, [j] double, [k] long, [l] text(20), "
      "[m] currency, [n] byte)");
  const char *expected[][2] = {{"a", "INTEGER"}, {"b", "FLOAT"}, {"c", "VARCHAR(50)"},
                               {"d", "DATETIME"}, {"e", "DATE"}, {"f", "TIME"},
                               {"g", "TEXT"}, {"h", "TEXT"}, {"i", "BOOLEAN"},
                               {"j", "DOUBLE"}, {"k", "INTEGER"}, {"l", "VARCHAR(20)"},
                               {"m", "CURRENCY"}, {"n", "TINYINT"}};
  for (const auto &column : expected)
    EXPECT_EQ(DeclaredType("U", column[0]), column[1]) << column[0];
  // Texts that look like numbers stay texts; dates stay their text.
  Run("Insert Into U ([c], [g], [h], [e]) Values ('007', '1e3', '12', #2010-1-1#)");
  EXPECT_EQ(Scalar("Select c || g || h From U"), "0071e312");
  EXPECT_EQ(Scalar("Select typeof(e) From U"), "text");
}

TEST_F(JetDialectTest, BadColumnDefinitionsFailCleanly) {
  EXPECT_EQ(Error("Alter Table T Add Column [x] 无此类型"), "Syntax error in field definition.");
  EXPECT_EQ(Error("Create Table V ([x] nosuchtype)"), "Syntax error in field definition.");
  EXPECT_EQ(Error("Create Table V ([x] varchar(abc))"), "Syntax error in field definition.");
  EXPECT_FALSE(Error("Create Table V ()").isEmpty());
  EXPECT_FALSE(Error("Alter Table T Rename To V").isEmpty());
  // A second key column is the engine's to refuse; nothing changes.
  const QString add = Sql("Alter Table T Add Column [x] integer primary key");
  char *message = nullptr;
  EXPECT_NE(sqlite3_exec(db_, add.toUtf8().constData(), nullptr, nullptr, &message), SQLITE_OK);
  EXPECT_STREQ(message, "Cannot add a PRIMARY KEY column");
  sqlite3_free(message);
  EXPECT_EQ(DeclaredType("T", "x"), "<none>");
}

TEST_F(JetDialectTest, AlterColumnNeedsASession) {
  JetTranslation translation;
  QString error;
  ASSERT_TRUE(TranslateJet("Alter Table Users Alter Column [Amount] integer", translation, &error));
  EXPECT_EQ(translation.kind, JetTranslation::AlterColumn);
  EXPECT_EQ(translation.table, "Users");
  EXPECT_EQ(translation.column, "Amount");
  EXPECT_EQ(translation.definition, "INTEGER");
  EXPECT_EQ(translation.targetKind, ColumnKind::Integer);
  ASSERT_TRUE(TranslateJet("Alter Table Users Alter [Memo] varchar(50)", translation, &error));
  EXPECT_EQ(translation.definition, "VARCHAR(50) COLLATE NOCASE");
  EXPECT_FALSE(Error("Alter Table Users Alter Column [Amount] float").isEmpty());
  EXPECT_FALSE(TranslateJet("Alter Table Users Alter Column [x] integer primary key",
                            translation, &error));
}

} // namespace
