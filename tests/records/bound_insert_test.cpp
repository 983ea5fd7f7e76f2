// Adding records through the session's prepared INSERT: every value must be
// stored exactly as the statement text with its literals stores it (type
// and value, to the last bit), failures must fail alike, and a change of a
// column's type must reach the prepared statement.
#include "record_test_file.h"

#include "db/db_visiter.h"

#include <QRandomGenerator>

#include <sqlite3.h>

#include <cmath>
#include <string>

namespace {

class BoundInsertTest : public RecordFileTest {
public:
  // Each column of the record as "type:quoted value".
  QStringList Stored(int key, int groupId) {
    QStringList cells;
    for (const ColumnDef &column : file_.Columns().All())
      cells += Rows(QStringLiteral("SELECT typeof([%1]) & ':' & "
                                   "CStr(Nz([%1], 'null')) FROM Users WHERE "
                                   "[ID]=%2 And [trelva_Group_ID]=%3")
                        .arg(column.fieldName)
                        .arg(key)
                        .arg(groupId));
    return cells;
  }
  // The same check in SQLite's own terms, bypassing every reader.
  QStringList Raw(int key, int groupId) {
    QStringList cells;
    sqlite3 *db = Session().GetConnection();
    for (const ColumnDef &column : file_.Columns().All()) {
      const QByteArray sql =
          QStringLiteral("SELECT typeof(\"%1\") || ':' || quote(\"%1\") FROM "
                         "Users WHERE ID=%2 AND trelva_Group_ID=%3")
              .arg(column.fieldName)
              .arg(key)
              .arg(groupId)
              .toUtf8();
      sqlite3_stmt *stmt = nullptr;
      sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
      cells += sqlite3_step(stmt) == SQLITE_ROW
                   ? QString::fromUtf8(reinterpret_cast<const char *>(
                         sqlite3_column_text(stmt, 0)))
                   : QStringLiteral("<none>");
      sqlite3_finalize(stmt);
    }
    return cells;
  }
};

// The texts a row holds, item after item.
std::string Texts(const CRowItem &row) {
  QStringList texts;
  for (const FieldValueItem &item : row.items)
    texts.append(item.text);
  return texts.join(QLatin1Char('|')).toStdString();
}

QString RandomText(QRandomGenerator &random) {
  static const char *const kFixed[] = {
      "", "0", "-0", "12.5", "-2.5", "0.1", "1e300", "-1e-300", "1e400",
      "9007199254740993", "-9223372036854775808", "99999999999999999999",
      "0.30000000000000004", "123456.789012345678", "2.5e3", "inf", "nan",
      "abc", " 7", "O'Brien", "超市, 第3笔", "2024/2/29", "2024/2/30",
      "2024-12-31 23:59:59", "1899/12/30", "9:05:07", "25:00:00", "3.5",
      "1/1/100", "9999/12/31"};
  if (random.bounded(3) == 0)
    return QString::fromUtf8(kFixed[random.bounded(int(std::size(kFixed)))]);
  // Numbers with many decimals, where a reading off by one bit shows.
  const double value = (random.generateDouble() - 0.5) *
                       std::pow(10.0, random.bounded(-6, 16));
  return QString::number(value, 'g', random.bounded(1, 18));
}

// Stores random rows both ways, the text in group 2, the bound row under
// the same key in group 3, and compares them column by column.
void ExpectSameAsText(BoundInsertTest &test, CDBVisiter &session,
                      AccountFile &file, int rows) {
  QRandomGenerator random(20261207);
  int stored = 0;
  for (int key = 1; key <= rows; ++key) {
    CRowItem row = CRowItem::EmptyRow(file, 2);
    for (FieldValueItem &item : row.items)
      item.text = RandomText(random);
    row.SetKeyValue(key);
    CRowItem copy = row;
    copy.groupId = 3;
    const QString sql = row.InsertStatement();
    const bool byText = session.Execute(sql);
    ASSERT_EQ(byText, copy.InsertIntoDatabase()) << qPrintable(sql);
    if (!byText)
      continue;
    ++stored;
    EXPECT_EQ(test.Raw(key, 2), test.Raw(key, 3)) << qPrintable(sql);
    EXPECT_EQ(test.Stored(key, 2), test.Stored(key, 3)) << qPrintable(sql);
    // The row holds what reading it back gives, whether the session knew
    // the stored texts or read them.
    EXPECT_EQ(Texts(copy), Texts(copy.Reload())) << qPrintable(sql);
  }
  EXPECT_GT(stored, rows / 2);
}

TEST_F(BoundInsertTest, StoresWhatTheStatementTextStores) {
  ExpectSameAsText(*this, Session(), file_, 300);
}

// Where the file declares a number column as text, the column keeps the
// literal's number as SQLite writes it, not the bound text.
TEST_F(BoundInsertTest, NumbersInTextColumnsAreStoredAsTheLiteralNumber) {
  ASSERT_TRUE(Session().Execute("ALTER TABLE Users ALTER COLUMN [Amount] Text"));
  ASSERT_TRUE(Session().Execute("ALTER TABLE Users ALTER COLUMN [Count] Text"));
  ExpectSameAsText(*this, Session(), file_, 300);
}

TEST_F(BoundInsertTest, FailsAloneWithTheEngineMessageAndStoresNothing) {
  RawSql("CREATE TRIGGER refuse BEFORE INSERT ON Users WHEN NEW.Item='bad' "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  CRowItem good = NewRow(2, {{"Item", "good"}});
  CRowItem bad = NewRow(2, {{"Item", "bad"}});
  ASSERT_TRUE(good.InsertIntoDatabase());
  EXPECT_FALSE(bad.InsertIntoDatabase());
  EXPECT_EQ(prompt_.Texts(), QStringList({"refused", "失败！"}));
  EXPECT_EQ(Records(2), QStringList({"1|good|0|1|0|"}));
  // The statement was reset: nothing holds the file.
  EXPECT_TRUE(Session().Execute("DELETE * FROM Users"));
}

TEST_F(BoundInsertTest, ARowChangedByATriggerHoldsWhatTheTriggerStored) {
  // The prepared statement has stored a row before the trigger is made.
  ASSERT_TRUE(NewRow(2, {{"Item", "first"}}).InsertIntoDatabase());
  RawSql("CREATE TRIGGER mark AFTER INSERT ON Users BEGIN UPDATE Users SET "
         "Item=NEW.Item || '!' WHERE rowid=NEW.rowid; END");
  for (int i = 0; i < 2; ++i) {
    CRowItem row = NewRow(2, {{"Item", "good"}});
    ASSERT_TRUE(row.InsertIntoDatabase());
    EXPECT_EQ(Texts(row), Texts(row.Reload()));
    EXPECT_EQ(row.Item(QStringLiteral("Item"))->text, QStringLiteral("good!"));
  }
}

TEST_F(BoundInsertTest, AChangedColumnTypeReachesThePreparedStatement) {
  const QString count = QStringLiteral("SELECT typeof([Count]) & CStr([Count]) "
                                       "FROM Users ORDER BY [ID]");
  ASSERT_TRUE(NewRow(2, {{"Count", "2.5"}}).InsertIntoDatabase());
  ASSERT_TRUE(Session().Execute("ALTER TABLE Users ALTER COLUMN [Count] Double"));
  ASSERT_TRUE(NewRow(2, {{"Count", "2.5"}}).InsertIntoDatabase());
  EXPECT_EQ(Rows(count), QStringList({"real2", "real2.5"}));
  ASSERT_TRUE(Session().Execute("ALTER TABLE Users ALTER COLUMN [Count] Long"));
  ASSERT_TRUE(NewRow(2, {{"Count", "3.5"}}).InsertIntoDatabase());
  EXPECT_EQ(Rows(count), QStringList({"integer2", "integer2", "integer4"}));
}

} // namespace
