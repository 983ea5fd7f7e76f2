// The active groups of each mode and the status bar's caption for them.
#include "group_test_file.h"

#include "groups/active_groups.h"
#include "document/group_edits.h"
#include "groups/group_tree.h"

namespace {

TEST(ActiveGroupCaptionTest, TitlesJoinedUntilTheTextPassesTwentyCharacters) {
  EXPECT_EQ(ActiveGroupCaption(QStringList{}), "");
  EXPECT_EQ(ActiveGroupCaption({"缺省分组"}), "缺省分组");
  EXPECT_EQ(ActiveGroupCaption({"缺省分组", "旅行"}), "缺省分组 和 旅行");
  // 20 characters exactly: the next title is still added.
  const QString twenty(20, QChar(u'账'));
  EXPECT_EQ(ActiveGroupCaption({twenty, "A", "B"}), twenty + " 和 A…");
  // One title may be long; nothing is cut from it.
  const QString long30(30, QChar(u'x'));
  EXPECT_EQ(ActiveGroupCaption({long30}), long30);
  EXPECT_EQ(ActiveGroupCaption({long30, "y", "z"}), long30 + "…");
  EXPECT_EQ(ActiveGroupCaption({"日常开销", "人情往来", "旅行", "出差", "酒店"}),
            "日常开销 和 人情往来 和 旅行 和 出差…");
}

using ActiveGroupsTest = GroupFileTest;

TEST_F(ActiveGroupsTest, EachModeReadsItsOwnBitInTreeOrder) {
  // Folder 6 holds group 7 and then group 3, moved there: tree order is
  // 2, 4, 5, 7, 3, not the order of the IDs.
  GroupNode &folder = NewGroupNode(file_, Node(1), "出差", NK_FOLDER);
  GroupNode &late = NewGroupNode(file_, folder, "晚到", NK_GROUP);
  ASSERT_TRUE(MoveNode(Session(), Node(3), folder));
  SetStateBits(Session(), late, GS_CHECKED);
  SetStateBits(Session(), Node(3), GS_CHECKED);
  SetStateBits(Session(), Node(5), GS_CHECKED);
  SetStateBits(Session(), folder, GS_CHECKED | GS_SELECTED); // not a group

  EXPECT_EQ(ActiveGroupIds(file_.Root(), true), (QList<int>{5, late.id, 3}));
  EXPECT_EQ(ActiveGroupIds(file_.Root(), false), QList<int>{2});
  EXPECT_EQ(ActiveGroupCaption(file_.Root(), true), "旅行 和 晚到 和 日常开销");
  EXPECT_EQ(ActiveGroupCaption(file_.Root(), false), "缺省分组");

  ClearStateBits(Session(), Node(2), GS_SELECTED);
  EXPECT_TRUE(ActiveGroupIds(file_.Root(), false).isEmpty());
  EXPECT_EQ(ActiveGroupCaption(file_.Root(), false), "");
}

} // namespace
