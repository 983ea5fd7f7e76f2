// The main window and its documents on real account files: opening,
// bringing an open file forward, failed opens, save, save as, close with
// compaction, the status panes and the commands' states.
#include "app/child_frame.h"
#include "analysis/ui/budget_view.h"
#include "records/command_history.h"
#include "records/row_item.h"
#include "window/pane_tool_bar.h"
#include "window/sorvan_base_pane.h"
#include "app/main_frame.h"
#include "app/sorvanel_doc.h"
#include "app/sorvanel_view.h"
#include "app/startup_settings.h"
#include "window/change_dispatcher.h"
#include "records/ui/sorvan_grid_view.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"
#include "groups/ui/sorvan_group_pane.h"
#include "app_test_env.h"
#include "db/db_visiter.h"
#include "document/account_file.h"
#include "support/property_find.h"
#include "support/query_rows.h"
#include "groups/ui/pane_filter_grid.h"
#include "groups/ui/show_filter_pane.h"
#include "document/file_main_show_text.h"
#include "widgets/property_item.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QScrollArea>
#include <QSplitter>
#include <QTabBar>
#include <QTest>
#include <QToolBox>
#include <QTreeWidget>

namespace {

const QString kHousehold = QStringLiteral("家庭账本");

class MainFrameTest : public AppTest {
protected:
  MainFrameTest()
      : settings_(Folder()), frame_(std::make_unique<CMainFrame>(settings_, recent_)) {}
  ~MainFrameTest() override { frame_.reset(); }

  StartupSettings settings_;
  RecentFileList recent_;
  std::unique_ptr<CMainFrame> frame_;
};

// Records every notification, to check who is told and in which order.
struct Recorder : AccountFileListener {
  QList<unsigned> hints;
  void Notify(AccountFile &, unsigned hint) override { hints.append(hint); }
};

TEST(ChangeDispatcherTest, PanesByBitThenPagesThenCaption) {
  ChangeDispatcher dispatcher;
  QStringList calls;
  dispatcher.AddPane(0x08, [&] { calls << "group"; });
  dispatcher.AddPane(0x20, [&] { calls << "filter"; });
  dispatcher.AddPane(0x40, [&] { calls << "bar-setup"; });
  dispatcher.AddPane(0x80, [&] { calls << "pie-setup"; });
  for (const char *page : {"records", "pie", "bar"})
    dispatcher.AddPage([&, page](unsigned hint) {
      calls << QStringLiteral("%1:%2").arg(page).arg(hint);
    });
  dispatcher.SetCaption([&] { calls << "caption"; });
  dispatcher.Dispatch(0xFFFF);
  EXPECT_EQ(calls.join(' '),
            "group filter bar-setup pie-setup records:65535 pie:65535 "
            "bar:65535 caption");
  calls.clear();
  dispatcher.Dispatch(6);
  EXPECT_EQ(calls.join(' '), "records:6 pie:6 bar:6 caption");
  calls.clear();
  dispatcher.Dispatch(0x28);
  EXPECT_EQ(calls.join(' '), "group filter records:40 pie:40 bar:40 caption");
}

TEST_F(MainFrameTest, OpenShowsTheFileInATitledWindow) {
  EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Sorvanel"));
  EXPECT_TRUE(frame_->GroupPaneLabel()->isHidden());
  EXPECT_FALSE(frame_->Command("关闭")->isEnabled());
  const QString path = Copy(kHousehold, "账一");
  ASSERT_TRUE(frame_->OpenDocument(path));
  CChildFrame *child = frame_->ActiveChild();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(frame_->windowTitle(), QStringLiteral("账一.fz - Sorvanel"));
  EXPECT_FALSE(child->CaptionBar()->text().isEmpty());
  EXPECT_EQ(child->CaptionBar()->textFormat(), Qt::PlainText);
  EXPECT_FALSE(frame_->GroupPaneLabel()->isHidden());
  EXPECT_TRUE(frame_->GroupPaneLabel()->text().contains(child->ActiveGroupCaption()));
  EXPECT_TRUE(frame_->Command("关闭")->isEnabled());
  EXPECT_FALSE(frame_->Command("关闭其它页")->isEnabled());
  EXPECT_EQ(RecentFileList().Entries().first(), QFileInfo(path).canonicalFilePath());
  // The folder bar holds the four panes in order; the pages their tabs.
  QToolBox *folders = child->FolderBar();
  ASSERT_EQ(folders->count(), 4);
  EXPECT_EQ(folders->itemText(0), QStringLiteral("分组"));
  EXPECT_EQ(folders->itemText(1), QStringLiteral("筛选设置"));
  EXPECT_EQ(folders->itemText(2), QStringLiteral("饼图分析"));
  EXPECT_EQ(folders->itemText(3), QStringLiteral("柱图分析"));
  QTabWidget *tabs = child->View()->Tabs();
  ASSERT_EQ(tabs->count(), 4);
  EXPECT_EQ(tabs->tabText(3), QStringLiteral("预算"));
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("表格"));
  EXPECT_EQ(tabs->tabText(1), QStringLiteral("饼图分析"));
  EXPECT_EQ(tabs->tabText(2), QStringLiteral("柱图分析"));
}

