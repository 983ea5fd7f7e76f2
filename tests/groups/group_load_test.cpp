// Loading the group tree: order by SortID, the largest group ID, the largest
// record key of every node, and files whose rows don't form a tree.
#include "group_test_file.h"

#include "groups/group_tree.h"

namespace {

QStringList Titles(const GroupNode &node) {
  QStringList titles;
  for (const auto &child : node.children)
    titles.append(child->title);
  return titles;
}

// Every node as "depth:ID" in pre-order, for comparing whole trees.
void Outline(const GroupNode &node, int depth, QStringList &out) {
  for (const auto &child : node.children) {
    out.append(QStringLiteral("%1:%2").arg(depth).arg(child->id));
    EXPECT_EQ(child->parent, &node);
    Outline(*child, depth + 1, out);
  }
}

QStringList Outline(const GroupNode &root) {
  QStringList out;
  Outline(root, 0, out);
  return out;
}

// The tree as one query per node gives it: "... Where parentID=%d Order By
// SortID" from the root down.
void LoadPerParent(CDBVisiter &session, GroupNode &node) {
  if (session.Query(QStringLiteral("Select * From [Group] Where parentID=%1 "
                                   "Order By SortID")
                        .arg(node.id)) > 0) {
    do {
      auto child = std::make_unique<GroupNode>();
      child->id = session.GetInt("ID");
      child->title = session.GetString("Title");
      AddChild(node, std::move(child));
    } while (session.MoveNext());
  }
  for (const auto &child : node.children)
    LoadPerParent(session, *child);
}

using GroupLoadTest = GroupFileTest;

TEST_F(GroupLoadTest, TemplateTreeWithLargestKeys) {
  AddRecords(2, {1, 2, 41});
  AddRecords(3, {7});
  Reload();

  const GroupNode &root = file_.Root();
  EXPECT_EQ(root.id, -1);
  ASSERT_EQ(root.children.size(), 1u);
  const GroupNode &book = *root.children[0];
  EXPECT_EQ(book.id, 1);
  EXPECT_EQ(book.title, "家庭账本");
  EXPECT_EQ(book.nodeKind, int(NK_FOLDER));
  EXPECT_EQ(Titles(book), (QStringList{"缺省分组", "日常开销", "人情往来", "旅行"}));
  const GroupNode &fallback = *book.children[0];
  EXPECT_EQ(fallback.state, unsigned(GS_SELECTED));
  EXPECT_TRUE(fallback.IsGroup());
  EXPECT_EQ(fallback.sortId, 0);

  EXPECT_EQ(file_.LargestGroupId(), 5);
  EXPECT_EQ(fallback.largestKey, 41);
  EXPECT_EQ(Node(3).largestKey, 7);
  EXPECT_EQ(Node(4).largestKey, 0);
  EXPECT_EQ(book.largestKey, 0);
}

TEST_F(GroupLoadTest, ChildrenFollowSortIdNotId) {
  ASSERT_TRUE(Session().Execute("Update [Group] Set [SortID]=9 Where ID=2"));
  ASSERT_TRUE(Session().Execute(
      "Insert Into [Group] ([ID], [parentID], [SortID], [Title], [State], "
      "[NodeKind]) Values (6, 5, 0, '子组', 0, 1)"));
  Reload();
  EXPECT_EQ(Titles(Node(1)), (QStringList{"日常开销", "人情往来", "旅行", "缺省分组"}));
  EXPECT_EQ(Titles(Node(5)), QStringList{"子组"});
  EXPECT_EQ(Node(6).parent, &Node(5));
  EXPECT_EQ(file_.LargestGroupId(), 6);
}

TEST_F(GroupLoadTest, SiblingsWithEqualSortIdsKeepTheEngineOrder) {
  // 300 nodes in 6 levels, stored in a scrambled ID order, SortIDs 0 to 2.
  ASSERT_TRUE(Session().Execute("Delete * From [Group]"));
  for (int i = 0; i < 300; ++i) {
    const int id = 1 + (i * 137) % 300;
    const int parent = id <= 5 ? -1 : 1 + (id * 7) % (id / 5 * 5);
    ASSERT_TRUE(Session().Execute(
        QStringLiteral("Insert Into [Group] ([ID], [parentID], [SortID], "
                       "[Title], [State], [NodeKind]) Values (%1, %2, %3, "
                       "'n%1', 0, 0)")
            .arg(id)
            .arg(parent)
            .arg(id % 3)));
  }
  Reload();
  GroupNode expected;
  LoadPerParent(Session(), expected);
  EXPECT_EQ(DescendantCount(expected), 300);
  EXPECT_EQ(Outline(file_.Root()), Outline(expected));
}

TEST_F(GroupLoadTest, RowsOutsideTheTreeAreLeftOut) {
  const QStringList before = Outline(file_.Root());
  const char *rows[] = {
      "(-1, -1, 0, '根的影子', 0, 0)", // would be its own child
      "(20, 20, 0, '自己的父亲', 0, 1)",
      "(21, 22, 0, '环甲', 0, 0)", // 21 and 22 are each other's parent
      "(22, 21, 0, '环乙', 0, 1)",
      "(23, 99, 0, '无父', 0, 1)",   // the parent does not exist
      "(24, 23, 0, '无父之子', 0, 1)",
  };
  for (const char *values : rows)
    ASSERT_TRUE(Session().Execute(
        QStringLiteral("Insert Into [Group] ([ID], [parentID], [SortID], "
                       "[Title], [State], [NodeKind]) Values %1")
            .arg(QString::fromUtf8(values))));
  Reload();
  EXPECT_EQ(Outline(file_.Root()), before);
  // New IDs still come after every stored row.
  EXPECT_EQ(file_.LargestGroupId(), 24);
}

TEST_F(GroupLoadTest, EmptyOrMissingTableGivesAnEmptyTree) {
  ASSERT_TRUE(Session().Execute("Delete * From [Group]"));
  Reload();
  EXPECT_TRUE(file_.Root().children.empty());
  EXPECT_EQ(file_.LargestGroupId(), 0);

  GroupNode root;
  EXPECT_EQ(LoadGroupTree(Session(), "ID", root), 0);
  ASSERT_TRUE(Session().Execute("Drop Table [Group]"));
  root.children.push_back(std::make_unique<GroupNode>());
  EXPECT_EQ(LoadGroupTree(Session(), "ID", root), 0);
  EXPECT_TRUE(root.children.empty());
}

TEST_F(GroupLoadTest, LargestKeyUsesTheKeyColumn) {
  AddRecords(2, {3, 8});
  // Amount holds the key in AddRecords; make it differ to see which is read.
  ASSERT_TRUE(Session().Execute("Update Users Set [Amount]=100"));
  GroupNode root;
  LoadGroupTree(Session(), "Amount", root);
  EXPECT_EQ(FindGroupNode(root, 2)->largestKey, 100);
  LoadGroupTree(Session(), "ID", root);
  EXPECT_EQ(FindGroupNode(root, 2)->largestKey, 8);
}

TEST_F(GroupLoadTest, KeysAreReadThroughAnIndex) {
  const QString indexes = "Select name From sqlite_master Where type='index' "
                          "And tbl_name='Users'";
  // The template has one already; none is added.
  const QStringList before = Rows(indexes);
  Reload();
  EXPECT_EQ(Rows(indexes), before);

  ASSERT_TRUE(Session().Execute("Drop Index UsersGroupKey On Users"));
  AddRecords(2, {4, 9});
  AddRecords(3, {5});
  EXPECT_FALSE(EnsureGroupKeyIndex(Session(), "NoSuchColumn"));
  EXPECT_EQ(Rows(indexes).size(), before.size() - 1);
  Reload();
  EXPECT_EQ(Rows(indexes).size(), before.size());
  EXPECT_EQ(Node(2).largestKey, 9);
  EXPECT_EQ(Rows("Select Count(*) From Users"), QStringList{"3"});
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
  // The index made is unique: no key can be stored twice in a group.
  EXPECT_FALSE(Session().Execute(
      "Insert Into Users ([ID], [trelva_Group_ID]) Values (9, 2)"));
  AddRecords(3, {9});
}

TEST_F(GroupLoadTest, RecordsStoredTwiceStillGetAnIndex) {
  ASSERT_TRUE(Session().Execute("Drop Index UsersGroupKey On Users"));
  AddRecords(2, {4, 4});
  Reload();
  EXPECT_EQ(Node(2).largestKey, 4);
  EXPECT_EQ(Rows("Select name From sqlite_master Where type='index' And "
                 "name='UsersGroupKey'"),
            QStringList{"UsersGroupKey"});
}

} // namespace
