// Texts compare as Jet compares them: without regard to case in every
// alphabet, in every statement form that compares, in files made before
// this comparison too.
#include "db_test_util.h"

#include "db/jet_collation.h"

#include <algorithm>

namespace {

int Compare(const QString &a, const QString &b) {
  const QByteArray x = a.toUtf8();
  const QByteArray y = b.toUtf8();
  const int result = CompareJetText(x.constData(), int(x.size()), y.constData(),
                                    int(y.size()));
  return result < 0 ? -1 : result > 0 ? 1 : 0;
}

bool Like(const QString &text, const QString &pattern, QChar escape = QChar()) {
  const QByteArray t = text.toUtf8();
  const QByteArray p = pattern.toUtf8();
  return JetLikeMatch(p.constData(), int(p.size()), t.constData(), int(t.size()),
                      escape.unicode());
}

TEST(JetTextOrder, FoldsCaseInEveryAlphabet) {
  EXPECT_EQ(Compare("Café ÉCLAIR", "café éclair"), 0);
  EXPECT_EQ(Compare("ＡＴＭ取款", "ａｔｍ取款"), 0);
  EXPECT_EQ(Compare("ΣΟΦΊΑ", "σοφία"), 0);
  EXPECT_EQ(Compare("Straße", "STRASSE"), 1);  // simple folding: ß stays ß
  EXPECT_EQ(Compare("午餐", "午餐"), 0);
  EXPECT_EQ(Compare("午餐", "晚餐"), -1);  // Chinese by code point, as before
  EXPECT_EQ(Compare("abc", "ab"), 1);
  EXPECT_EQ(Compare("", "a"), -1);
  EXPECT_EQ(Compare("B", "a"), 1);
  EXPECT_EQ(Compare("[", "a"), -1);  // '[' lies between 'Z' and 'a': folded to lower case
}

// The order must be a total order, or indexes break: antisymmetric and
// transitive over a mix of ASCII, accented, full-width, Chinese and invalid
// UTF-8 texts, with the ASCII fast path agreeing with the folded path.
TEST(JetTextOrder, IsATotalOrder) {
  std::vector<QByteArray> texts;
  for (const char *text : {"", "a", "A", "ab", "aB", "Ab", "b", "é", "É", "éa",
                           "Éz", "ez", "Z", "[", "_", "ａ", "Ａ", "z午", "Z午",
                           "午", "餐", "1", "Ω", "ω"})
    texts.emplace_back(text);
  texts.emplace_back("a\xff");
  texts.emplace_back("a\xc3");
  auto cmp = [](const QByteArray &a, const QByteArray &b) {
    const int r = CompareJetText(a.constData(), int(a.size()), b.constData(), int(b.size()));
    return r < 0 ? -1 : r > 0 ? 1 : 0;
  };
  for (const QByteArray &a : texts)
    for (const QByteArray &b : texts) {
      EXPECT_EQ(cmp(a, b), -cmp(b, a)) << a.constData() << " " << b.constData();
      for (const QByteArray &c : texts) {
        const bool ordered = cmp(a, b) > 0 || cmp(b, c) > 0 || cmp(a, c) <= 0;
        EXPECT_TRUE(ordered) << a.constData() << " " << b.constData() << " "
                             << c.constData();
      }
    }
}

TEST(JetLike, WildcardsAndSetsWithoutCase) {
  EXPECT_TRUE(Like("Café ÉCLAIR", "café*"));
  EXPECT_TRUE(Like("Café ÉCLAIR", "CAF_ %"));
  EXPECT_TRUE(Like("ＡＴＭ取款", "ａｔｍ??"));
  EXPECT_FALSE(Like("ＡＴＭ取款", "ａｔｍ?"));
  EXPECT_TRUE(Like("午餐 12", "*餐*"));
  EXPECT_TRUE(Like("b7", "[a-c][0-9]"));
  EXPECT_TRUE(Like("B7", "[A-C]#*") == false);  // '#' is no wildcard here
  EXPECT_TRUE(Like("x7", "[!a-c]7"));
  EXPECT_FALSE(Like("a7", "[!a-c]7"));
  EXPECT_TRUE(Like("[备注]", "[[]备注]"));
  EXPECT_TRUE(Like("a[b", "a[b"));  // an unclosed bracket stands for itself
  EXPECT_TRUE(Like("100%", "100!%", QLatin1Char('!')));
  EXPECT_FALSE(Like("1000", "100!%", QLatin1Char('!')));
  EXPECT_TRUE(Like("", "*"));
  EXPECT_FALSE(Like("", "?"));
  EXPECT_TRUE(Like("aXbXc", "*b*c"));
  EXPECT_FALSE(Like("aXbXd", "*b*c"));
}

class TextComparisonTest : public dbtest::SessionTest {
protected:
  void SetUp() override {
    dbtest::SessionTest::SetUp();
    int id = 0;
    for (const char *item : {"Café", "CAFÉ", "café", "ＡＴＭ取款", "ａｔｍ取款",
                             "Éclair", "apple", "Banana", "午餐"})
      Exec(QStringLiteral("INSERT INTO Users([ID],[Item],[Amount],[trelva_Group_ID]) "
                          "VALUES (%1,'%2',%1,2)").arg(++id).arg(item));
  }
  QStringList Rows(const QString &sql) {
    QStringList rows;
    if (session_->Query(sql))
      do {
        QStringList names;
        const int columns = session_->GetFieldNames(names);
        QStringList cells;
        for (int i = 0; i < columns; ++i)
          cells.append(session_->GetString(i));
        rows.append(cells.join(QLatin1Char('|')));
      } while (session_->MoveNext());
    return rows;
  }
  unsigned CountWhere(const QString &where) { return session_->Count("Users", where); }
};

TEST_F(TextComparisonTest, EveryComparisonIgnoresCase) {
  EXPECT_EQ(CountWhere("Item = 'CAFÉ'"), 3u);
  EXPECT_EQ(CountWhere("[Item]='ａｔｍ取款'"), 2u);
  EXPECT_EQ(CountWhere("Item <> 'café'"), 6u);
  EXPECT_EQ(CountWhere("Item In ('CAFé', 'atm取款', 'APPLE')"), 4u);
  EXPECT_EQ(CountWhere("Item Like 'caf*'"), 3u);
  EXPECT_EQ(CountWhere("Item Like '%取款'"), 2u);
  EXPECT_EQ(CountWhere("Item > 'BANANA' And Item < 'ÉCLAIR'"), 3u);  // the cafés
  EXPECT_EQ(CountWhere("Item = '午餐'"), 1u);
  EXPECT_EQ(Rows("Select Count(*) From Users Where Item='éclair' Or Item='BANANA'"),
            QStringList{"2"});
}

TEST_F(TextComparisonTest, GroupingOrderingAndExtremes) {
  EXPECT_EQ(Rows("Select Count(*) From (Select Distinct Item From Users)"),
            QStringList{"6"});
  EXPECT_EQ(Rows("Select Count(*), Sum(Amount) From Users Group By Item Order By Item"),
            QStringList({"1|7", "1|8", "3|6", "1|6", "1|9", "2|9"}));
  EXPECT_EQ(Rows("Select Item From Users Where ID In (4,6,7,8) Order By Item Desc"),
            QStringList({"ＡＴＭ取款", "Éclair", "Banana", "apple"}));
  EXPECT_EQ(Rows("Select Min(Item), Max(Item) From Users Where ID<>9"),
            QStringList{"apple|ＡＴＭ取款"});
  // A query the pie chart runs: the sum per option value, one slice for
  // "Café" whatever its case.
  EXPECT_EQ(Rows("Select Item, Sum(Amount) From Users Where Item Like 'c*' Group By Item"),
            QStringList({"Café|6"}));
}

TEST_F(TextComparisonTest, TextColumnsOfLaterTablesAndAlteredColumns) {
  Exec("Create Table Notes ([Title] text, [Body] memo)");
  Exec("Insert Into Notes ([Title], [Body]) Values ('Ärger', 'ÖL')");
  Exec("Alter Table Users Alter Column [Memo] varchar(20)");
  Exec("Update Users Set Memo='Ｎｏｔｅ' Where ID=1");
  EXPECT_EQ(session_->Count("Notes", "Title='ärger' And Body='öl'"), 1u);
  EXPECT_EQ(CountWhere("Memo='ｎｏｔｅ'"), 1u);
}

QString IntegrityCheck(sqlite3 *db) {
  sqlite3_stmt *stmt = nullptr;
  sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr);
  QString result;
  while (sqlite3_step(stmt) == SQLITE_ROW)
    result += QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
  sqlite3_finalize(stmt);
  return result;
}

