// The group pane on a real file, driven as a user drives it: double-clicks,
// ticks, the mode button, the context menu, label editing and dropping,
// with a scripted prompt answering and a second window on the same file.
#include "window/pane_tool_bar.h"
#include "base/scripted_prompt.h"
#include "groups/group_tree.h"
#include "groups/ui/group_tree.h"
#include "groups/ui/sorvan_group_pane.h"
#include "support/pane_test_window.h"
#include "support/query_rows.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A document window whose dispatcher hands every hint to its group pane,
// as the program's window does.
class GroupPaneWindow : public PaneTestWindow {
public:
  void Notify(AccountFile &file, unsigned hint) override {
    PaneTestWindow::Notify(file, hint);
    if (pane)
      pane->OnChangeNotify(hint);
  }
  QList<int> ActiveGroupIds() const override {
    return pane ? pane->ActiveGroupIds() : QList<int>();
  }
  CSorvanGroupPane *pane = nullptr;
};

// A second window on the file of the first one.
class SecondWindow : public DocumentWindow, public AccountFileListener {
public:
  explicit SecondWindow(AccountFile &file) : file_(file) {
    file_.AddListener(this);
    pane = std::make_unique<CSorvanGroupPane>(this);
  }
  ~SecondWindow() override { file_.RemoveListener(this); }
  AccountFile *File() const override { return &file_; }
  QList<int> ActiveGroupIds() const override { return pane->ActiveGroupIds(); }
  bool FilterWhere(QString &where) const override {
    where.clear();
    return true;
  }
  void Notify(AccountFile &, unsigned hint) override {
    pane->OnChangeNotify(hint);
  }
  std::unique_ptr<CSorvanGroupPane> pane;

private:
  AccountFile &file_;
};

class GroupPaneTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Valid());
    pane_ = std::make_unique<CSorvanGroupPane>(&window_);
    window_.pane = pane_.get();
    pane_->resize(300, 500);
    pane_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pane_.get()));
    tree_ = pane_->Tree();
    window_.TakeHints();
  }
  void TearDown() override { window_.pane = nullptr; }

  QTreeWidgetItem *Item(int id) {
    QTreeWidgetItem *item = tree_->ItemOf(id);
    EXPECT_NE(item, nullptr) << "no item for " << id;
    return item;
  }
  QPoint Centre(int id) { return tree_->visualItemRect(Item(id)).center(); }
  void DoubleClick(int id) {
    // A view takes a double-click only on the item the first click pressed.
    QTest::mouseClick(tree_->viewport(), Qt::LeftButton, {}, Centre(id));
    QTest::mouseDClick(tree_->viewport(), Qt::LeftButton, {}, Centre(id));
  }
  // The open label editor of the tree, or null.
  QLineEdit *Editor() {
    for (QLineEdit *line : tree_->viewport()->findChildren<QLineEdit *>())
      if (line->isVisible())
        return line;
    return nullptr;
  }
  void ClickBox(int id) {
    const QRect rect = tree_->visualItemRect(Item(id));
    QTest::mouseClick(tree_->viewport(), Qt::LeftButton, {},
                      QPoint(rect.left() + 10, rect.center().y()));
  }
  QToolButton *Button(int command) {
    return pane_->ToolBar()->Button(command);
  }
  GroupNode &Node(int id) {
    GroupNode *node = FindGroupNode(window_.Account().Root(), id);
    EXPECT_NE(node, nullptr) << "no node " << id;
    return node ? *node : window_.Account().Root();
  }
  QStringList Titles(const QTreeWidgetItem *item) {
    QStringList titles;
    for (int i = 0; i < item->childCount(); ++i)
      titles.append(item->child(i)->text(0));
    return titles;
  }
  QStringList StoredRows(const QString &sql) {
    return QueryRows(*window_.Account().Session(), sql);
  }
  // Opens the context menu of an item (0: the empty area at pos) with the
  // right button and chooses the entry text.
  void ChooseFromMenu(int id, const QString &text, QPoint pos = {}) {
    if (id != kNoGroupItem)
      pos = Centre(id);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos,
                            tree_->viewport()->mapToGlobal(pos));
    QTest::mouseClick(tree_->viewport(), Qt::RightButton, {}, pos);
    QMenu *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (!menu) {
      QApplication::sendEvent(tree_->viewport(), &event);
      menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    }
    ASSERT_NE(menu, nullptr);
    for (QAction *action : menu->actions())
      if (action->text() == text) {
        menu->close();
        action->trigger();
        return;
      }
    FAIL() << "no entry " << qPrintable(text);
  }
  // Drops the item dragged onto target (0: below every item) at place.
  void Drop(int dragged, int target, DropPlace place, bool ctrl) {
    std::unique_ptr<QMimeData> data(tree_->model()->mimeData(
        {tree_->indexFromItem(Item(dragged))}));
    ASSERT_NE(data, nullptr);
    QPoint pos(20, tree_->viewport()->height() - 3);
    if (target != kNoGroupItem) {
      const QRect rect = tree_->visualItemRect(Item(target));
      pos = rect.center();
      if (place == DropPlace::Above)
        pos.setY(rect.top() + 1);
      if (place == DropPlace::Below)
        pos.setY(rect.bottom() - 1);
    }
    ASSERT_EQ(tree_->DropTarget(pos), std::make_pair(target, place));
    const Qt::KeyboardModifiers keys =
        ctrl ? Qt::ControlModifier : Qt::NoModifier;
    const Qt::DropAction action = ctrl ? Qt::CopyAction : Qt::MoveAction;
    QDragEnterEvent enter(pos, Qt::CopyAction | Qt::MoveAction, data.get(),
                          Qt::LeftButton, keys);
    QApplication::sendEvent(tree_->viewport(), &enter);
    QDragMoveEvent move(pos, Qt::CopyAction | Qt::MoveAction, data.get(),
                        Qt::LeftButton, keys);
    QApplication::sendEvent(tree_->viewport(), &move);
    QDropEvent drop(pos, Qt::CopyAction | Qt::MoveAction, data.get(),
                    Qt::LeftButton, keys);
    drop.setDropAction(action);
    QApplication::sendEvent(tree_->viewport(), &drop);
    EXPECT_NE(drop.dropAction(), Qt::MoveAction)
        << "the dragging view must not remove the item";
    QCoreApplication::processEvents(); // the queued report of the drop
  }

  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
  GroupPaneWindow window_;
  std::unique_ptr<CSorvanGroupPane> pane_;
  CGroupTree *tree_ = nullptr;
};

constexpr unsigned kGroupsChanged = 7;

TEST_F(GroupPaneTest, StartsInOneGroupModeWithTheSelectedGroupOpen) {
  ASSERT_EQ(tree_->topLevelItemCount(), 1);
  QTreeWidgetItem *book = tree_->topLevelItem(0);
  EXPECT_EQ(book->text(0), "家庭账本");
  EXPECT_TRUE(book->isExpanded());
  EXPECT_EQ(Titles(book), (QStringList{"缺省分组", "日常开销", "人情往来", "旅行"}));
  EXPECT_TRUE(Item(2)->isSelected());
  for (QTreeWidgetItem *item : tree_->Items())
    EXPECT_FALSE(item->data(0, Qt::CheckStateRole).isValid());
  EXPECT_FALSE(book->icon(0).isNull());
  EXPECT_EQ(pane_->ActiveGroupCaption(), "缺省分组");
  EXPECT_EQ(pane_->ActiveGroupIds(), QList<int>{2});
  EXPECT_TRUE(pane_->ImmediateUpdate());
  ASSERT_NE(Button(ID_SEVERAL_GROUPS), nullptr);
  EXPECT_EQ(Button(ID_SEVERAL_GROUPS)->text(), "显示多组");
  EXPECT_EQ(Button(ID_SEVERAL_GROUPS)->accessibleName(), "显示多组");
  EXPECT_FALSE(Button(ID_SEVERAL_GROUPS)->isChecked());
  EXPECT_TRUE(window_.TakeHints().isEmpty());
}

