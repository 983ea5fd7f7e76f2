// Compaction of an account file and the file replacement: the account file
// is at every moment either as before or the complete new content.
#include "db_test_util.h"

#include "db/compaction.h"
#include "db/db_visiter_factory.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

class CompactionTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(work_.isValid());
    previous_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work_.path()));  // temp.mdb lands here
    path_ = dbtest::MakeAccountFile(dir_.filePath("book.fz"));
  }
  void TearDown() override {
    CDBVisiterFactory::Instance().DestroyAll();
    QDir::setCurrent(previous_);
  }
  QStringList Files(const QTemporaryDir &dir) const {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
  }

  QTemporaryDir dir_;
  QTemporaryDir work_;
  QString previous_;
  QString path_;
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
};

TEST_F(CompactionTest, CompactsKeepsTheDataAndDropsTheSession) {
  CDBVisiter *session = CDBVisiterFactory::Instance().GetVisiter(path_);
  ASSERT_NE(session, nullptr);
  const QString memo(8000, QLatin1Char('m'));
  for (int i = 1; i <= 50; ++i)
    ASSERT_TRUE(session->Execute(
        QStringLiteral("Insert Into Users ([ID],[Memo]) Values (%1,'%2')").arg(i).arg(memo)));
  ASSERT_TRUE(session->Execute("Delete * From Users Where ID > 3"));
  const qint64 before = QFileInfo(path_).size();

  EXPECT_TRUE(CompactAccountFile(path_));
  EXPECT_TRUE(prompt_.Texts().isEmpty());
  EXPECT_LT(QFileInfo(path_).size(), before / 4);
  EXPECT_EQ(Files(work_), QStringList());  // temp.mdb is gone
  EXPECT_EQ(Files(dir_), QStringList({"book.fz"}));
  CDBVisiter *again = CDBVisiterFactory::Instance().GetVisiter(path_);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->Count("Users", QString()), 3u);
  ASSERT_EQ(again->Query("Select Memo From Users Where ID=3"), 1);
  EXPECT_EQ(again->GetString(0), memo);
}

// A scratch file that no process holds is left over from a crash: it is
// cleared and the compaction runs. One that a living compaction holds makes
// this one fail with the engine's text and changes nothing.
TEST_F(CompactionTest, StaleScratchFileIsClearedAHeldOneFails) {
  const QString scratch = work_.filePath("temp.mdb");
  for (const QByteArray &stale : {QByteArray("stale"), dbtest::FileBytes(path_)}) {
    dbtest::WriteBytes(scratch, stale);
    dbtest::WriteBytes(scratch + "-journal", "old journal");
    EXPECT_TRUE(CompactAccountFile(path_)) << qPrintable(prompt_.Last());
    EXPECT_EQ(Files(work_), QStringList());
  }

  const int held = ::open(QFile::encodeName(scratch).constData(), O_RDWR | O_CREAT, 0644);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
  ASSERT_EQ(::write(held, "busy", 4), 4);
  const QByteArray before = dbtest::FileBytes(path_);
  EXPECT_FALSE(CompactAccountFile(path_));
  EXPECT_EQ(prompt_.Texts(), QStringList({"output file already exists"}));
  EXPECT_EQ(dbtest::FileBytes(path_), before);
  EXPECT_EQ(dbtest::FileBytes(scratch), QByteArray("busy"));
  // The account file is still usable, and compacts once the other is done.
  CDBVisiter *session = CDBVisiterFactory::Instance().GetVisiter(path_);
  ASSERT_NE(session, nullptr);
  EXPECT_TRUE(session->Execute("Insert Into Users ([ID]) Values (1)"));
  ::close(held);
  EXPECT_TRUE(CompactAccountFile(path_));
  EXPECT_EQ(Files(work_), QStringList());
  EXPECT_EQ(CDBVisiterFactory::Instance().GetVisiter(path_)->Count("Users", ""), 1u);
}

TEST_F(CompactionTest, MissingOrBrokenFilesAreLeftAlone) {
  ASSERT_NE(CDBVisiterFactory::Instance().GetVisiter(path_), nullptr);
  ASSERT_TRUE(QFile::remove(path_));  // deleted behind the session's back
  EXPECT_FALSE(CompactAccountFile(path_));
  EXPECT_FALSE(CompactAccountFile(QString()));
  EXPECT_TRUE(prompt_.Texts().isEmpty());

  const QString garbage = dir_.filePath("garbage.fz");
  dbtest::WriteBytes(garbage, QByteArray(3000, 'g'));
  EXPECT_FALSE(CompactAccountFile(garbage));
  EXPECT_EQ(prompt_.Texts(), QStringList({"file is not a database"}));
  EXPECT_EQ(dbtest::FileBytes(garbage), QByteArray(3000, 'g'));
  EXPECT_EQ(Files(work_), QStringList());
}

TEST_F(CompactionTest, ReplaceFileCopiesCompletelyOrNotAtAll) {
  const QString target = dir_.filePath("copy.fz");
  EXPECT_TRUE(ReplaceFile(target, path_));  // nothing there yet: a plain copy
  EXPECT_EQ(dbtest::FileBytes(target), dbtest::FileBytes(path_));

  dbtest::WriteBytes(target, "old content");
  EXPECT_TRUE(ReplaceFile(target, path_));
  EXPECT_EQ(dbtest::FileBytes(target), dbtest::FileBytes(path_));
  EXPECT_TRUE(prompt_.Texts().isEmpty());

  // A missing source leaves the target as it was.
  dbtest::WriteBytes(target, "keep me");
  EXPECT_FALSE(ReplaceFile(target, dir_.filePath("missing.fz")));
  EXPECT_EQ(prompt_.Texts(), QStringList({"替换文件失败！"}));
  EXPECT_EQ(dbtest::FileBytes(target), QByteArray("keep me"));

  // A target that cannot be replaced.
  prompt_.Clear();
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.fz"));
  EXPECT_FALSE(ReplaceFile(dir_.filePath("folder.fz"), path_));
  EXPECT_EQ(prompt_.Texts(), QStringList({"删除文件失败！"}));

  // Into a folder that does not exist.
  prompt_.Clear();
  EXPECT_FALSE(ReplaceFile(dir_.filePath("nowhere/x.fz"), path_));
  EXPECT_EQ(prompt_.Texts(), QStringList({"替换文件失败！"}));

  // A file copied onto itself stays whole.
  const QByteArray original = dbtest::FileBytes(path_);
  EXPECT_TRUE(ReplaceFile(path_, path_));
  EXPECT_EQ(dbtest::FileBytes(path_), original);
  // No temporary copies are left behind.
  EXPECT_EQ(Files(dir_), QStringList({"book.fz", "copy.fz"}));
}

} // namespace
