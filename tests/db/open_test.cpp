// Opening: a file that is no account file fails with a clear message and
// is left exactly as it was; error code texts.
#include "db_test_util.h"

#include "db/describe_error.h"
#include "support/scoped_current_dir.h"

namespace {

class OpenTest : public ::testing::Test {
protected:
  void ExpectRefused(const QString &path, const QString &reason) {
    SCOPED_TRACE(qPrintable(path));
    const QByteArray before = dbtest::FileBytes(path);
    const QStringList filesBefore = QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden);
    prompt_.Clear();
    CAccessVisiter session(path);
    EXPECT_FALSE(session.Open());
    EXPECT_FALSE(session.IsConnectionOpen());
    EXPECT_EQ(prompt_.Texts(),
              QStringList({QStringLiteral("打开数据库失败！\r\n错误代码:") + reason}));
    EXPECT_EQ(session.Query("Select * From Users"), 0);
    EXPECT_EQ(dbtest::FileBytes(path), before);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), filesBefore);
  }

  QTemporaryDir dir_;
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
};

TEST_F(OpenTest, FilesThatAreNoAccountFileAreRefusedAndUntouched) {
  const QString good = dbtest::MakeAccountFile(dir_.filePath("good.fz"));
  const QByteArray bytes = dbtest::FileBytes(good);
  ASSERT_GT(bytes.size(), 4096);

  const QString garbage = dir_.filePath("garbage.fz");
  dbtest::WriteBytes(garbage, QByteArray(5000, 'x'));
  ExpectRefused(garbage, "file is not a database");

  const QString truncated = dir_.filePath("truncated.fz");
  dbtest::WriteBytes(truncated, bytes.left(bytes.size() - 1024));
  ExpectRefused(truncated, "database disk image is malformed");
  dbtest::WriteBytes(truncated, bytes.left(bytes.size() - 4096));
  ExpectRefused(truncated, "database disk image is malformed");

  // The head of the second page overwritten: only a full read finds it.
  QByteArray damaged = bytes;
  for (int i = 4096; i < 4196; ++i)
    damaged[i] = char(0xA5);
  const QString corrupt = dir_.filePath("corrupt.fz");
  dbtest::WriteBytes(corrupt, damaged);
  ExpectRefused(corrupt, "database disk image is malformed");

  const QString empty = dir_.filePath("empty.fz");
  dbtest::WriteBytes(empty, QByteArray());
  ExpectRefused(empty, "file is not a database");

  sqlite3 *db = nullptr;
  const QString other = dir_.filePath("other.fz");
  ASSERT_EQ(sqlite3_open(other.toUtf8().constData(), &db), SQLITE_OK);
  dbtest::RunJet(db, {"Create Table Users ([ID] int)", "Create Table TableStyle ([ID] int)",
                      "Create Table miscellaneous ([MainShowTip] text)"});
  sqlite3_close(db);
  ExpectRefused(other, other + " 不是账簿文件：缺少表 ViewMap");

  // A column the program needs, its name damaged: refused at the open, not
  // at the first record stored.
  const QString broken = dbtest::MakeAccountFile(
      dir_.filePath("broken.fz"),
      {"Create Table T_VersionControl ([VersionNumber] int)",
       "Create Table [Group] ([ID] int, [parentID] int, [SortID] int, "
       "[Title] text, [State] int, [NodeKind] int)"});
  ASSERT_EQ(sqlite3_open(broken.toUtf8().constData(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "ALTER TABLE Users RENAME COLUMN trelva_Group_ID TO trelva_Group_IE",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  ExpectRefused(broken, "账簿文件已损坏：" + broken + " 的表 Users 缺少列 trelva_Group_ID");

  // Something there that is no regular file is not "missing".
  const QString folder = dir_.filePath("folder.fz");
  ASSERT_TRUE(QDir().mkdir(folder));
  ExpectRefused(folder, folder + " 不是普通文件，不能作为账簿文件打开");
}

// A name beginning with "file:" is a file name like any other, never an
// SQLite URI that would open some other file.
TEST_F(OpenTest, NamesAreNeverUris) {
  const QDir here(dir_.path());
  dbtest::MakeAccountFile(here.filePath("file:uri.fz"));
  ScopedCurrentDir inDir(dir_.path());
  CAccessVisiter session("file:uri.fz");
  ASSERT_TRUE(session.Open()) << qPrintable(prompt_.Last());
  ASSERT_TRUE(session.Execute("Insert Into Users ([ID]) Values (1)"));
  EXPECT_EQ(here.entryList(QDir::Files), QStringList({"file:uri.fz"}));
}

TEST_F(OpenTest, MissingFilesAreNotCreated) {
  const QString missing = dir_.filePath("missing.fz");
  CAccessVisiter session(missing);
  EXPECT_FALSE(session.Open());
  EXPECT_EQ(prompt_.Last(), QStringLiteral("打开数据库失败！\r\n错误代码:unable to open database file"));
  EXPECT_FALSE(QFile::exists(missing));
  CAccessVisiter folder(dir_.path());
  EXPECT_FALSE(folder.Open());
}

TEST_F(OpenTest, AnAccountFileOpensAndStaysASingleFile) {
  const QString good = dbtest::MakeAccountFile(dir_.filePath("good.fz"));
  CAccessVisiter session(good);
  ASSERT_TRUE(session.Open());
  EXPECT_TRUE(session.IsConnectionOpen());
  ASSERT_TRUE(session.Execute("Insert Into Users ([ID]) Values (1)"));
  // No journal or WAL files linger beside the account file.
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"good.fz"}));
  EXPECT_TRUE(session.Close());
  EXPECT_FALSE(session.IsConnectionOpen());
  EXPECT_FALSE(session.IsResultOpen());
  EXPECT_FALSE(session.Execute("Insert Into Users ([ID]) Values (2)"));
  EXPECT_TRUE(prompt_.Texts().size() == 1);
}

TEST(DescribeErrorTest, EngineTextsAndFallbacks) {
  EXPECT_EQ(DescribeError(SQLITE_NOTADB), "file is not a database");
  EXPECT_EQ(DescribeError(SQLITE_CANTOPEN), "unable to open database file");
  EXPECT_EQ(DescribeError(SQLITE_IOERR_READ), "disk I/O error");
  EXPECT_EQ(DescribeError(int(0x80040201u)), "IDispatch error #1");
  EXPECT_EQ(DescribeError(int(0x8004FFFFu)), "IDispatch error #65023");
  EXPECT_EQ(DescribeError(int(0x80040200u)), "Unknown error 0x80040200");
  EXPECT_EQ(DescribeError(int(0x80070005u)), "Unknown error 0x80070005");
}

} // namespace
