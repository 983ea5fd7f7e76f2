// The group pane's decisions on a real file: States from ticks and
// selection, the caption, the menu, images, and the tree edits with the
// file refusing some of them.
#include "group_test_file.h"

#include "document/group_pane_logic.h"
#include "groups/group_tree.h"

#include <sqlite3.h>

namespace {

class HintLog : public AccountFileListener {
public:
  void Notify(AccountFile &, unsigned hint) override { hints.append(hint); }
  QList<unsigned> hints;
};

class GroupPaneLogicTest : public GroupFileTest {
protected:
  void SetUp() override {
    GroupFileTest::SetUp();
    file_.AddListener(&log_);
  }
  void TearDown() override {
    file_.RemoveListener(&log_);
    GroupFileTest::TearDown();
  }
  // Makes the file refuse a kind of statement on a table.
  void Refuse(const char *event, const char *table) {
    const QString sql = QStringLiteral(
        "CREATE TRIGGER refuse_%1_%2 BEFORE %1 ON [%2] "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END")
                            .arg(event, table);
    ASSERT_EQ(sqlite3_exec(Session().GetConnection(), sql.toUtf8().constData(),
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
  }
  QStringList Titles(int id) {
    QStringList titles;
    for (const auto &child : Node(id).children)
      titles.append(child->title);
    return titles;
  }

  HintLog log_;
  GroupPaneLogic logic_{file_};
};

TEST_F(GroupPaneLogicTest, SyncStatesWritesOnlyWhatChangedAndTheCaption) {
  // One-group mode: the selected group takes bit 2, every other loses it.
  EXPECT_FALSE(logic_.SyncStates({}, 2));
  EXPECT_TRUE(logic_.SyncStates({}, 4));
  EXPECT_EQ(logic_.Caption(), "人情往来");
  EXPECT_EQ(logic_.ActiveGroupIds(), QList<int>{4});
  // A folder selected leaves no group active.
  EXPECT_TRUE(logic_.SyncStates({}, 1));
  EXPECT_EQ(logic_.Caption(), "");

  // Several-groups mode keeps bit 2 as it is and works on bit 1.
  logic_.SyncStates({}, 3);
  logic_.SetSeveralGroups(true);
  EXPECT_EQ(logic_.Caption(), "");
  EXPECT_TRUE(logic_.SyncStates({5, 2, 1}, 0));
  EXPECT_EQ(logic_.ActiveGroupIds(), (QList<int>{2, 5}));
  EXPECT_EQ(logic_.Caption(), "缺省分组 和 旅行");
  EXPECT_EQ(Node(1).state, 0u); // folders carry no ticks
  EXPECT_FALSE(logic_.SyncStates({5, 2}, 0));
  // Switching the mode recomputes the caption from the other bit.
  logic_.SetSeveralGroups(false);
  EXPECT_EQ(logic_.Caption(), "日常开销");
  Reload();
  EXPECT_EQ(GroupRows().mid(0, 5),
            (QStringList{"1|-1|0|家庭账本|0|0", "2|1|0|缺省分组|1|1",
                         "3|1|1|日常开销|2|1", "4|1|2|人情往来|0|1",
                         "5|1|3|旅行|1|1"}));
  EXPECT_TRUE(log_.hints.isEmpty()); // the pane sends hint 7 itself
}

TEST_F(GroupPaneLogicTest, ActivateOnlyInactiveGroups) {
  EXPECT_FALSE(logic_.CanActivate(2)); // selected already
  EXPECT_TRUE(logic_.CanActivate(3));
  EXPECT_FALSE(logic_.CanActivate(1)); // a folder
  EXPECT_FALSE(logic_.CanActivate(99));
  logic_.SetSeveralGroups(true);
  EXPECT_TRUE(logic_.CanActivate(2));
  logic_.SyncStates({2}, 0);
  EXPECT_FALSE(logic_.CanActivate(2));
}

TEST_F(GroupPaneLogicTest, Images) {
  const int inner = logic_.NewNode(1, NK_FOLDER);
  EXPECT_EQ(logic_.ImagesFor(Node(1)), (GroupImages{GI_BOOK, GI_BOOK}));
  EXPECT_EQ(logic_.ImagesFor(Node(inner)),
            (GroupImages{GI_FOLDER, GI_FOLDER_OPEN}));
  EXPECT_EQ(logic_.ImagesFor(Node(2)),
            (GroupImages{GI_ACTIVE_GROUP, GI_ACTIVE_GROUP}));
  EXPECT_EQ(logic_.ImagesFor(Node(3)), (GroupImages{GI_GROUP, GI_GROUP}));
  logic_.SetSeveralGroups(true);
  EXPECT_EQ(logic_.ImagesFor(Node(2)), (GroupImages{GI_GROUP, GI_GROUP}));
}

TEST_F(GroupPaneLogicTest, NewNodesAreStoredAndAnnounced) {
  const int folder = logic_.NewNode(1, NK_FOLDER);
  EXPECT_EQ(folder, 6);
  const int group = logic_.NewNode(folder, NK_GROUP);
  EXPECT_EQ(group, 7);
  EXPECT_EQ(log_.hints, (QList<unsigned>{HINT_GROUPS, HINT_GROUPS}));
  EXPECT_EQ(GroupRows().mid(5),
            (QStringList{"6|1|4|新筛选器|0|0", "7|6|0|新建组|0|1"}));
  // Groups hold no nodes; a node that is gone takes none either.
  EXPECT_EQ(logic_.NewNode(group, NK_GROUP), kNoGroupItem);
  EXPECT_EQ(logic_.NewNode(42, NK_FOLDER), kNoGroupItem);
  EXPECT_EQ(log_.hints.size(), 2);
}

TEST_F(GroupPaneLogicTest, NewNodeRefusedByTheFileLeavesNoNode) {
  Refuse("INSERT", "Group");
  EXPECT_EQ(logic_.NewNode(1, NK_GROUP), kNoGroupItem);
  EXPECT_EQ(prompt_.Texts().size(), 1); // the session's message
  EXPECT_EQ(Node(1).children.size(), 4u);
  EXPECT_TRUE(log_.hints.isEmpty());
  EXPECT_EQ(GroupRows().size(), 5);
}

TEST_F(GroupPaneLogicTest, RenameStoresAsTypedAndRefusesBlanks) {
  EXPECT_TRUE(logic_.Rename(2, "O'Neil"));
  EXPECT_EQ(logic_.Caption(), "O'Neil");
  EXPECT_EQ(log_.hints, QList<unsigned>{HINT_GROUPS});
  EXPECT_FALSE(logic_.Rename(3, ""));
  EXPECT_FALSE(logic_.Rename(3, "  "));
  EXPECT_EQ(prompt_.Texts(), (QStringList{"名称不能为空！", "名称不能为空！"}));
  EXPECT_FALSE(logic_.Rename(99, "x"));
  EXPECT_EQ(log_.hints.size(), 1);
  Refuse("UPDATE", "Group");
  EXPECT_FALSE(logic_.Rename(4, "送礼"));
  EXPECT_EQ(Node(4).title, "人情往来");
  Reload();
  EXPECT_EQ(Titles(1), (QStringList{"O'Neil", "日常开销", "人情往来", "旅行"}));
}

TEST_F(GroupPaneLogicTest, DeleteAsksThenDeletesNodesAndRecords) {
  const int folder = logic_.NewNode(1, NK_FOLDER);
  ASSERT_TRUE(logic_.Drop(2, folder, false));
  AddRecords(2, {1, 2});
  AddRecords(3, {3});
  log_.hints.clear();

  prompt_.QueueAnswer(0);
  EXPECT_FALSE(logic_.Delete(folder));
  EXPECT_EQ(prompt_.Last(), "确定删除【新筛选器】，以及该组所有记录么？");
  EXPECT_TRUE(log_.hints.isEmpty());
  EXPECT_EQ(RecordKeys(2), (QList<int>{1, 2}));

  prompt_.QueueAnswer(1);
  EXPECT_TRUE(logic_.Delete(folder));
  EXPECT_EQ(FindGroupNode(file_.Root(), folder), nullptr);
  EXPECT_EQ(FindGroupNode(file_.Root(), 2), nullptr);
  EXPECT_TRUE(RecordKeys(2).isEmpty());
  EXPECT_EQ(RecordKeys(3), QList<int>{3});
  EXPECT_EQ(logic_.Caption(), ""); // group 2 was the active one
  ASSERT_FALSE(log_.hints.isEmpty());
  EXPECT_EQ(log_.hints.first() & 7u, 7u);
  EXPECT_EQ(log_.hints.last(), unsigned(HINT_GROUPS));
  EXPECT_EQ(GroupRows().size(), 4);

  // An ID another window deleted is not asked about.
  const int asked = prompt_.Texts().size();
  EXPECT_FALSE(logic_.Delete(folder));
  EXPECT_EQ(prompt_.Texts().size(), asked);
}

TEST_F(GroupPaneLogicTest, DeleteRefusedByTheFileKeepsTheGroup) {
  AddRecords(3, {1});
  Refuse("DELETE", "Users");
  prompt_.QueueAnswer(1);
  EXPECT_FALSE(logic_.Delete(3));
  EXPECT_NE(FindGroupNode(file_.Root(), 3), nullptr);
  EXPECT_EQ(RecordKeys(3), QList<int>{1});
  EXPECT_EQ(GroupRows().size(), 5);
}

TEST_F(GroupPaneLogicTest, EmptyTreeStillTakesNewNodesUnderTheRoot) {
  prompt_.QueueAnswer(1);
  ASSERT_TRUE(logic_.Delete(1));
  EXPECT_TRUE(file_.Root().children.empty());
  const int folder = logic_.NewNode(-1, NK_FOLDER);
  const int group = logic_.NewNode(-1, NK_GROUP);
  EXPECT_NE(folder, kNoGroupItem);
  EXPECT_NE(group, kNoGroupItem);
  Reload();
  ASSERT_EQ(file_.Root().children.size(), 2u);
  EXPECT_EQ(Node(group).parent, &file_.Root());
}

TEST_F(GroupPaneLogicTest, DropTargetsAndMoves) {
  const int folder = logic_.NewNode(1, NK_FOLDER);
  const int inner = logic_.NewNode(folder, NK_FOLDER);
  EXPECT_EQ(logic_.DropParent(folder, DropPlace::OnItem), folder);
  EXPECT_EQ(logic_.DropParent(3, DropPlace::OnItem), 1);  // onto a group
  EXPECT_EQ(logic_.DropParent(inner, DropPlace::Above), folder);
  EXPECT_EQ(logic_.DropParent(1, DropPlace::Below), -1);
  EXPECT_EQ(logic_.DropParent(0, DropPlace::Viewport), -1);
  EXPECT_EQ(logic_.DropParent(99, DropPlace::OnItem), kNoGroupItem);
  log_.hints.clear();

  // Between siblings of its own parent: the model keeps it where it is.
  EXPECT_FALSE(logic_.Drop(3, 1, false));
  EXPECT_TRUE(log_.hints.isEmpty());
  // Into its own subtree, or into a group: refused, tree unchanged; onto
  // itself: nothing to say.
  const QStringList rows = GroupRows();
  EXPECT_FALSE(logic_.Drop(folder, folder, false));
  EXPECT_TRUE(prompt_.Texts().isEmpty());
  EXPECT_FALSE(logic_.Drop(folder, inner, false));
  EXPECT_EQ(prompt_.Texts().size(), 1);
  EXPECT_FALSE(logic_.Drop(folder, 3, false));
  EXPECT_EQ(Node(folder).parent, &Node(1));
  EXPECT_EQ(GroupRows(), rows);
  EXPECT_TRUE(log_.hints.isEmpty());

  // A move appends to the new parent and keeps the records with the group.
  AddRecords(3, {5});
  EXPECT_TRUE(logic_.Drop(3, inner, false));
  EXPECT_EQ(log_.hints, QList<unsigned>{HINT_GROUPS});
  Reload();
  EXPECT_EQ(Node(3).parent->id, inner);
  EXPECT_EQ(RecordKeys(3), QList<int>{5});
}

TEST_F(GroupPaneLogicTest, MoveRefusedByTheFileGoesBackInPlace) {
  const int folder = logic_.NewNode(1, NK_FOLDER);
  Refuse("UPDATE", "Group");
  EXPECT_FALSE(logic_.Drop(3, folder, false));
  EXPECT_EQ(Titles(1), (QStringList{"缺省分组", "日常开销", "人情往来", "旅行",
                                    "新筛选器"}));
  EXPECT_TRUE(Node(folder).children.empty());
}

TEST_F(GroupPaneLogicTest, CopiesAreInactiveAndRefusedCopiesLeaveNothing) {
  logic_.SetSeveralGroups(true);
  logic_.SyncStates({2, 3}, 0);
  const int folder = logic_.NewNode(1, NK_FOLDER);
  ASSERT_TRUE(logic_.Drop(2, folder, false));
  ASSERT_TRUE(logic_.Drop(3, folder, false));
  AddRecords(2, {1});
  log_.hints.clear();

  EXPECT_TRUE(logic_.Drop(folder, folder, true)); // a copy into itself
  EXPECT_EQ(log_.hints, QList<unsigned>{HINT_GROUPS});
  const GroupNode &copy = *Node(folder).children.back();
  EXPECT_EQ(copy.title, "新筛选器");
  ASSERT_EQ(copy.children.size(), 2u);
  EXPECT_EQ(copy.children[0]->state, 0u);
  EXPECT_EQ(logic_.ActiveGroupIds(), (QList<int>{2, 3}));
  EXPECT_EQ(RecordKeys(copy.children[0]->id), QList<int>{}); // no records
  const int stored = GroupRows().size();

  // The third row of a copy is refused: none of it stays.
  sqlite3_exec(Session().GetConnection(),
               "CREATE TRIGGER refuse_third BEFORE INSERT ON [Group] "
               "WHEN NEW.Title='日常开销' "
               "BEGIN SELECT RAISE(ABORT, 'refused'); END",
               nullptr, nullptr, nullptr);
  const std::size_t children = Node(1).children.size();
  EXPECT_FALSE(logic_.Drop(folder, 1, true));
  EXPECT_EQ(Node(1).children.size(), children);
  EXPECT_EQ(GroupRows().size(), stored);
}

} // namespace