TEST_F(GroupPaneTest, DoubleClickOpensAGroupOnce) {
  QSignalSpy captions(pane_.get(), &CSorvanGroupPane::ActiveGroupCaptionChanged);
  DoubleClick(3);
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{kGroupsChanged});
  EXPECT_EQ(pane_->ActiveGroupIds(), QList<int>{3});
  EXPECT_EQ(Node(2).state, 0u);
  EXPECT_EQ(Node(3).state, unsigned(GS_SELECTED));
  ASSERT_EQ(captions.size(), 1);
  EXPECT_EQ(captions[0][0].toString(), "日常开销");

  DoubleClick(3); // open already
  DoubleClick(1); // a folder
  EXPECT_TRUE(window_.TakeHints().isEmpty());
  // Enter opens the current group as a double-click does.
  tree_->setCurrentItem(Item(5));
  QTest::keyClick(tree_, Qt::Key_Return);
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{kGroupsChanged});
  EXPECT_EQ(pane_->ActiveGroupIds(), QList<int>{5});
  DoubleClick(3);
  window_.TakeHints();
  EXPECT_EQ(Node(1).state, 0u);
  EXPECT_EQ(StoredRows("Select ID From [Group] Where State<>0"),
            QStringList{"3"});
}

TEST_F(GroupPaneTest, SeveralGroupsModeTicksGroupsOnly) {
  QTest::mouseClick(Button(ID_SEVERAL_GROUPS), Qt::LeftButton);
  EXPECT_TRUE(pane_->SeveralGroups());
  EXPECT_TRUE(Button(ID_SEVERAL_GROUPS)->isChecked());
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{kGroupsChanged});
  EXPECT_EQ(pane_->ActiveGroupCaption(), ""); // nothing ticked yet
  EXPECT_FALSE(Item(1)->data(0, Qt::CheckStateRole).isValid());
  EXPECT_EQ(Item(2)->checkState(0), Qt::Unchecked);

  ClickBox(4);
  EXPECT_EQ(Item(4)->checkState(0), Qt::Checked);
  DoubleClick(5);
  EXPECT_EQ(Item(5)->checkState(0), Qt::Checked);
  EXPECT_EQ(window_.TakeHints(), (QList<unsigned>{7, 7}));
  EXPECT_EQ(pane_->ActiveGroupIds(), (QList<int>{4, 5}));
  EXPECT_EQ(pane_->ActiveGroupCaption(), "人情往来 和 旅行");
  DoubleClick(5); // ticked already
  EXPECT_TRUE(window_.TakeHints().isEmpty());
  ClickBox(4);
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{7});
  EXPECT_EQ(pane_->ActiveGroupIds(), QList<int>{5});
  // The space bar ticks the current group.
  tree_->setCurrentItem(Item(3));
  QTest::keyClick(tree_, Qt::Key_Space);
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{7});
  EXPECT_EQ(pane_->ActiveGroupIds(), (QList<int>{3, 5}));
  QTest::keyClick(tree_, Qt::Key_Space);
  EXPECT_EQ(pane_->ActiveGroupIds(), QList<int>{5});
  window_.TakeHints();

  // Back to one group: the group selected there is still the open one.
  QTest::mouseClick(Button(ID_SEVERAL_GROUPS), Qt::LeftButton);
  EXPECT_EQ(pane_->ActiveGroupIds(), QList<int>{2});
  EXPECT_EQ(pane_->ActiveGroupCaption(), "缺省分组");
  EXPECT_EQ(StoredRows("Select ID, State From [Group] Where State<>0 Order By ID"),
            (QStringList{"2|2", "5|1"}));
}