TEST_F(MainFrameTest, CtrlTabAndCtrlPageKeysSwitchThePages) {
  ASSERT_TRUE(frame_->OpenDocument(Copy(kHousehold, "键")));
  frame_->show();
  frame_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
  CChildFrame *child = frame_->ActiveChild();
  // From inside the grid, which takes plain Tab and PgDn as cell moves.
  QWidget *grid = child->GridPage()->findChild<QAbstractItemView *>();
  ASSERT_NE(grid, nullptr);
  grid->setFocus();
  QTabWidget *tabs = child->View()->Tabs();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(tabs->currentIndex(), 1);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(tabs->currentIndex(), 2);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(tabs->currentIndex(), 3);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(tabs->currentIndex(), 0);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                  Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(tabs->currentIndex(), 3);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(tabs->currentIndex(), 2);
}

TEST_F(MainFrameTest, AFilterThatCannotBeBuiltEmptiesTheCaptionAsTheGrid) {
  const QString path = Copy(kHousehold, "滤");
  ASSERT_TRUE(frame_->OpenDocument(path));
  CChildFrame *child = frame_->ActiveChild();
  ASSERT_TRUE(child->Doc().File().Session()->Execute(
      "Insert Into Users (ID, Total, trelva_Group_ID) Values (1, 12.5, 2)"));
  // 使用[类别]筛选 with every option unticked.
  PropertyItem &root = child->FilterPane()->FilterGrid()->Root();
  PropertyItem *use = FindProperty(root, QStringLiteral("使用[类别]筛选"));
  ASSERT_NE(use, nullptr);
  use->checked = true;
  for (int i = 0; i < use->Parent()->ChildCount(); ++i)
    if (use->Parent()->Child(i) != use)
      use->Parent()->Child(i)->checked = false;
  EXPECT_EQ(ComposeMainShowText(child->Doc().File(), child->ScopeWhere()),
            QStringLiteral("共 0 笔记录，合计金额 0 元"));
  frame_->UpdateUi();
  auto *note = frame_->findChild<QLabel *>(QStringLiteral("FilterNote"));
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->text(), QStringLiteral("筛选条件无效：类别未选择任何选项"));
  EXPECT_FALSE(note->isHidden());
  use->checked = false;
  frame_->UpdateUi();
  EXPECT_TRUE(note->isHidden());
}

