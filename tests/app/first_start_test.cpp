// The whole program as a new user meets it: a first start with empty
// settings shows the start-up dialog; "创建新文档" runs the wizard with a
// template; records are stored in two months, undone and redone; a second
// group is made in the group pane; a filter is ticked and applied; the bar
// and pie pages show their bars and slices; the options sheet adds a
// column; the file is saved under a new name, closed (and compacted) and
// opened again with everything there.
#include "analysis/ui/bar_chart_view.h"
#include "analysis/ui/pie_chart_view.h"
#include "analysis/ui/sorvan_pie_setup_pane.h"
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "app/new_file_wizard.h"
#include "app/options/configure_page.h"
#include "app/options/setup_prop_sheet.h"
#include "app/sorvanel_app.h"
#include "app/sorvanel_doc.h"
#include "app/sorvanel_view.h"
#include "app/startup_wizard.h"
#include "records/ui/sorvan_grid_view.h"
#include "widgets/cell_grid_view.h"
#include "app_test_env.h"
#include "db/db_visiter.h"
#include "groups/group_node.h"
#include "document/group_pane_logic.h"
#include "groups/group_tree.h"
#include "groups/ui/pane_filter_grid.h"
#include "groups/ui/show_filter_pane.h"
#include "groups/ui/sorvan_group_pane.h"
#include "document/account_file.h"
#include "records/command_history.h"
#include "records/record_key.h"
#include "records/row_item.h"
#include "support/property_find.h"
#include "support/query_rows.h"
#include "widgets/property_grid.h"
#include "widgets/property_item.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QToolBox>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

namespace {

// Ticks a box as a user does: Space on its row.
void PressSpaceOn(PropertyGrid &grid, const QString &caption) {
  PropertyItem *item = FindProperty(grid.Root(), caption);
  ASSERT_NE(item, nullptr) << qPrintable(caption);
  grid.View()->setFocus();
  grid.View()->setCurrentIndex(grid.IndexOf(item));
  QTest::keyClick(grid.View(), Qt::Key_Space);
}

class FirstStartTest : public AppTest {};

TEST_F(FirstStartTest, FromTheStartUpDialogToAReopenedFile) {
  // The start-up dialog, then the new-file wizard from its "创建新文档".
  QStringList seen;
  runner_.onDialog = [&](QDialog &dialog) {
    if (auto *startup = qobject_cast<CStartupWizard *>(&dialog)) {
      seen << startup->windowTitle();
      EXPECT_EQ(startup->PathList()->topLevelItemCount(), 4);
      startup->CreateNew();
    } else if (auto *wizard = qobject_cast<CNewFileWizard *>(&dialog)) {
      seen << wizard->windowTitle();
      wizard->FileNameEdit()->setText(QStringLiteral("家账"));
      wizard->FolderEdit()->setText(Folder());
      QTreeWidget *list = wizard->TemplateList();
      for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == QStringLiteral("家庭账本"))
          list->setCurrentItem(list->topLevelItem(i));
      wizard->TryAccept();
    }
  };
  CSorvanelApp app;
  app.SetSystemFolder(QStringLiteral(SORVANEL_SYSTEM_DIR));
  ASSERT_TRUE(app.Start({}));
  EXPECT_EQ(seen, (QStringList{QStringLiteral("欢迎使用Sorvanel"),
                               QStringLiteral("欢迎使用Sorvanel新建账簿向导")}));
  CMainFrame &frame = *app.MainFrame();
  frame.resize(1100, 760);
  frame.show();
  CChildFrame *child = frame.ActiveChild();
  ASSERT_NE(child, nullptr);
  const QString made = dir_.filePath("家账.fz");
  EXPECT_EQ(child->Doc().Path(), made);
  EXPECT_EQ(frame.windowTitle(), QStringLiteral("家账.fz - Sorvanel"));
  AccountFile &file = child->Doc().File();

