// The group pane's context menu: what a folder, a group, the empty area,
// the root and a node that is gone offer.
#include "groups/group_node.h"
#include "groups/ui/group_pane_menu.h"

#include <gtest/gtest.h>

namespace {

std::pair<QList<int>, QString> Menu(const GroupNode *node, bool emptyArea = false) {
  QList<int> ids;
  QStringList texts;
  for (const GroupMenuEntry &entry : GroupMenuFor(node, emptyArea)) {
    ids.append(entry.command);
    texts.append(entry.text);
  }
  return {ids, texts.join(',')};
}

TEST(GroupPaneMenuTest, EntriesByKindOfItem) {
  GroupNode root;
  GroupNode folder;
  folder.parent = &root;
  GroupNode group;
  group.parent = &folder;
  group.nodeKind = NK_GROUP;
  EXPECT_EQ(Menu(&folder), std::make_pair(QList<int>{1001, 1000, 1003, 1004},
                                          QString("添加筛选器,添加新组,删除,重命名")));
  EXPECT_EQ(Menu(&group),
            std::make_pair(QList<int>{1002, 1003, 1004}, QString("打开,删除,重命名")));
  EXPECT_EQ(Menu(nullptr, true).first, (QList<int>{1001, 1000}));
  EXPECT_TRUE(Menu(&root).first.isEmpty());
  EXPECT_TRUE(Menu(nullptr).first.isEmpty());
}

} // namespace