// A row of the budget page shows its records: the filter is narrowed to the
// month and the option, keeping its other conditions, and the records page
// comes forward. A record that takes the option over its budget is told in
// the status bar.
TEST_F(MainFrameTest, BudgetRowsLeadToTheirRecords) {
  ASSERT_TRUE(frame_->OpenDocument(Copy(kHousehold, "预")));
  CChildFrame *child = frame_->ActiveChild();
  AccountFile &file = child->Doc().File();
  const QDate today = QDate::currentDate();
  const QString day = today.toString("yyyy-M-") + "1";
  for (const QString &values :
       {QString("(1, #%1#, '餐饮', '现金', 80, 2)").arg(day),
        QString("(2, #%1#, '餐饮', '信用卡', 30, 2)").arg(day),
        QString("(3, #%1#, '交通', '现金', 9, 2)").arg(day)})
    ASSERT_TRUE(file.Session()->Execute(
        "Insert Into Users (ID, Data, Category, Payment, Total, "
        "trelva_Group_ID) Values " + values));
  ASSERT_TRUE(file.Session()->Execute(
      "Insert Into [Budget] ([SortID], [ByField], [SumField], [Option], "
      "[Month], [Amount]) Values (1, 'Category', 'Total', '餐饮', '', 130)"));
  file.Notify(HINT_ALL);
  PropertyItem &root = child->FilterPane()->FilterGrid()->Root();
  PropertyItem *cash = FindProperty(root, QStringLiteral("使用[支付方式]筛选"));
  ASSERT_NE(cash, nullptr);
  cash->checked = true;
  for (int i = 0; i < cash->Parent()->ChildCount(); ++i)
    if (cash->Parent()->Child(i) != cash)
      cash->Parent()->Child(i)->checked =
          cash->Parent()->Child(i)->caption == QStringLiteral("现金");

  child->View()->SelectPageKind(CSorvanBaseView::BudgetPage);
  CSorvanBudgetView *page = child->BudgetPage();
  page->Refresh();
  ASSERT_EQ(page->Figures().lines.size(), 1);
  EXPECT_EQ(page->Figures().lines[0].spent, 80);
  page->ShowRowRecords(1);
  EXPECT_EQ(child->View()->ActivePageKind(), int(CSorvanBaseView::RecordsPage));
  EXPECT_EQ(child->FolderBar()->currentIndex(), CChildFrame::kFilterFolder);
  QString where;
  ASSERT_TRUE(child->FilterWhere(where));
  EXPECT_EQ(QueryRows(*file.Session(), "Select ID From Users Where " + where),
            QStringList{"1"});

  CRowItem row = CRowItem::EmptyRow(file, 2);
  row.items[file.Columns().PositionOf("Data")].text = day;
  row.items[file.Columns().PositionOf("Category")].text = "餐饮";
  row.items[file.Columns().PositionOf("Total")].text = "50";
  row.FillNewRowDefaults(4);
  ASSERT_EQ(file.History().AddRows({row}), 1);
  EXPECT_EQ(frame_->statusBar()->currentMessage(),
            QStringLiteral("餐饮本月已超出预算 30.00 元（按全部记录）"));
}

TEST_F(MainFrameTest, PageTabsSwitchTheFolderBar) {
  ASSERT_TRUE(frame_->OpenDocument(Copy(kHousehold, "账")));
  CChildFrame *child = frame_->ActiveChild();
  QToolBox *folders = child->FolderBar();
  child->View()->SelectPageKind(CSorvanBaseView::BarChartPage);
  EXPECT_EQ(folders->currentIndex(), CChildFrame::kBarFolder);
  child->View()->SelectPageKind(CSorvanBaseView::PieChartPage);
  EXPECT_EQ(folders->currentIndex(), CChildFrame::kPieFolder);
  child->View()->SelectPageKind(CSorvanBaseView::RecordsPage);
  EXPECT_EQ(folders->currentIndex(), CChildFrame::kGroupFolder);
  folders->setCurrentIndex(CChildFrame::kFilterFolder);
  child->View()->SelectPageKind(CSorvanBaseView::BarChartPage);
  child->View()->SelectPageKind(CSorvanBaseView::RecordsPage);
  EXPECT_EQ(folders->currentIndex(), CChildFrame::kGroupFolder);
  folders->setCurrentIndex(CChildFrame::kFilterFolder);
  child->View()->SelectPageKind(CSorvanBaseView::PieChartPage);
  folders->setCurrentIndex(CChildFrame::kFilterFolder);
  child->View()->SelectPageKind(CSorvanBaseView::RecordsPage);
  EXPECT_EQ(folders->currentIndex(), CChildFrame::kFilterFolder);
}

TEST_F(MainFrameTest, PaneToolbarsStayInViewInTheSmallestWindow) {
  ASSERT_TRUE(frame_->OpenDocument(Copy(kHousehold, "小")));
  frame_->show();
  frame_->setWindowState(Qt::WindowNoState);
  frame_->resize(frame_->minimumSize());
  CChildFrame *child = frame_->ActiveChild();
  QToolBox *folders = child->FolderBar();
  auto *splitter = qobject_cast<QSplitter *>(folders->parentWidget());
  ASSERT_NE(splitter, nullptr);
  splitter->setSizes({folders->minimumWidth(), 10000});
  for (int i = 0; i < folders->count(); ++i) {
    folders->setCurrentIndex(i);
    auto *pane = qobject_cast<CSorvanBasePane *>(folders->widget(i));
    ASSERT_NE(pane, nullptr);
    QWidget *viewport = pane->parentWidget();
    QTRY_VERIFY(pane->isVisible());
    QApplication::processEvents();
    const QRect bar(pane->ToolBar()->mapTo(viewport, QPoint(0, 0)),
                    pane->ToolBar()->size());
    EXPECT_TRUE(viewport->rect().contains(bar))
        << folders->itemText(i).toStdString() << ": toolbar at y " << bar.top()
        << ".." << bar.bottom() << " of " << viewport->height();
  }
}