  // Three records typed into the new-record row of the active group, in
  // two months; the last one undone and redone with the keys.
  const int groupId = child->ActiveGroupIds().value(0, -1);
  ASSERT_GT(groupId, 0);
  CSorvanGridView *page = child->GridPage();
  CSorvansGridCtrl &grid = page->Grid();
  CellGridView *view = page->GridView();
  frame.activateWindow();
  QApplication::setActiveWindow(&frame);
  const int kData = 0, kCategory = 2, kAmount = 4;
  auto newRow = [&] {
    for (int row = 0; row < grid.GetNumberRows(); ++row)
      if (grid.IsNewRecordRow(row) && grid.RowGroupId(row) == groupId)
        return row;
    return -1;
  };
  struct Typed { const char *amount, *date, *category; };
  for (const Typed &t : {Typed{"10", "2025/3/5", "餐饮"}, Typed{"20", "2025/3/20", "交通"},
                         Typed{"5", "2025/4/2", "餐饮"}}) {
    const int row = newRow();
    ASSERT_GE(row, 0);
    view->setFocus();
    grid.GotoCell(kAmount, row);
    // The first key opens the editor with it; the rest go to the editor.
    const QString amount = QString::fromUtf8(t.amount);
    QTest::keyClicks(view, amount.left(1));
    QWidget *editor = grid.ActiveEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, amount.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!grid.IsNewRecordRow(row));
    grid.OnEditFinish(kData, row, QString::fromUtf8(t.date), false);
    grid.OnEditFinish(kCategory, row, QString::fromUtf8(t.category), false);
  }
  auto count = [&] {
    return QueryRows(*child->Doc().File().Session(), "Select count(*) From Users");
  };
  EXPECT_EQ(count(), QStringList{"3"});
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
  // The last action set the third record's category: two undos take the
  // category and the date back, a third the record itself.
  view->setFocus();
  for (int i = 0; i < 3; ++i)
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
  QTRY_COMPARE(count(), QStringList{"2"});
  for (int i = 0; i < 3; ++i)
    QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
  QTRY_COMPARE(count(), QStringList{"3"});
  EXPECT_EQ(QueryRows(*file.Session(), "Select ID, Data, Category, Total From Users Order By ID"),
            (QStringList{"1|2025/3/5|餐饮|10", "2|2025/3/20|交通|20", "3|2025/4/2|餐饮|5"}));
  // Two selected cells: their summary in status pane 104.
  grid.SelectRange(kAmount, newRow() - 3, kAmount, newRow() - 1);
  QTRY_VERIFY(frame.SummaryPaneLabel()->isVisible());
  EXPECT_TRUE(frame.SummaryPaneLabel()->text().contains(QStringLiteral("求和=35")));
  EXPECT_TRUE(child->CaptionBar()->text().contains(QStringLiteral("共 3 笔记录")));

  // A second group in the group pane.
  const int groupsBefore =
      QueryRows(*file.Session(), "Select count(*) From [Group]").value(0).toInt();
  child->GroupPane()->RunCommand(ID_NEW_GROUP, 1);
  EXPECT_EQ(QueryRows(*file.Session(), "Select count(*) From [Group]").value(0).toInt(),
            groupsBefore + 1);

  // A filter: only 餐饮, applied.
  child->FolderBar()->setCurrentIndex(CChildFrame::kFilterFolder);
  PropertyGrid &filterGrid = *child->FilterPane()->Grid();
  PressSpaceOn(filterGrid, QStringLiteral("使用[类别]筛选"));
  for (const char *other : {"交通", "购物", "居住", "医疗", "其他"})
    PressSpaceOn(filterGrid, QString::fromUtf8(other));
  child->FilterPane()->Apply();
  QString where;
  ASSERT_TRUE(child->FilterWhere(where));
  EXPECT_EQ(where, QStringLiteral("([Category] In ('餐饮'))"));
  EXPECT_TRUE(child->CaptionBar()->text().contains(QStringLiteral("共 2 笔记录")));

  // The bar page: monthly sums of 金额 over the filtered records; the pie
  // page split by 类别: one slice.
  child->View()->SelectPageKind(CSorvanBaseView::BarChartPage);
  auto *bar = qobject_cast<CSorvanBarChartView *>(child->View()->ActivePage());
  ASSERT_NE(bar, nullptr);
  QTRY_COMPARE(bar->Series().labels, (QStringList{"2025/3", "2025/4"}));
  EXPECT_EQ(bar->Series().values, (QList<double>{10, 5}));
  child->View()->SelectPageKind(CSorvanBaseView::PieChartPage);
  EXPECT_EQ(child->FolderBar()->currentIndex(), CChildFrame::kPieFolder);
  CSorvanPieSetUpPane *pieSetUp = child->PieSetUpPane();
  PressSpaceOn(*pieSetUp->Grid(), QStringLiteral("按照[类别]展开"));
  pieSetUp->Apply();
  auto *pie = qobject_cast<CSorvanPieChartView *>(child->View()->ActivePage());
  ASSERT_NE(pie, nullptr);
  QTRY_COMPARE(pie->Series().Size(), 1);
  EXPECT_TRUE(pie->Series().labels.value(0).contains(QStringLiteral("餐饮")));
  EXPECT_EQ(pie->Series().sums.value(0), 15);

  // The options sheet adds a column.
  {
    CSetUpPropSheet sheet(file, app.Settings());
    sheet.Tabs()->setCurrentIndex(1);
    COptionGridCtrl &grid = sheet.ConfigurePage()->Grid();
    grid.OnCellValueChanged(COptionGridCtrl::kField, grid.MarkerRow(),
                            QStringLiteral("Shop"));
    grid.OnCellValueChanged(COptionGridCtrl::kTitle, grid.MarkerRow() - 1,
                            QStringLiteral("商店"));
    grid.OnCellValueChanged(COptionGridCtrl::kType, grid.MarkerRow() - 1,
                            QStringLiteral("文本"));
    sheet.OnOk();
    ASSERT_EQ(sheet.result(), QDialog::Accepted);
    ASSERT_TRUE(sheet.AnyApplied());
    ReloadAfterOptions(file);
  }
  // The records page shows the new column once its tab is selected.
  child->View()->SelectPageKind(CSorvanBaseView::RecordsPage);
  EXPECT_EQ(grid.GetNumberCols(), 10);
  bool hasShop = false;
  for (int i = 0; i < file.Columns().Size(); ++i)
    hasShop = hasShop || file.Columns().At(i).fieldName == QStringLiteral("Shop");
  EXPECT_TRUE(hasShop);

  // Save as, close (compaction), open again.
  const QString saved = dir_.filePath("另存.fz");
  ASSERT_TRUE(frame.SaveActiveAs(saved));
  EXPECT_EQ(frame.windowTitle(), QStringLiteral("另存.fz - Sorvanel"));
  frame.CloseAllDocuments();
  EXPECT_TRUE(frame.Documents().isEmpty());
  EXPECT_FALSE(QFileInfo::exists(QStringLiteral("temp.mdb")));
  ASSERT_TRUE(frame.OpenDocument(saved));
  CDBVisiter &session = *frame.ActiveChild()->Doc().File().Session();
  EXPECT_EQ(QueryRows(session, "Select ID, Data, Category, Total From Users Order By ID"),
            (QStringList{"1|2025/3/5|餐饮|10", "2|2025/3/20|交通|20", "3|2025/4/2|餐饮|5"}));
  EXPECT_EQ(QueryRows(session, "Select [标题] From TableStyle Where [字段名]='Shop'"),
            QStringList{"商店"});
  EXPECT_EQ(QueryRows(session, "Select count(*) From [Group]").value(0).toInt(),
            groupsBefore + 1);
  EXPECT_EQ(QueryRows(session, "Select count(Shop) From Users"), QStringList{"0"});
  frame.CloseAllDocuments();
}

} // namespace