TEST_F(GroupPaneTest, AssistiveTogglesDoWhatClicksDo) {
  auto toggle = [](QAccessibleInterface *iface) {
    ASSERT_TRUE(iface && iface->actionInterface());
    iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  };
  toggle(QAccessible::queryAccessibleInterface(Button(ID_SEVERAL_GROUPS)));
  EXPECT_TRUE(pane_->SeveralGroups());
  EXPECT_TRUE(pane_->ToolBar()->Action(ID_SEVERAL_GROUPS)->isChecked());
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{kGroupsChanged});

  // A group's box in the tree: the cell of the group's shown row.
  QAccessibleInterface *tree = QAccessible::queryAccessibleInterface(tree_);
  ASSERT_TRUE(tree && tree->tableInterface());
  QAccessibleInterface *cell = nullptr;
  for (int row = 0; row < tree->tableInterface()->rowCount() && !cell; ++row) {
    QAccessibleInterface *at = tree->tableInterface()->cellAt(row, 0);
    if (at && at->text(QAccessible::Name) == Item(4)->text(0))
      cell = at;
  }
  toggle(cell);
  ASSERT_TRUE(QTest::qWaitFor([&] { return pane_->ActiveGroupIds() == QList<int>{4}; }));
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{kGroupsChanged});

  toggle(QAccessible::queryAccessibleInterface(Button(ID_SEVERAL_GROUPS)));
  EXPECT_FALSE(pane_->SeveralGroups());
  EXPECT_EQ(pane_->ActiveGroupIds(), QList<int>{2});
}

TEST_F(GroupPaneTest, PendingTicksGoOutWhenApplied) {
  QTest::mouseClick(Button(CSorvanBasePane::ID_IMMEDIATE_UPDATE), Qt::LeftButton);
  EXPECT_FALSE(pane_->ImmediateUpdate());
  DoubleClick(3);
  DoubleClick(4);
  EXPECT_TRUE(window_.TakeHints().isEmpty());
  EXPECT_TRUE(Button(CSorvanBasePane::ID_APPLY)->isEnabled());
  QTest::mouseClick(Button(CSorvanBasePane::ID_APPLY), Qt::LeftButton);
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{7});
  EXPECT_FALSE(Button(CSorvanBasePane::ID_APPLY)->isEnabled());
}

TEST_F(GroupPaneTest, EveryControlIsReachedByTabAndNamed) {
  pane_->SetImmediateUpdate(false);
  DoubleClick(3); // a pending change enables "执行筛选"
  QApplication::setActiveWindow(pane_.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(pane_.get()));
  tree_->setFocus();
  QStringList names;
  QList<QWidget *> reached;
  for (QWidget *focus = QApplication::focusWidget();
       focus && !reached.contains(focus) && reached.size() < 20;
       focus = QApplication::focusWidget()) {
    reached.append(focus);
    names.append(focus->accessibleName());
    QTest::keyClick(focus, Qt::Key_Tab);
  }
  EXPECT_EQ(names.size(), 4) << qPrintable(names.join(','));
  for (const char *name : {"分组", "显示多组", "即时更新", "执行筛选"})
    EXPECT_TRUE(names.contains(QString::fromUtf8(name))) << name;
}

TEST_F(GroupPaneTest, NewFolderIsNamedStraightAway) {
  ChooseFromMenu(1, "添加筛选器");
  ASSERT_EQ(Item(1)->childCount(), 5);
  QTreeWidgetItem *made = Item(1)->child(4);
  EXPECT_EQ(made->text(0), "新筛选器");
  EXPECT_TRUE(made->isSelected());
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{HINT_GROUPS});
  auto *editor = Editor();
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, "O'Neil");
  QTest::keyClick(editor, Qt::Key_Return);
  QTRY_COMPARE(Item(6)->text(0), QString("O'Neil"));
  EXPECT_EQ(StoredRows("Select Title, NodeKind From [Group] Where ID=6"),
            QStringList{"O'Neil|0"});

  ChooseFromMenu(6, "添加新组");
  auto *second = Editor();
  ASSERT_NE(second, nullptr);
  QTest::keyClick(second, Qt::Key_Escape); // keeps "新建组"
  EXPECT_EQ(Titles(Item(6)), QStringList{"新建组"});
  EXPECT_EQ(StoredRows("Select parentID, Title, NodeKind From [Group] Where ID=7"),
            QStringList{"6|新建组|1"});
}