TEST_F(MainFrameTest, TabFromAPaneOnlyRestsWhereFocusShows) {
  ASSERT_TRUE(frame_->OpenDocument(Copy(kHousehold, "焦")));
  frame_->show();
  frame_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
  CChildFrame *child = frame_->ActiveChild();
  child->GroupPane()->findChild<QAbstractItemView *>()->setFocus();
  QWidget *grid = child->GridPage()->findChild<QAbstractItemView *>();
  // The tree, the toolbar's buttons, then the grid: the scroll area that
  // holds a pane in the folder bar has nothing to show focus on.
  for (int i = 0; i < 6 && QApplication::focusWidget() != grid; ++i) {
    QWidget *focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(qobject_cast<QScrollArea *>(focus), nullptr)
        << "step " << i << ": " << focus->metaObject()->className();
    QTest::keyClick(focus, Qt::Key_Tab);
  }
  EXPECT_EQ(QApplication::focusWidget(), grid);
}

TEST_F(MainFrameTest, AnOpenFileOnlyComesForward) {
  const QString a = Copy(kHousehold, "a");
  const QString b = Copy(kHousehold, "b");
  ASSERT_TRUE(frame_->OpenDocument(a));
  ASSERT_TRUE(frame_->OpenDocument(b));
  EXPECT_EQ(frame_->windowTitle(), QStringLiteral("b.fz - Sorvanel"));
  QFile::link(a, dir_.filePath("link.fz"));
  ASSERT_TRUE(frame_->OpenDocument(dir_.filePath("x/../link.fz")));
  EXPECT_EQ(frame_->Documents().size(), 2);
  EXPECT_EQ(frame_->windowTitle(), QStringLiteral("a.fz - Sorvanel"));
  EXPECT_TRUE(frame_->Command("关闭其它页")->isEnabled());
  frame_->OnCloseOthers();
  ASSERT_EQ(frame_->Documents().size(), 1);
  EXPECT_EQ(frame_->Documents().first()->Title(), QStringLiteral("a.fz"));
}

TEST_F(MainFrameTest, AFailedOpenLeavesNoWindowAndNoRecentEntry) {
  const QString bad = dir_.filePath("bad.fz");
  QFile file(bad);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("this is no account file at all, not even a database");
  file.close();
  EXPECT_FALSE(frame_->OpenDocument(bad));
  EXPECT_FALSE(frame_->OpenDocument(dir_.filePath("missing.fz")));
  EXPECT_TRUE(frame_->Children().isEmpty());
  EXPECT_TRUE(frame_->Documents().isEmpty());
  EXPECT_TRUE(frame_->MdiArea()->subWindowList().isEmpty());
  EXPECT_TRUE(RecentFileList().Entries().join(QString()).isEmpty());
}

TEST_F(MainFrameTest, WindowsListenBeforeTheOpenAndStopWhenGone) {
  CSorvanelDoc doc;
  Recorder before;
  doc.File().AddListener(&before);
  {
    CChildFrame child(doc);
    ASSERT_TRUE(doc.Open(Copy(kHousehold, "l")));
    // The open's notification reached the window: its caption is composed.
    EXPECT_FALSE(child.CaptionBar()->text().isEmpty());
    EXPECT_EQ(before.hints, QList<unsigned>{0xFFFF});
  }
  doc.File().Notify(6); // the destroyed window is not told
  EXPECT_EQ(before.hints.size(), 2);
  doc.Close();
}

