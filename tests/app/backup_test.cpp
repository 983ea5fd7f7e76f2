// Backups in the program: closing a file that changed leaves a backup,
// closing an unchanged one none, and "从备份恢复…" opens a restored copy
// under a new name.
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "app/restore_backup_dlg.h"
#include "app/sorvanel_doc.h"
#include "app/startup_settings.h"
#include "app_test_env.h"
#include "db/db_visiter.h"
#include "document/account_file.h"
#include "storage/backup_settings.h"
#include "storage/backup_store.h"
#include "support/query_rows.h"

#include <QFileInfo>
#include <QTreeWidget>

namespace {

class BackupTest : public AppTest {};

TEST_F(BackupTest, OnlyAChangedFileIsBackedUpAndRestoresUnderANewName) {
  SetBackupCount(3);
  const QString path = Copy(QStringLiteral("家庭账本"), QStringLiteral("账"));
  StartupSettings settings(Folder());
  RecentFileList recent;
  CMainFrame frame(settings, recent);
  ASSERT_TRUE(frame.OpenDocument(path));
  frame.CloseAllDocuments();
  EXPECT_TRUE(ListBackups(path).isEmpty());

  ASSERT_TRUE(frame.OpenDocument(path));
  CSorvanelDoc &doc = frame.ActiveChild()->Doc();
  ASSERT_TRUE(doc.File().Session()->Execute(
      "Insert Into Users (ID, Item, trelva_Group_ID) Values (7, 'O''Brien', 2)"));
  EXPECT_TRUE(doc.Changed());
  frame.CloseAllDocuments();
  const QList<BackupInfo> backups = ListBackups(path);
  ASSERT_EQ(backups.size(), 1);
  EXPECT_EQ(backups[0].records, 1);

  // Restore: the backup is saved under the chosen name and opened.
  ASSERT_TRUE(frame.OpenDocument(path));
  ASSERT_TRUE(frame.ActiveChild()->Doc().File().Session()->Execute(
      "Delete * From Users"));
  const QString restored = dir_.filePath("restored.fz");
  runner_.onDialog = [](QDialog &dialog) {
    auto *restore = qobject_cast<CRestoreBackupDlg *>(&dialog);
    ASSERT_NE(restore, nullptr);
    EXPECT_EQ(restore->List()->topLevelItemCount(), 1);
    restore->TryAccept();
  };
  runner_.files = {path}; // onto the open file itself: refused
  frame.OnRestoreBackup();
  EXPECT_TRUE(prompt_.Last().contains(QStringLiteral("正在使用中")));
  EXPECT_EQ(frame.Documents().size(), 1);
  runner_.files = {restored};
  frame.OnRestoreBackup();
  ASSERT_EQ(frame.Documents().size(), 2);
  CSorvanelDoc &copy = frame.ActiveChild()->Doc();
  EXPECT_EQ(QFileInfo(copy.Path()).fileName(), QStringLiteral("restored.fz"));
  EXPECT_EQ(QueryRows(*copy.File().Session(), "Select Item From Users"),
            QStringList{"O'Brien"});
  frame.CloseAllDocuments();
}

} // namespace