TEST_F(GroupPaneTest, RenameRefusesAnEmptyName) {
  ChooseFromMenu(4, "重命名");
  auto *editor = Editor();
  ASSERT_NE(editor, nullptr);
  editor->clear();
  QTest::keyClick(editor, Qt::Key_Return);
  QTRY_COMPARE(prompt_.Last(), QString("名称不能为空！"));
  EXPECT_EQ(Item(4)->text(0), "人情往来");
  EXPECT_EQ(Node(4).title, "人情往来");
  EXPECT_TRUE(window_.TakeHints().isEmpty());

  // F2 edits too; the caption follows a renamed open group.
  tree_->setCurrentItem(Item(2));
  QTest::keyClick(tree_, Qt::Key_F2);
  editor = Editor();
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  editor->insert("日常"); // as an input method commits it
  QTest::keyClick(editor, Qt::Key_Return);
  QTRY_COMPARE(pane_->ActiveGroupCaption(), QString("日常"));
}

TEST_F(GroupPaneTest, DeleteAsksAndRemovesOnlyWhatWasDeleted) {
  prompt_.QueueAnswer(0);
  ChooseFromMenu(3, "删除");
  EXPECT_EQ(prompt_.Last(), "确定删除【日常开销】，以及该组所有记录么？");
  EXPECT_NE(tree_->ItemOf(3), nullptr);
  EXPECT_TRUE(window_.TakeHints().isEmpty());
  // Deleting another group leaves the open one selected, as the page shows.
  prompt_.QueueAnswer(1);
  ChooseFromMenu(5, "删除");
  EXPECT_EQ(tree_->ItemOf(5), nullptr);
  EXPECT_EQ(tree_->currentItem(), Item(2));
  EXPECT_EQ(pane_->ActiveGroupIds(), QList<int>{2});
  window_.TakeHints();

  prompt_.QueueAnswer(1);
  ChooseFromMenu(2, "删除");
  EXPECT_EQ(tree_->ItemOf(2), nullptr);
  EXPECT_EQ(Titles(Item(1)), (QStringList{"日常开销", "人情往来"}));
  EXPECT_EQ(pane_->ActiveGroupCaption(), "");
  const QList<unsigned> hints = window_.TakeHints();
  ASSERT_EQ(hints.size(), 2);
  EXPECT_EQ(hints[0] & 7u, 7u);
  EXPECT_EQ(hints[1], unsigned(HINT_GROUPS));
  EXPECT_EQ(StoredRows("Select Count(*) From [Group] Where ID=2"),
            QStringList{"0"});
}

TEST_F(GroupPaneTest, EmptyTreeOffersNewNodesUnderTheRoot) {
  prompt_.QueueAnswer(1);
  ChooseFromMenu(1, "删除");
  ASSERT_EQ(tree_->topLevelItemCount(), 0);
  ChooseFromMenu(kNoGroupItem, "添加新组", QPoint(40, 40));
  QTest::keyClick(Editor(), Qt::Key_Escape);
  ASSERT_EQ(tree_->topLevelItemCount(), 1);
  EXPECT_EQ(tree_->topLevelItem(0)->text(0), "新建组");
  ChooseFromMenu(kNoGroupItem, "添加筛选器", QPoint(40, 80));
  QTest::keyClick(Editor(), Qt::Key_Escape);
  EXPECT_EQ(tree_->topLevelItemCount(), 2);
  EXPECT_EQ(StoredRows("Select Title From [Group] Where parentID=-1 Order By ID"),
            (QStringList{"新建组", "新筛选器"}));
}

