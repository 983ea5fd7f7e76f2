// The main show message: queries in braces replaced by their results, the
// table Users narrowed to the shown records as a whole word only.
#include "base/scripted_prompt.h"
#include "db/db_visiter.h"
#include "model/main_show_text.h"
#include "model/misc_settings.h"
#include "support/test_file.h"

#include <gtest/gtest.h>

namespace {

// Passes every call to a real session and keeps the queries it was given.
class RecordingSession : public CDBVisiter {
public:
  explicit RecordingSession(CDBVisiter &inner)
      : CDBVisiter(inner.DataSource()), inner_(inner) {}

  QStringList queries;

  bool Open() override { return true; }
  int Query(const QString &sql) override {
    queries.append(sql);
    return inner_.Query(sql);
  }
  int QueryReadOnly(const QString &sql) override {
    queries.append(sql);
    return inner_.QueryReadOnly(sql);
  }
  QString QueryError() const override { return inner_.QueryError(); }
  bool Execute(const QString &sql) override { return inner_.Execute(sql); }
  int QueryTable(const QString &table) override {
    return inner_.QueryTable(table);
  }
  unsigned Count(const QString &table, QString where) override {
    return inner_.Count(table, where);
  }
  bool GetValue(QVariant &out, int position, bool step) override {
    return inner_.GetValue(out, position, step);
  }
  bool GetValue(QVariant &out, const QString &name, bool step) override {
    return inner_.GetValue(out, name, step);
  }
  QString GetString(const QString &name) override {
    return inner_.GetString(name);
  }
  QString GetString(int position) override { return inner_.GetString(position); }
  int GetInt(const QString &name) override { return inner_.GetInt(name); }
  int GetInt(int position) override { return inner_.GetInt(position); }
  bool GetBool(const QString &name) override { return inner_.GetBool(name); }
  bool GetBool(int position) override { return inner_.GetBool(position); }
  double GetDouble(const QString &name) override {
    return inner_.GetDouble(name);
  }
  double GetDouble(int position) override { return inner_.GetDouble(position); }
  int GetFieldNames(QStringList &names) override {
    return inner_.GetFieldNames(names);
  }
  bool MoveNext() override { return inner_.MoveNext(); }

private:
  CDBVisiter &inner_;
};

class MainShowTextTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(file_.Valid());
    for (int id = 1; id <= 3; ++id)
      ASSERT_TRUE(file_.Session().Execute(
          QStringLiteral("Insert Into Users ([ID], [Amount], [Item], "
                         "[trelva_Group_ID]) Values (%1, %2, 'i%1', 2)")
              .arg(id)
              .arg(id * 10)));
  }

  QString Compose(const QString &tip, const QString &where = QString()) {
    return ComposeMainShowText(file_.Session(), tip, where);
  }

  TestFile file_;
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
};

TEST_F(MainShowTextTest, EmptyTipAsksForAMessage) {
  EXPECT_EQ(Compose(""), "请设置主显示消息！！");
  EXPECT_EQ(Compose("", "ID=1"), "请设置主显示消息！！");
  MiscSettings settings;
  EXPECT_EQ(ComposeMainShowText(file_.Session(), settings, ""),
            "请设置主显示消息！！");
}

TEST_F(MainShowTextTest, QueriesAreReplacedByTheirFirstCell) {
  EXPECT_EQ(Compose("没有查询 Users"), "没有查询 Users");
  EXPECT_EQ(Compose("共{Select Count(*) From Users}笔，合计{Select Sum(Amount) "
                    "From Users}元"),
            "共3笔，合计60元");
  // Failing and empty queries stay as written; an open brace without a
  // closing one ends the search.
  EXPECT_EQ(Compose("{Select Nothing}|{Select ID From Users Where ID=9}|{}"),
            "{Select Nothing}|{Select ID From Users Where ID=9}|{}");
  EXPECT_EQ(Compose("{{Select Max(ID) From Users}}} {Select 1"),
            "3}} {Select 1");
  // Sums show without binary noise; the sum of no records is 0.
  EXPECT_EQ(Compose("{Select -96030.85 + 0.1 + 0.2 - 0.3}|{Select Sum(Amount) "
                    "From Users Where ID=9}|{Select 1/3.0}"),
            "-96030.85|0|0.333333");
  EXPECT_TRUE(prompt_.Texts().isEmpty());
}

TEST_F(MainShowTextTest, WhereTextNarrowsEveryWholeWordUsers) {
  EXPECT_EQ(Compose("{Select Count(*) From Users} / {Select Sum(Amount) From "
                    "users}",
                    "Amount >= 20"),
            "2 / 50");
  EXPECT_EQ(RestrictUsersTable("Users MyUsers Users_1 用户Users USERS.x", "w"),
            "(Select * From Users Where w) MyUsers Users_1 用户Users "
            "(Select * From Users Where w).x");
}

TEST_F(MainShowTextTest, WhereTextIsInsertedLiterally) {
  EXPECT_EQ(RestrictUsersTable("From Users", "Item='$1' Or Item='\\n$&'"),
            "From (Select * From Users Where Item='$1' Or Item='\\n$&')");
  EXPECT_EQ(Compose("{Select Count(*) From Users}", "Item <> '$1\\'"), "3");
}

TEST_F(MainShowTextTest, AQueryUsedTwiceRunsOnce) {
  RecordingSession session(file_.Session());
  const QString text = ComposeMainShowText(
      session, "{Select Max(Amount) From Users} = {Select Max(Amount) From Users}",
      "");
  EXPECT_EQ(text, "30 = 30");
  EXPECT_EQ(session.queries, QStringList{"Select Max(Amount) From Users"});
}

// A tip comes with the file: its pieces read, and one that would write
// stays as written without having run.
TEST_F(MainShowTextTest, PiecesThatWouldChangeTheFileAreNotRun) {
  const QString tip =
      "A {Update Users Set Item='HACKED' Where ID=2} B {Delete From ViewMap} "
      "C {Select Count(*) From ViewMap}";
  EXPECT_EQ(Compose(tip),
            "A {Update Users Set Item='HACKED' Where ID=2} B {Delete From "
            "ViewMap} C 1");
  EXPECT_EQ(file_.Cell("Select Item From Users Where ID=2"), "i2");
  EXPECT_TRUE(prompt_.Texts().isEmpty());
}

TEST_F(MainShowTextTest, BadUtf16IsLeftAlone) {
  const QString tip = QString(QChar(0xDC00)) + "Users";
  EXPECT_EQ(RestrictUsersTable(tip, "ID=1"), tip);
}

} // namespace
