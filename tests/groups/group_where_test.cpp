// The group part of the WHERE text and its combination with a filter text.
#include "group_test_file.h"

#include "groups/group_tree.h"
#include "groups/group_where.h"

namespace {

GroupNode &Add(GroupNode &parent, int id, int kind, unsigned state) {
  auto node = std::make_unique<GroupNode>();
  node->id = id;
  node->nodeKind = kind;
  node->state = state;
  return AddChild(parent, std::move(node));
}

// Folder 1 { group 2 (checked), folder 3 (checked+selected) { group 5
// (checked) }, group 4 (selected), group 6 (both) }.
class GroupWhereTest : public ::testing::Test {
protected:
  void SetUp() override {
    GroupNode &book = Add(root_, 1, NK_FOLDER, GS_CHECKED);
    Add(book, 2, NK_GROUP, GS_CHECKED);
    GroupNode &folder = Add(book, 3, NK_FOLDER, GS_CHECKED | GS_SELECTED);
    Add(folder, 5, NK_GROUP, GS_CHECKED);
    Add(book, 4, NK_GROUP, GS_SELECTED);
    Add(book, 6, NK_GROUP, GS_CHECKED | GS_SELECTED);
  }
  GroupNode root_;
};

TEST_F(GroupWhereTest, ActiveGroupsInDisplayOrder) {
  EXPECT_EQ(GroupConditions(root_, GS_CHECKED),
            (QStringList{"trelva_Group_ID=2", "trelva_Group_ID=5",
                         "trelva_Group_ID=6"}));
  EXPECT_EQ(GroupWhere(root_, GS_SELECTED),
            "trelva_Group_ID=4 or trelva_Group_ID=6");
  EXPECT_EQ(GroupWhere(root_, GS_CHECKED | GS_SELECTED), "trelva_Group_ID=6");
  EXPECT_EQ(GroupWhere(GroupNode(), GS_CHECKED), "");
}

TEST_F(GroupWhereTest, CombinationWithTheFilter) {
  const QString group = GroupWhere(root_, GS_SELECTED);
  EXPECT_EQ(CombineWhere(group, "Amount>100"),
            "(trelva_Group_ID=4 or trelva_Group_ID=6) And (Amount>100)");
  EXPECT_EQ(CombineWhere(group, ""), group);
  EXPECT_EQ(CombineWhere("", "Amount>100"), "Amount>100");
  EXPECT_EQ(CombineWhere("", ""), "");

  EXPECT_EQ(GroupFilterWhere(2, "Amount>100"),
            "(Amount>100) And (trelva_Group_ID=2)");
  EXPECT_EQ(GroupFilterWhere(2, ""), "(trelva_Group_ID=2)");

  const QList<ActiveGroupWhere> perGroup =
      ActiveGroupWheres(root_, GS_CHECKED, "x=1");
  ASSERT_EQ(perGroup.size(), 3);
  EXPECT_EQ(perGroup[1].group->id, 5);
  EXPECT_EQ(perGroup[1].where, "(x=1) And (trelva_Group_ID=5)");
  EXPECT_TRUE(ActiveGroupWheres(root_, GS_SELECTED | 4, "x=1").isEmpty());
}

using GroupWhereFileTest = GroupFileTest;

TEST_F(GroupWhereFileTest, TextsSelectTheRightRecords) {
  AddRecords(2, {1, 2, 3});
  AddRecords(3, {1, 50});
  AddRecords(4, {60});
  RecordingSession states(Session());
  SetStateBits(states, Node(2), GS_CHECKED);
  SetStateBits(states, Node(4), GS_CHECKED);

  const QString filter = "Amount >= 2";
  const QString where = CombineWhere(GroupWhere(file_.Root(), GS_CHECKED), filter);
  EXPECT_EQ(Session().Count("Users", where), 3u);
  EXPECT_EQ(Session().Count("Users", GroupWhere(file_.Root(), GS_SELECTED)), 3u);

  QList<unsigned> counts;
  for (const ActiveGroupWhere &item : ActiveGroupWheres(file_.Root(), GS_CHECKED, filter))
    counts.append(Session().Count("Users", item.where));
  EXPECT_EQ(counts, (QList<unsigned>{2, 1}));
  EXPECT_TRUE(prompt_.Texts().isEmpty());
}

} // namespace
