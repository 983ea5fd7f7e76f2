// Editing the group tree on a real file: the statements and their order,
// new nodes, states, rename, move, copy and delete with records.
#include "group_test_file.h"

#include "document/group_edits.h"
#include "groups/group_tree.h"

#include <QRegularExpression>

#include <functional>

namespace {

class GroupEditTest : public GroupFileTest {
protected:
  // Under folder 1: folder 6 holding group 7 and folder 8, which holds
  // group 9. Groups 7 and 9 have records.
  void MakeSubtree() {
    GroupNode &book = Node(1);
    GroupNode &folder = NewGroupNode(file_, book, "出差", NK_FOLDER);
    NewGroupNode(file_, folder, "交通", NK_GROUP);
    GroupNode &inner = NewGroupNode(file_, folder, "住宿", NK_FOLDER);
    NewGroupNode(file_, inner, "酒店", NK_GROUP);
    ASSERT_EQ(folder.id, 6);
    ASSERT_EQ(inner.id, 8);
    AddRecords(7, {1, 2});
    AddRecords(9, {1});
    AddRecords(2, {1, 2, 3});
  }
};

// A listener that records, at the moment it is told, what the file holds.
class DeleteWatcher : public AccountFileListener {
public:
  void Notify(AccountFile &, unsigned hint) override {
    hints.append(hint);
    snapshot = Snapshot();
  }
  std::function<QStringList()> Snapshot;
  QList<unsigned> hints;
  QStringList snapshot;
};

TEST_F(GroupEditTest, StatementTextsAndRecursionOrder) {
  MakeSubtree();
  RecordingSession session(Session());
  const GroupNode &folder = Node(6);

  UpdateGroupNode(session, folder, false);
  UpdateGroupState(session, folder, false);
  DeleteGroupRecords(session, folder, false);
  DeleteGroupRows(session, Node(9), false);
  InsertGroupNode(session, Node(9), false);
  EXPECT_EQ(session.executed,
            (QStringList{
                "Update [Group] Set [parentID]=1, [SortID]=4, [Title]='出差', "
                "[State]=0, [NodeKind]=0 Where ID=6",
                "Update [Group] Set [State]=0 Where ID=6",
                "Delete * From Users Where trelva_Group_ID=6",
                "Delete * From [Group] Where ID=9",
                "Insert Into [Group] ([ID], [parentID], [SortID], [Title], "
                "[State], [NodeKind]) Values (9, 8, 0, '酒店', 0, 1)"}));
  EXPECT_TRUE(prompt_.Texts().isEmpty());

  // Insert, update and the deletion of records go node first; rows are
  // deleted children first.
  const QStringList preOrder{"6", "7", "8", "9"};
  const QStringList postOrder{"7", "9", "8", "6"};
  const auto ids = [&session]() {
    QStringList ids;
    for (const QString &sql : session.executed)
      ids.append(sql.section(QRegularExpression("[^0-9]"), -1, -1,
                             QString::SectionSkipEmpty));
    session.executed.clear();
    return ids;
  };
  session.executed.clear();
  UpdateGroupState(session, folder, true);
  EXPECT_EQ(ids(), preOrder);
  DeleteGroupRecords(session, folder, true);
  EXPECT_EQ(ids(), preOrder);
  DeleteGroupRows(session, folder, true);
  EXPECT_EQ(ids(), postOrder);
  EXPECT_TRUE(GroupRows().filter(QRegularExpression("^[6-9]\\|")).isEmpty());
  InsertGroupNode(session, folder, true);
  EXPECT_EQ(session.executed.size(), 4);
  EXPECT_EQ(GroupRows().filter(QRegularExpression("^[6-9]\\|")),
            (QStringList{"6|1|4|出差|0|0", "7|6|0|交通|0|1", "8|6|1|住宿|0|0",
                         "9|8|0|酒店|0|1"}));
}

TEST_F(GroupEditTest, RecursiveStatementsStopAtTheFirstFailure) {
  MakeSubtree();
  RecordingSession session(Session());
  // The rows exist already, so the first insert is refused.
  EXPECT_FALSE(InsertGroupNode(session, Node(6), true));
  EXPECT_EQ(session.executed.size(), 1);
  EXPECT_EQ(prompt_.Texts().size(), 1);
}

TEST_F(GroupEditTest, NewNodesTakeTheNextIdAndCountedSortId) {
  GroupNode &book = Node(1);
  GroupNode &group = NewGroupNode(file_, book, "新建组", NK_GROUP);
  EXPECT_EQ(group.id, 6);
  EXPECT_EQ(group.sortId, 4); // four nodes were below the folder
  EXPECT_EQ(group.parent, &book);
  EXPECT_EQ(book.children.back().get(), &group);
  GroupNode &folder = NewGroupNode(file_, group, "新筛选器", NK_FOLDER);
  EXPECT_EQ(folder.id, 7);
  EXPECT_EQ(folder.sortId, 0);
  EXPECT_EQ(file_.LargestGroupId(), 7);
  EXPECT_EQ(GroupRows().mid(5), (QStringList{"6|1|4|新建组|0|1", "7|6|0|新筛选器|0|0"}));
  EXPECT_TRUE(prompt_.Texts().isEmpty());
}

TEST_F(GroupEditTest, StateIsWrittenOnlyWhenItChanges) {
  RecordingSession session(Session());
  GroupNode &group = Node(3);
  EXPECT_TRUE(ClearStateBits(session, group, GS_CHECKED));
  EXPECT_TRUE(session.executed.isEmpty());
  EXPECT_TRUE(SetStateBits(session, group, GS_CHECKED));
  EXPECT_TRUE(SetStateBits(session, group, GS_SELECTED));
  EXPECT_TRUE(SetStateBits(session, group, GS_CHECKED | GS_SELECTED));
  EXPECT_EQ(session.executed.size(), 2);
  EXPECT_EQ(group.state, 3u);
  EXPECT_TRUE(ClearStateBits(session, group, GS_SELECTED));
  EXPECT_EQ(group.state, unsigned(GS_CHECKED));
  EXPECT_EQ(session.executed.size(), 3);
  Reload();
  EXPECT_EQ(Node(3).state, unsigned(GS_CHECKED));
}

TEST_F(GroupEditTest, TitlesAreStoredAsTyped) {
  GroupNode &group = Node(3);
  const QString quoted = "O'Brien's %1 ''";
  ASSERT_TRUE(RenameGroupNode(Session(), group, quoted));
  GroupNode &made = NewGroupNode(file_, Node(1), "it's; Drop Table Users --", NK_GROUP);
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
  const int madeId = made.id;
  Reload();
  EXPECT_EQ(Node(3).title, quoted);
  EXPECT_EQ(Node(madeId).title, "it's; Drop Table Users --");
  EXPECT_EQ(Rows("Select Count(*) From Users"), QStringList{"0"});
}

TEST_F(GroupEditTest, RenameRefusesAnEmptyTitle) {
  RecordingSession session(Session());
  EXPECT_FALSE(RenameGroupNode(session, Node(4), QString()));
  EXPECT_EQ(Node(4).title, "人情往来");
  EXPECT_TRUE(session.executed.isEmpty());
}

TEST_F(GroupEditTest, MoveWritesTheNewParentOnly) {
  MakeSubtree();
  RecordingSession session(Session());
  GroupNode &folder = Node(8);
  EXPECT_TRUE(MoveNode(session, folder, Node(6))); // already there
  EXPECT_TRUE(session.executed.isEmpty());

  EXPECT_TRUE(MoveNode(session, folder, Node(5)));
  EXPECT_EQ(session.executed.size(), 1);
  EXPECT_EQ(folder.parent, &Node(5));
  EXPECT_EQ(Node(5).children.back().get(), &folder);
  EXPECT_EQ(Node(6).children.size(), 1u);
  Reload();
  EXPECT_EQ(Node(8).parent, &Node(5));
  EXPECT_EQ(Node(8).sortId, 1); // unchanged by the move
  EXPECT_EQ(Node(9).parent, &Node(8));
  EXPECT_EQ(RecordKeys(9), QList<int>{1});
}

TEST_F(GroupEditTest, MovingIntoItsOwnSubtreeIsRefused) {
  MakeSubtree();
  RecordingSession session(Session());
  const QStringList rows = GroupRows();
  EXPECT_FALSE(MoveNode(session, Node(6), Node(9)));
  EXPECT_FALSE(MoveNode(session, Node(6), Node(6)));
  EXPECT_FALSE(MoveNode(session, file_.Root(), Node(6)));
  EXPECT_TRUE(session.executed.isEmpty());
  EXPECT_EQ(prompt_.Texts().size(), 3);
  EXPECT_EQ(Node(6).parent, &Node(1));
  EXPECT_EQ(GroupRows(), rows);
}

TEST_F(GroupEditTest, CopyGivesNewIdsInPreOrderAndClearsState) {
  MakeSubtree();
  RecordingSession states(Session());
  SetStateBits(states, Node(7), GS_CHECKED | GS_SELECTED);
  file_.SetLargestGroupId(10);
  const QStringList originals = GroupRows();

  GroupNode &copy = CopySubtree(file_, Node(6), Node(5));
  EXPECT_EQ(copy.parent, &Node(5));
  EXPECT_EQ(file_.LargestGroupId(), 14);
  EXPECT_EQ(Node(7).state, 3u); // the original is left as it was
  EXPECT_EQ(GroupRows().mid(0, originals.size()), originals);
  EXPECT_EQ(GroupRows().mid(originals.size()),
            (QStringList{"11|5|4|出差|0|0", "12|11|0|交通|0|1", "13|11|1|住宿|0|0",
                         "14|13|0|酒店|0|1"}));
  // Copying into its own subtree works on a copy made beforehand.
  GroupNode &nested = CopySubtree(file_, Node(6), Node(9));
  EXPECT_EQ(nested.id, 15);
  EXPECT_EQ(DescendantCount(nested), 3);
  Reload();
  EXPECT_EQ(DescendantCount(Node(6)), 7);
  EXPECT_EQ(Node(12).largestKey, 0); // records are not copied
}

TEST_F(GroupEditTest, DeleteRemovesRecordsThenRowsThenNodes) {
  MakeSubtree();
  DeleteWatcher watcher;
  watcher.Snapshot = [this]() {
    return QStringList{Rows("Select Count(*) From Users Where trelva_Group_ID "
                            "In (7, 9)")
                           .join(""),
                       QString::number(GroupRows().size()),
                       QString::number(DescendantCount(file_.Root()))};
  };
  file_.AddListener(&watcher);
  GroupNode &book = Node(1);
  const size_t children = book.children.size();

  EXPECT_TRUE(DeleteGroup(file_, Node(6)));
  // When the views were told, the records were gone, the rows not yet,
  // and the subtree (4 of 9 nodes) was out of the tree already.
  EXPECT_EQ(watcher.hints, QList<unsigned>{7});
  EXPECT_EQ(watcher.snapshot, (QStringList{"0", "9", "5"}));
  EXPECT_EQ(GroupRows().size(), 5);
  EXPECT_EQ(book.children.size(), children - 1);
  EXPECT_EQ(FindGroupNode(file_.Root(), 9), nullptr);
  EXPECT_EQ(RecordKeys(2), (QList<int>{1, 2, 3}));
  file_.RemoveListener(&watcher);
}

TEST_F(GroupEditTest, DeleteKeepsTheTreeWhenRecordsStay) {
  MakeSubtree();
  ASSERT_TRUE(Session().Execute("Drop Table Users"));
  const QStringList rows = GroupRows();
  EXPECT_FALSE(DeleteGroup(file_, Node(6)));
  EXPECT_EQ(prompt_.Texts().size(), 1);
  EXPECT_EQ(GroupRows(), rows);
  EXPECT_EQ(DescendantCount(Node(6)), 3);
  EXPECT_FALSE(DeleteGroup(file_, file_.Root()));
}

TEST(GroupLinks, AddRemoveAndDeleteChildren) {
  GroupNode root;
  auto owned = std::make_unique<GroupNode>();
  GroupNode *child = owned.get();
  EXPECT_EQ(&AddChild(root, std::move(owned)), child);
  EXPECT_EQ(child->parent, &root);
  // Adding a node that is already a child keeps one entry and one owner.
  AddChild(root, std::unique_ptr<GroupNode>(child));
  EXPECT_EQ(root.children.size(), 1u);

  GroupNode stranger;
  EXPECT_EQ(RemoveChild(root, stranger), nullptr);
  std::unique_ptr<GroupNode> detached = RemoveChild(root, *child);
  EXPECT_EQ(detached.get(), child);
  EXPECT_EQ(child->parent, nullptr);
  EXPECT_TRUE(root.children.empty());
  AddChild(root, std::move(detached));
  AddChild(*child, std::make_unique<GroupNode>());
  EXPECT_EQ(DescendantCount(root), 2);
  DeleteChild(root, *child);
  EXPECT_TRUE(root.children.empty());
}

} // namespace
