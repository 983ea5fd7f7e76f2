// A file nobody may write opens for viewing only: the program says so, the
// records cannot be edited or pasted into.
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "app/options/configure_page.h"
#include "app/options/option_grid_ctrl.h"
#include "app/options/setup_prop_sheet.h"
#include "app/sorvanel_doc.h"
#include "app/startup_settings.h"
#include "app_test_env.h"
#include "document/group_pane_logic.h"
#include "groups/group_tree.h"
#include "groups/ui/show_filter_pane.h"
#include "groups/ui/sorvan_group_pane.h"
#include "document/account_file.h"
#include "records/ui/grid_commands.h"
#include "records/ui/sorvan_grid_view.h"
#include "support/scoped_tmpfs.h"

#include <QDir>
#include <QFile>

namespace {

class ReadOnlyAppTest : public AppTest {};

TEST_F(ReadOnlyAppTest, AReadOnlyFileIsOnlyViewed) {
  const QString folder = Folder() + "/ro";
  ASSERT_TRUE(QDir().mkdir(folder));
  ScopedTmpfs disk(folder, "4m");
  if (!disk.Mounted())
    GTEST_SKIP() << "needs root to mount a read-only file system";
  const QString path = folder + "/只读.fz";
  ASSERT_TRUE(QFile::copy(Copy(QStringLiteral("家庭账本"), QStringLiteral("源")), path));
  ASSERT_TRUE(disk.MakeReadOnly());

  StartupSettings settings(Folder());
  RecentFileList recent;
  CMainFrame frame(settings, recent);
  ASSERT_TRUE(frame.OpenDocument(path));
  EXPECT_EQ(prompt_.Last(), QStringLiteral("账簿文件是只读的，只能查看，不能修改。"));
  CChildFrame *child = frame.ActiveChild();
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(child->Doc().File().IsReadOnly());
  CSorvanGridView *view = child->GridPage();
  ASSERT_NE(view, nullptr);
  EXPECT_FALSE(view->IsCommandEnabled(ID_EDIT_PASTE));
  EXPECT_FALSE(view->Grid().OnEditStart(0, 1, QChar()));
  // Groups open in memory only; changing the tree is refused with a word.
  CSorvanGroupPane *groups = child->GroupPane();
  groups->Activate(3);
  EXPECT_EQ(groups->ActiveGroupIds(), QList<int>{3});
  prompt_.Clear();
  groups->RunCommand(ID_DELETE_NODE, 3);
  EXPECT_NE(FindGroupNode(child->Doc().File().Root(), 3), nullptr);
  EXPECT_EQ(prompt_.Texts(), QStringList{QStringLiteral("账簿文件是只读的，不能修改：%1").arg(path)});
  // Nor is a filter template saved into it.
  prompt_.Clear();
  child->FilterPane()->SaveTemplate();
  EXPECT_EQ(prompt_.Texts(), QStringList{QStringLiteral("账簿文件是只读的，不能修改：%1").arg(path)});
  // The options sheet takes no change to the file either.
  {
    CSetUpPropSheet sheet(child->Doc().File(), settings);
    COptionGridCtrl &grid = sheet.ConfigurePage()->Grid();
    grid.OnCellValueChanged(COptionGridCtrl::kField, grid.MarkerRow(), QStringLiteral("Shop"));
    prompt_.Clear();
    EXPECT_FALSE(sheet.ApplyPages());
    EXPECT_EQ(prompt_.Texts(), QStringList{QStringLiteral("账簿文件是只读的，不能修改：%1").arg(path)});
  }
  frame.CloseAllDocuments();
}

} // namespace