TEST_F(MainFrameTest, SaveOnlySaysSoAndSaveAsMovesToTheCopy) {
  const QString a = Copy(kHousehold, "a");
  const QString b = Copy(kHousehold, "b");
  ASSERT_TRUE(frame_->OpenDocument(a));
  ASSERT_TRUE(frame_->OpenDocument(b));
  const QByteArray before = [&] {
    QFile f(b);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
  }();
  frame_->OnSave();
  EXPECT_EQ(prompt_.Last(), QStringLiteral("账簿文件会实时更新，不需要手动保存！"));

  // Onto a file open in the program: refused, nothing changes.
  prompt_.Clear();
  EXPECT_FALSE(frame_->SaveActiveAs(a));
  EXPECT_TRUE(prompt_.Last().contains(QStringLiteral("正在使用中")));
  EXPECT_EQ(frame_->ActiveChild()->Doc().Path(), b);

  // Onto itself: a plain save.
  prompt_.Clear();
  EXPECT_FALSE(frame_->SaveActiveAs(dir_.filePath("./b.fz")));
  EXPECT_EQ(prompt_.Last(), QStringLiteral("账簿文件会实时更新，不需要手动保存！"));

  // Into a folder that does not exist: the copy fails, the document stays
  // on its file and can still write to it.
  prompt_.Clear();
  EXPECT_FALSE(frame_->SaveActiveAs(dir_.filePath("no/such/c.fz")));
  EXPECT_FALSE(prompt_.Texts().isEmpty());
  CSorvanelDoc &doc = frame_->ActiveChild()->Doc();
  EXPECT_EQ(doc.Path(), b);
  ASSERT_NE(doc.File().Session(), nullptr);
  EXPECT_EQ(QueryRows(*doc.File().Session(), "Select count(*) From Users"),
            QStringList{"0"});
  EXPECT_TRUE(QFileInfo::exists(b));

  const QString c = dir_.filePath("c.fz");
  ASSERT_TRUE(frame_->SaveActiveAs(c));
  EXPECT_EQ(doc.Path(), c);
  EXPECT_EQ(frame_->windowTitle(), QStringLiteral("c.fz - Sorvanel"));
  EXPECT_EQ(RecentFileList().Entries().first(), QFileInfo(c).canonicalFilePath());
  EXPECT_TRUE(QFileInfo::exists(b));
  (void)before;
  ASSERT_TRUE(doc.File().Session()->Execute(
      "Insert Into Users (ID, trelva_Group_ID) Values (1, 2)"));
  frame_->CloseAllDocuments();
  CSorvanelDoc reopened;
  ASSERT_TRUE(reopened.Open(c));
  EXPECT_EQ(QueryRows(*reopened.File().Session(), "Select count(*) From Users"),
            QStringList{"1"});
  reopened.Close();
}

TEST_F(MainFrameTest, CloseDestroysTheWindowsThenCompacts) {
  const QString a = Copy(kHousehold, "a");
  ASSERT_TRUE(frame_->OpenDocument(a));
  frame_->OnNewWindow();
  EXPECT_EQ(frame_->Children().size(), 2);
  EXPECT_EQ(frame_->Documents().size(), 1);
  // Closing one of two windows keeps the document open.
  frame_->CloseWindow(frame_->ActiveChild());
  EXPECT_EQ(frame_->Children().size(), 1);
  EXPECT_EQ(frame_->Documents().size(), 1);
  frame_->ActiveChild()->Doc().File().Notify(6);
  // Closing a tab with its button closes the document after the window.
  frame_->MdiArea()->subWindowList().first()->close();
  QTRY_VERIFY(frame_->Documents().isEmpty());
  EXPECT_FALSE(QFileInfo::exists(dir_.filePath("temp.mdb")));
  EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Sorvanel"));
  EXPECT_TRUE(frame_->GroupPaneLabel()->isHidden());
}

namespace {

// The first group of the tree, in tree order, that is not in skip.
int FirstGroupExcept(const GroupNode &node, const QList<int> &skip) {
  for (const auto &child : node.children) {
    if (child->IsGroup() && !skip.contains(child->id))
      return child->id;
    const int found = FirstGroupExcept(*child, skip);
    if (found >= 0)
      return found;
  }
  return -1;
}

} // namespace

