// One writer per account file: the lock is shared within a process, keeps
// other processes out while its holder lives, and dies with its holder.
#include "db/db_test_util.h"

#include "db/db_visiter_factory.h"
#include "storage/file_lock.h"
#include "document/account_file.h"
#include "support/scoped_current_dir.h"
#include "support/template_copy.h"

#include <QElapsedTimer>
#include <QProcess>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A child process that holds the lock of path until it is killed.
class LockHolder {
public:
  explicit LockHolder(const QString &path) {
    process_.start(QStringLiteral(SORVANEL_CRASH_CHILD), {"lock", path});
    EXPECT_TRUE(process_.waitForReadyRead(10000));
    EXPECT_EQ(process_.readLine().trimmed(), "locked");
  }
  ~LockHolder() { Kill(); }
  void Kill() {
    process_.kill();
    process_.waitForFinished(10000);
  }

private:
  QProcess process_;
};

// Whether another process could take the lock of path right now.
bool OthersCanLock(const QString &path) {
  QProcess probe;
  probe.start(QStringLiteral(SORVANEL_CRASH_CHILD), {"lock", path});
  const bool locked = probe.waitForReadyRead(5000) && probe.readLine().trimmed() == "locked";
  probe.kill();
  probe.waitForFinished(5000);
  return locked;
}

class FileLockTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dbtest::MakeAccountFile(dir_.filePath("book.fz"));
  }
  void TearDown() override { CDBVisiterFactory::Instance().DestroyAll(); }
  QString LockFile() const { return dir_.filePath(".book.fz.lock"); }

  QTemporaryDir dir_;
  QString path_;
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
};

TEST_F(FileLockTest, OneProcessMayTakeItAgainUnderAnySpelling) {
  ASSERT_TRUE(QFile::link(path_, dir_.filePath("link.fz")));
  AccountFileLock first;
  AccountFileLock second;
  AccountFileLock third;
  ASSERT_EQ(first.Acquire(path_), AccountFileLock::Taken);
  EXPECT_TRUE(QFile::exists(LockFile()));
  EXPECT_FALSE(OthersCanLock(path_));
  {
    ScopedCurrentDir current(dir_.path());
    EXPECT_EQ(second.Acquire("../" + QDir(dir_.path()).dirName() + "/./book.fz"),
              AccountFileLock::Taken);
  }
  EXPECT_EQ(third.Acquire(dir_.filePath("link.fz")), AccountFileLock::Taken);
  EXPECT_FALSE(OthersCanLock(dir_.filePath("link.fz")));
  // Taking the same file again never lets go of it in between.
  EXPECT_EQ(third.Acquire(path_), AccountFileLock::Taken);
  first.Release();
  second.Release();
  EXPECT_FALSE(OthersCanLock(path_));
  third.Release();
  EXPECT_FALSE(third.IsHeld());
  EXPECT_FALSE(QFile::exists(LockFile()));
  EXPECT_TRUE(OthersCanLock(path_));
}

TEST_F(FileLockTest, AnotherLivingProcessKeepsWritersOutUntilItDies) {
  LockHolder holder(path_);
  AccountFileLock lock;
  QElapsedTimer timer;
  timer.start();
  EXPECT_EQ(lock.Acquire(path_, 300), AccountFileLock::Busy);
  EXPECT_GE(timer.elapsed(), 300);
  EXPECT_FALSE(lock.IsHeld());
  holder.Kill();  // SIGKILL: the lock dies with its process
  timer.restart();
  EXPECT_EQ(lock.Acquire(path_, 5000), AccountFileLock::Taken);
  EXPECT_LT(timer.elapsed(), 1000);
}

TEST_F(FileLockTest, AccountFileOpensForWritingOnlyWhenNobodyElseDoes) {
  const QString other = CopyTemplate(dir_, QStringLiteral("家庭账本"), QStringLiteral("other"));
  const QString busy = CopyTemplate(dir_, QStringLiteral("家庭账本"), QStringLiteral("busy"));
  AccountFile file;
  ASSERT_TRUE(file.OpenAccountFile(other)) << qPrintable(prompt_.Last());
  EXPECT_FALSE(OthersCanLock(other));
  {
    LockHolder holder(busy);
    const QByteArray before = dbtest::FileBytes(busy);
    EXPECT_FALSE(file.OpenAccountFile(busy));
    EXPECT_EQ(prompt_.Last(), "账簿文件正在被其他程序使用！");
    EXPECT_EQ(dbtest::FileBytes(busy), before);
    // What was open stays open, still locked.
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(file.Path(), other);
    EXPECT_FALSE(OthersCanLock(other));
    // Reading needs no lock.
    AccountFile reader;
    EXPECT_TRUE(reader.OpenAccountFile(busy, AccountFile::ForReading));
    EXPECT_GT(reader.Columns().Size(), 0);
  }
  // The program re-opening the file it holds is fine; opening another
  // file lets go of the first.
  ASSERT_TRUE(file.OpenAccountFile(other));
  ASSERT_TRUE(file.OpenAccountFile(busy));
  EXPECT_TRUE(OthersCanLock(other));
  EXPECT_FALSE(OthersCanLock(busy));
  file.Close();
  EXPECT_TRUE(OthersCanLock(busy));
}

// A lock path that is no regular file of its own refuses the open with the
// lock file's name, and nothing is made where a link leads.
TEST_F(FileLockTest, UnusableLockFileRefusesTheOpen) {
  const QByteArray before = dbtest::FileBytes(path_);
  const QString elsewhere = dir_.filePath("elsewhere");
  for (const bool link : {false, true}) {
    ASSERT_TRUE(link ? QFile::link(elsewhere, LockFile()) : QDir(dir_.path()).mkdir(".book.fz.lock"));
    AccountFile file;
    EXPECT_FALSE(file.OpenAccountFile(path_));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(prompt_.Last().startsWith("无法使用账簿文件的锁文件 " + LockFile() + "："))
        << qPrintable(prompt_.Last());
    EXPECT_FALSE(QFileInfo::exists(elsewhere));
    EXPECT_EQ(dbtest::FileBytes(path_), before);
    ASSERT_TRUE(link ? QFile::remove(LockFile()) : QDir(dir_.path()).rmdir(".book.fz.lock"));
  }
}

// In a folder shared by a family, the lock file another user made (and
// only lets others read) still locks for everyone: flock through a
// read-only descriptor.
TEST_F(FileLockTest, AnotherUsersLockFileStillLocks) {
  if (::geteuid() != 0)
    GTEST_SKIP() << "needs root to act as another user";
  ASSERT_EQ(::chmod(QFile::encodeName(dir_.path()).constData(), 0777), 0);
  ASSERT_EQ(::chmod(QFile::encodeName(path_).constData(), 0666), 0);
  QFile lockFile(LockFile());
  ASSERT_TRUE(lockFile.open(QIODevice::WriteOnly));
  lockFile.close();
  ASSERT_EQ(::chmod(QFile::encodeName(LockFile()).constData(), 0644), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0)
      ::_exit(2);
    AccountFileLock lock;
    ::_exit(lock.Acquire(path_, 0) == AccountFileLock::Taken ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