TEST_F(GroupPaneTest, DragMovesAndCtrlDragCopiesThroughTheTree) {
  ChooseFromMenu(1, "添加筛选器");
  QTest::keyClick(Editor(), Qt::Key_Escape);
  window_.TakeHints();

  Drop(3, 6, DropPlace::OnItem, false);
  EXPECT_EQ(Titles(Item(6)), QStringList{"日常开销"});
  EXPECT_EQ(Titles(Item(1)), (QStringList{"缺省分组", "人情往来", "旅行", "新筛选器"}));
  EXPECT_EQ(Node(3).parent->id, 6);
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{HINT_GROUPS});

  // Between two groups of the folder: the model appends it to the folder.
  Drop(3, 4, DropPlace::Above, false);
  EXPECT_EQ(Titles(Item(1)), (QStringList{"缺省分组", "人情往来", "旅行",
                                          "新筛选器", "日常开销"}));

  // A copy with Ctrl, inactive, with its own ID; the original stays.
  Drop(2, 6, DropPlace::OnItem, true);
  EXPECT_EQ(Titles(Item(6)), QStringList{"缺省分组"});
  EXPECT_EQ(tree_->ItemOf(2)->parent(), Item(1));
  EXPECT_EQ(Node(7).state, 0u);
  EXPECT_EQ(pane_->ActiveGroupIds(), QList<int>{2});
  EXPECT_TRUE(Item(7)->isSelected());

  // Into its own subtree: refused, nothing moves.
  Drop(1, 6, DropPlace::OnItem, false);
  EXPECT_EQ(prompt_.Texts().size(), 1);
  EXPECT_EQ(tree_->topLevelItemCount(), 1);
  EXPECT_EQ(Item(6)->parent(), Item(1));

  // Below every item: to the top level.
  Drop(6, kNoGroupItem, DropPlace::Viewport, false);
  EXPECT_EQ(tree_->topLevelItemCount(), 2);
  EXPECT_EQ(StoredRows("Select parentID From [Group] Where ID=6"),
            QStringList{"-1"});
}

TEST_F(GroupPaneTest, SecondWindowFollowsAndNeverTouchesDeletedNodes) {
  SecondWindow second(window_.Account());
  CGroupTree *other = second.pane->Tree();
  ASSERT_NE(other->ItemOf(3), nullptr);

  prompt_.QueueAnswer(1);
  ChooseFromMenu(3, "删除");
  EXPECT_EQ(other->ItemOf(3), nullptr); // rebuilt on HINT_GROUPS

  // An action the second window had started on the deleted group is
  // refused without a question.
  const int asked = prompt_.Texts().size();
  second.pane->RunCommand(ID_DELETE_NODE, 3);
  second.pane->RunCommand(ID_RENAME_NODE, 3);
  second.pane->RunCommand(ID_NEW_GROUP, 3);
  second.pane->Activate(3);
  EXPECT_EQ(prompt_.Texts().size(), asked);

  // Ticks made in one window show in the other, and ticking there keeps
  // them.
  QTest::mouseClick(Button(ID_SEVERAL_GROUPS), Qt::LeftButton);
  second.pane->ToggleMode();
  QSignalSpy captions(second.pane.get(),
                      &CSorvanGroupPane::ActiveGroupCaptionChanged);
  DoubleClick(4);
  EXPECT_EQ(other->ItemOf(4)->checkState(0), Qt::Checked);
  EXPECT_EQ(second.pane->ActiveGroupCaption(), "人情往来");
  EXPECT_EQ(captions.size(), 1);
  second.pane->Activate(5);
  EXPECT_EQ(pane_->ActiveGroupIds(), (QList<int>{4, 5}));
  EXPECT_EQ(second.pane->ActiveGroupIds(), (QList<int>{4, 5}));
}

} // namespace
