// An account file open in another running program: opening it here says it
// is in use and opens nothing, and no new file or copy is written over it.
#include "app/main_frame.h"
#include "app/sorvanel_doc.h"
#include "app/startup_settings.h"
#include "db/db_visiter.h"
#include "document/account_file.h"
#include "app_test_env.h"
#include "storage/file_lock.h"

#include <QFile>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Another process holding the file's lock until it is killed.
class LockHolder {
public:
  explicit LockHolder(const QString &path) {
    int fds[2];
    if (pipe(fds) != 0)
      return;
    pid_ = fork();
    if (pid_ == 0) {
      AccountFileLock lock;
      const char answer = lock.Acquire(path, 0) == AccountFileLock::Taken ? 'y' : 'n';
      (void)!write(fds[1], &answer, 1);
      for (;;)
        pause();
    }
    char answer = 0;
    held_ = read(fds[0], &answer, 1) == 1 && answer == 'y';
    close(fds[0]);
    close(fds[1]);
  }
  ~LockHolder() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  bool Held() const { return held_; }

private:
  pid_t pid_ = -1;
  bool held_ = false;
};

class FileLockAppTest : public AppTest {};

TEST_F(FileLockAppTest, AFileOpenElsewhereIsInUse) {
  const QString path = Copy(QStringLiteral("家庭账本"), QStringLiteral("别处"));
  StartupSettings settings(Folder());
  RecentFileList recent;
  CMainFrame frame(settings, recent);
  {
    LockHolder holder(path);
    ASSERT_TRUE(holder.Held());
    EXPECT_FALSE(frame.OpenDocument(path));
    EXPECT_EQ(prompt_.Last(), FileBusyMessage());
    EXPECT_TRUE(frame.Documents().isEmpty());
    // Saving another file over it is refused too.
    ASSERT_TRUE(frame.OpenDocument(Copy(QStringLiteral("家庭账本"), QStringLiteral("这里"))));
    prompt_.Clear();
    EXPECT_FALSE(frame.SaveActiveAs(path));
    EXPECT_EQ(prompt_.Last(), FileBusyMessage());
  }
  // Once the other program is gone the file opens.
  EXPECT_TRUE(frame.OpenDocument(path));
  frame.CloseAllDocuments();
}

TEST_F(FileLockAppTest, ACopyThatCannotBeTakenUpLeavesTheDocumentUsable) {
  const QString path = Copy(QStringLiteral("家庭账本"), QStringLiteral("原"));
  const QString locked = Copy(QStringLiteral("家庭账本"), QStringLiteral("锁"));
  CSorvanelDoc doc;
  ASSERT_TRUE(doc.Open(path));
  LockHolder holder(locked);
  ASSERT_TRUE(holder.Held());
  EXPECT_FALSE(doc.SaveAs(locked));
  EXPECT_EQ(doc.Path(), path);
  ASSERT_NE(doc.File().Session(), nullptr);
  EXPECT_TRUE(doc.File().Session()->Execute(
      "Insert Into Users (ID, trelva_Group_ID) Values (1, 2)"));
  doc.Close();
}

} // namespace