int UserVersion(const QString &path) {
  sqlite3 *db = nullptr;
  sqlite3_open(path.toUtf8().constData(), &db);
  sqlite3_stmt *stmt = nullptr;
  sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &stmt, nullptr);
  const int version = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : -1;
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return version;
}

// A file as the code before this comparison made it: text columns declared
// COLLATE NOCASE, indexes on them built by SQLite's own NOCASE, which folds
// A-Z only, so "Éz" sorts before "éa" there.
class OlderFileTest : public ::testing::Test {
protected:
  QString MakeOlderFile(const QStringList &extra) {
    const QString path = dbtest::MakeAccountFile(
        dir_.filePath(QStringLiteral("older.fz")),
        QStringList{"Create Index UsersItem On Users ([Item])",
                    "Create Index UsersMemo On Users ([Memo], [ID])"} + extra);
    sqlite3 *db = nullptr;
    EXPECT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    int id = 0;
    for (const char *item : {"Éz", "éa", "ÉB", "Ａ", "ａz", "zz", "Ωmega", "ωa", "午餐"})
      dbtest::RunJet(db, {QStringLiteral("Insert Into Users ([ID],[Item],[Memo],"
                                         "[trelva_Group_ID]) Values (%1,'%2','%2',2)")
                              .arg(++id)
                              .arg(item)});
    sqlite3_close(db);
    return path;
  }