TEST_F(MainFrameTest, AGroupOpenedInOneWindowShowsInTheOther) {
  const QString a = Copy(kHousehold, "a");
  ASSERT_TRUE(frame_->OpenDocument(a));
  CChildFrame *first = frame_->ActiveChild();
  frame_->OnNewWindow();
  CChildFrame *second = frame_->ActiveChild();
  ASSERT_NE(first, second);
  CSorvanGroupPane *pane = first->GroupPane();
  const int other =
      FirstGroupExcept(first->Doc().File().Root(), pane->ActiveGroupIds());
  ASSERT_GE(other, 0);
  pane->Activate(other);
  EXPECT_EQ(pane->ActiveGroupIds(), QList<int>{other});
  EXPECT_EQ(second->GroupPane()->ActiveGroupCaption(),
            pane->ActiveGroupCaption());
}

TEST_F(MainFrameTest, ClosingStoresTheCellBeingEdited) {
  const QString a = Copy(kHousehold, "a");
  frame_->resize(900, 600);
  frame_->show();
  ASSERT_TRUE(frame_->OpenDocument(a));
  CSorvansGridCtrl &grid = frame_->ActiveChild()->GridPage()->Grid();
  int row = -1;
  for (int r = 0; r < grid.GetNumberRows() && row < 0; ++r)
    if (grid.IsNewRecordRow(r))
      row = r;
  ASSERT_GE(row, 0);
  const int kItem = 7;
  ASSERT_TRUE(grid.StartEdit(kItem, row, QChar(u'O')));
  QWidget *editor = grid.ActiveEditor();
  ASSERT_NE(editor, nullptr);
  QTest::keyClicks(editor, QStringLiteral("'Brien"));
  frame_->CloseAllDocuments();
  CSorvanelDoc doc;
  ASSERT_TRUE(doc.Open(a));
  EXPECT_EQ(QueryRows(*doc.File().Session(), "Select Item From Users"),
            QStringList{"O'Brien"});
  doc.Close();
}

TEST_F(MainFrameTest, CopyFilePathAndStatusPaneEscapesTitles) {
  const QString a = Copy(kHousehold, "a");
  ASSERT_TRUE(frame_->OpenDocument(a));
  frame_->OnCopyFilePath();
  EXPECT_EQ(QApplication::clipboard()->text(), QFileInfo(a).absoluteFilePath());
  const QString pane = GroupPaneText(QStringLiteral("A<b>&C"));
  EXPECT_TRUE(pane.contains(QStringLiteral("A&lt;b&gt;&amp;C")));
  EXPECT_TRUE(pane.contains(QStringLiteral("当前活动分组：")));
  // A screen reader reads what the pane shows, not what the pane is.
  frame_->UpdateUi();
  auto *label = frame_->findChild<QLabel *>(QStringLiteral("Pane103"));
  ASSERT_TRUE(label);
  EXPECT_TRUE(label->accessibleName().startsWith(QStringLiteral("当前活动分组：")));
  EXPECT_GT(label->accessibleName().size(), 7);
  EXPECT_FALSE(label->accessibleName().contains(u'<'));
  EXPECT_EQ(label->accessibleDescription(), QStringLiteral("当前活动分组"));
}

} // namespace

// Ctrl+Z and Ctrl+Y work wherever 撤消 and 重做 are enabled: with the focus
// in the group pane, or on no widget after a dialog closed.
TEST_F(MainFrameTest, UndoKeysWorkOutsideTheGrid) {
  const QString a = Copy(kHousehold, "a");
  frame_->resize(900, 600);
  frame_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
  ASSERT_TRUE(frame_->OpenDocument(a));
  AccountFile &file = *frame_->ActiveChild()->File();
  auto count = [&] {
    return QueryRows(*file.Session(), "Select Count(*) From Users").value(0);
  };
  const QString before = count();
  CRowItem row = CRowItem::EmptyRow(file, 2);
  row.FillNewRowDefaults(++FindGroupNode(file.Root(), 2)->largestKey);
  ASSERT_EQ(file.History().AddRows({row}), 1);
  file.Notify(HINT_RECORDS);
  const QString after = count();
  ASSERT_NE(after, before);
  auto *tree = frame_->findChild<QTreeWidget *>();
  ASSERT_NE(tree, nullptr);
  tree->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return tree->hasFocus(); }));
  QTest::keyClick(tree, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return count() == before; }));
  if (QWidget *focus = QApplication::focusWidget())
    focus->clearFocus();
  QTest::keyClick(frame_.get(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return count() == after; }));
}
