// The session factory: one session per exact path, and failures that are
// reported to the caller instead of ending the process.
#include "db_test_util.h"

#include "db/db_visiter_factory.h"

namespace {

class FactoryTest : public ::testing::Test {
protected:
  void SetUp() override {
    path_ = dbtest::MakeAccountFile(dir_.filePath("book.fz"));
  }
  void TearDown() override { CDBVisiterFactory::Instance().DestroyAll(); }

  CDBVisiterFactory &factory_ = CDBVisiterFactory::Instance();
  QTemporaryDir dir_;
  QString path_;
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
};

TEST_F(FactoryTest, OneSessionPerExactPath) {
  CDBVisiter *session = factory_.GetVisiter(path_);
  ASSERT_NE(session, nullptr);
  EXPECT_TRUE(session->IsConnectionOpen());
  EXPECT_EQ(session->DataSource(), path_);
  EXPECT_EQ(factory_.GetVisiter(path_), session);
  // Another spelling of the same file is another session: letter case (here
  // through a link, as this file system tells case apart) and "./".
  const QString upper = dir_.filePath("BOOK.fz");
  ASSERT_TRUE(QFile::link(path_, upper));
  CDBVisiter *other = factory_.GetVisiter(upper);
  ASSERT_NE(other, nullptr);
  EXPECT_NE(other, session);
  CDBVisiter *dotted = factory_.GetVisiter(dir_.path() + "/./book.fz");
  ASSERT_NE(dotted, nullptr);
  EXPECT_NE(dotted, session);
  // What one session writes the other reads.
  ASSERT_TRUE(session->Execute("Insert Into Users ([ID]) Values (5)"));
  EXPECT_EQ(other->Count("Users", QString()), 1u);
  EXPECT_TRUE(prompt_.Texts().isEmpty());
}

TEST_F(FactoryTest, RemovedSessionIsMadeAfresh) {
  CDBVisiter *session = factory_.GetVisiter(path_);
  ASSERT_NE(session, nullptr);
  ASSERT_EQ(session->Query("Select * From miscellaneous"), 1);
  factory_.RemoveVisiter(path_);
  factory_.RemoveVisiter(path_);  // twice is harmless
  CDBVisiter *again = factory_.GetVisiter(path_);
  ASSERT_NE(again, nullptr);
  EXPECT_FALSE(again->IsResultOpen());  // a new session, not the old one
  factory_.DestroyAll();
  factory_.DestroyAll();
}

TEST_F(FactoryTest, FailuresAreShownAndReturnedToTheCaller) {
  const QString missing = dir_.filePath("missing.fz");
  EXPECT_EQ(factory_.GetVisiter(missing), nullptr);
  EXPECT_EQ(prompt_.Texts(),
            QStringList({"打开数据库失败！\r\n错误代码:unable to open database file",
                         "初始化数据库连接失败！"}));
  // Nothing is cached for the failed path: once the file is there it opens.
  dbtest::MakeAccountFile(missing);
  EXPECT_NE(factory_.GetVisiter(missing), nullptr);

  prompt_.Clear();
  EXPECT_EQ(factory_.GetVisiter(42, path_), nullptr);
  EXPECT_EQ(prompt_.Texts(), QStringList({"无此数据库类型！"}));
}

TEST_F(FactoryTest, TypesRegisterOnce) {
  int made = 0;
  const int count = factory_.RegisterType(0, [&](const QString &) {
    ++made;
    return std::unique_ptr<CDBVisiter>();
  });
  EXPECT_GE(count, 1);
  EXPECT_NE(factory_.GetVisiter(path_), nullptr);  // type 0 is still SQLite
  EXPECT_EQ(made, 0);
  const int after = factory_.RegisterType(7, [&](const QString &path) {
    ++made;
    auto session = std::make_unique<CAccessVisiter>(path);
    return session->Open() ? std::unique_ptr<CDBVisiter>(std::move(session)) : nullptr;
  });
  EXPECT_EQ(after, count + 1);
  EXPECT_EQ(factory_.RegisterType(7, nullptr), after);
  CDBVisiter *seven = factory_.GetVisiter(7, path_);
  ASSERT_NE(seven, nullptr);
  EXPECT_NE(seven, factory_.GetVisiter(path_));
  EXPECT_EQ(factory_.GetVisiter(7, path_), seven);
  EXPECT_EQ(made, 1);
}

} // namespace