  QTemporaryDir dir_;
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
};

TEST_F(OlderFileTest, OpensWithIndexesInTheNewOrder) {
  const QString path = MakeOlderFile({});
  EXPECT_EQ(UserVersion(path), 0);
  {
    // Without the rebuild the old indexes disagree with the new order: the
    // rebuild below is what makes the file sound.
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    RegisterJetCollation(db);
    EXPECT_NE(IntegrityCheck(db), "ok");
    sqlite3_close(db);
  }
  CAccessVisiter session(path);
  ASSERT_TRUE(session.Open()) << qPrintable(prompt_.Last());
  EXPECT_EQ(IntegrityCheck(session.GetConnection()), "ok");
  EXPECT_EQ(session.Count("Users", "Item='ÉA'"), 1u);
  EXPECT_EQ(session.Count("Users", "Item='ａ'"), 1u);
  EXPECT_EQ(session.Count("Users", "Memo>='ω' And Memo<'ωz'"), 2u);
  EXPECT_EQ(session.Count("Users", "Item Like 'é*'"), 3u);
  ASSERT_TRUE(session.Execute("Insert Into Users ([ID],[Item],[trelva_Group_ID]) Values (10,'ÉC',2)"));
  EXPECT_EQ(session.Count("Users", "Item>'éb' And Item<'ÉD'"), 1u);
  EXPECT_EQ(IntegrityCheck(session.GetConnection()), "ok");
  session.Close();
  EXPECT_EQ(UserVersion(path) & 1, 1);
  // The first open did the work once; the next one finds the file sound.
  CAccessVisiter again(path);
  ASSERT_TRUE(again.Open());
  EXPECT_EQ(IntegrityCheck(again.GetConnection()), "ok");
}

// A unique index whose texts differ only in case cannot be rebuilt in the
// new order; the file still opens and keeps working as before.
TEST_F(OlderFileTest, UniqueIndexThatCannotBeRebuiltStillOpens) {
  const QString path = MakeOlderFile({"Create Table Tags ([Name] text)",
                                      "Insert Into Tags ([Name]) Values ('Éa')",
                                      "Insert Into Tags ([Name]) Values ('éa')",
                                      "Create Unique Index TagsName On Tags ([Name])"});
  CAccessVisiter session(path);
  ASSERT_TRUE(session.Open()) << qPrintable(prompt_.Last());
  EXPECT_EQ(session.Count("Users", "Item='ÉA'"), 1u);
  session.Close();
  EXPECT_EQ(UserVersion(path) & 1, 0);
}

} // namespace
