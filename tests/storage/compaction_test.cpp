// Compaction of an account file and the file replacement: the account file
// is at every moment either as before or the complete new content.
#include "db/db_test_util.h"

#include "storage/compaction.h"
#include "db/db_visiter_factory.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
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

// Scratch files that no process holds are what killed compactions, copies
// and backups left behind: they go, with their journals. One that a living
// process holds is left alone and does not stand in the way.
TEST_F(CompactionTest, DeadScratchFilesAreSweptHeldOnesKept) {
  const QString dead = dir_.filePath(".book.fz.sorvanel-tmp-dead01");
  const QString held = dir_.filePath(".book.fz.sorvanel-tmp-held01");
  dbtest::WriteBytes(dead, "stale");
  dbtest::WriteBytes(dead + "-journal", "old journal");
  dbtest::WriteBytes(dir_.filePath(".x.fz.sorvanel-tmp-gone01-journal"), "orphan");
  dbtest::WriteBytes(held, "busy");
  const int fd = ::open(QFile::encodeName(held).constData(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);

  EXPECT_TRUE(CompactAccountFile(path_)) << qPrintable(prompt_.Last());
  EXPECT_EQ(Files(dir_), QStringList({".book.fz.sorvanel-tmp-held01", "book.fz"}));
  EXPECT_EQ(dbtest::FileBytes(held), QByteArray("busy"));
  ::close(fd);
  EXPECT_TRUE(CompactAccountFile(path_));
  EXPECT_EQ(Files(dir_), QStringList({"book.fz"}));
}

// Nothing is written through a link: not a "temp.mdb" in the current
// folder that leads to another account file, and not the link that names
// the account file, which stays a link to the compacted file.
TEST_F(CompactionTest, LinksAreNeverWrittenThroughOrReplaced) {
  const QString other = dbtest::MakeAccountFile(dir_.filePath("other.fz"));
  const QByteArray otherBytes = dbtest::FileBytes(other);
  ASSERT_TRUE(QFile::link(other, work_.filePath("temp.mdb")));
  const QString link = work_.filePath("link.fz");
  ASSERT_TRUE(QFile::link(path_, link));
  ASSERT_TRUE(CDBVisiterFactory::Instance().GetVisiter(link)->Execute(
      "Insert Into Users ([ID]) Values (7)"));

  EXPECT_TRUE(CompactAccountFile(link)) << qPrintable(prompt_.Last());
  EXPECT_EQ(dbtest::FileBytes(other), otherBytes);
  EXPECT_TRUE(QFileInfo(work_.filePath("temp.mdb")).isSymLink());
  EXPECT_EQ(QFileInfo(link).symLinkTarget(), path_);
  EXPECT_EQ(CDBVisiterFactory::Instance().GetVisiter(path_)->Count("Users", ""), 1u);
}

// The compacted file keeps the owner, group and mode of the original, so
// the user whose file root compacted can still write to it.
TEST_F(CompactionTest, CompactedFileKeepsOwnerAndMode) {
  if (::geteuid() != 0)
    GTEST_SKIP() << "needs root to give the file to another user";
  const QByteArray name = QFile::encodeName(path_);
  ASSERT_EQ(::chown(name.constData(), 65534, 65534), 0);
  ASSERT_EQ(::chmod(name.constData(), 0640), 0);
  EXPECT_TRUE(CompactAccountFile(path_)) << qPrintable(prompt_.Last());
  struct stat info;
  ASSERT_EQ(::stat(name.constData(), &info), 0);
  EXPECT_EQ(info.st_uid, 65534u);
  EXPECT_EQ(info.st_gid, 65534u);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// A full folder: the message names the folder and the cause, the file is
// as it was and nothing is left beside it.
TEST_F(CompactionTest, FullFolderIsNamedAndLeavesNothing) {
  QTemporaryDir mount;
  const QByteArray point = QFile::encodeName(mount.path());
  if (::geteuid() != 0 ||
      ::mount("sorvanel-test", point.constData(), "tmpfs", 0, "size=512k") != 0)
    GTEST_SKIP() << "needs root to mount a small tmpfs";
  {
    const QString path = dbtest::MakeAccountFile(mount.filePath("full.fz"));
    CDBVisiter *session = CDBVisiterFactory::Instance().GetVisiter(path);
    ASSERT_NE(session, nullptr);
    ASSERT_TRUE(session->Execute(QStringLiteral("Insert Into Users ([ID],[Memo]) Values (1,'%1')")
                                     .arg(QString(150000, QLatin1Char('m')))));
    CDBVisiterFactory::Instance().RemoveVisiter(path);
    const QByteArray before = dbtest::FileBytes(path);
    QFile filler(mount.filePath("filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    filler.write(QByteArray(512 * 1024 - before.size() - 64 * 1024, 'f'));
    filler.close();

    EXPECT_FALSE(CompactAccountFile(path));
    EXPECT_EQ(prompt_.Last(),
              QStringLiteral("无法在文件夹 %1 中写入压缩用的临时文件：磁盘已满").arg(mount.path()));
    EXPECT_EQ(dbtest::FileBytes(path), before);
    EXPECT_EQ(Files(mount), QStringList({"filler", "full.fz"}));
  }
  ::umount(point.constData());
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
  EXPECT_EQ(prompt_.Texts(),
            QStringList({"替换文件失败！\r\n" + dir_.filePath("missing.fz") + "：文件或文件夹不存在"}));
  EXPECT_EQ(dbtest::FileBytes(target), QByteArray("keep me"));

  // A target that cannot be replaced.
  prompt_.Clear();
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.fz"));
  EXPECT_FALSE(ReplaceFile(dir_.filePath("folder.fz"), path_));
  EXPECT_EQ(prompt_.Texts(), QStringList({"删除文件失败！"}));

  // Into a folder that does not exist.
  prompt_.Clear();
  EXPECT_FALSE(ReplaceFile(dir_.filePath("nowhere/x.fz"), path_));
  EXPECT_EQ(prompt_.Texts().size(), 1);
  EXPECT_TRUE(prompt_.Last().startsWith("替换文件失败！\r\n无法在文件夹 " + dir_.filePath("nowhere")));

  // A name too long for the file system says so.
  prompt_.Clear();
  const QString longName = dir_.filePath(QString(300, QLatin1Char('n')) + ".fz");
  EXPECT_FALSE(ReplaceFile(longName, path_));
  EXPECT_EQ(prompt_.Texts(), QStringList({"替换文件失败！\r\n" + longName + "：文件名太长"}));

  // A file copied onto itself stays whole.
  const QByteArray original = dbtest::FileBytes(path_);
  EXPECT_TRUE(ReplaceFile(path_, path_));
  EXPECT_EQ(dbtest::FileBytes(path_), original);
  // No temporary copies are left behind.
  EXPECT_EQ(Files(dir_), QStringList({"book.fz", "copy.fz"}));
}


// A new file follows the umask, as any editor's; a file replaced keeps its
// mode.
TEST_F(CompactionTest, NewCopiesFollowTheUmask) {
  const QString target = dir_.filePath("new.fz");
  ASSERT_EQ(::chmod(QFile::encodeName(path_).constData(), 0644), 0);
  const mode_t saved = ::umask(077);
  const bool copied = ReplaceFile(target, path_);
  ::umask(saved);
  ASSERT_TRUE(copied) << qPrintable(prompt_.Last());
  struct stat info;
  ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
  ASSERT_TRUE(ReplaceFile(target, path_));
  ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

} // namespace
