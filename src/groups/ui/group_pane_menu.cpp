// The group pane's context menu; see group_pane_menu.h.
#include "groups/ui/group_pane_menu.h"

#include "groups/group_node.h"

QList<GroupMenuEntry> GroupMenuFor(const GroupNode *node, bool emptyArea) {
  const GroupMenuEntry newFolder{ID_NEW_FOLDER, QStringLiteral("添加筛选器")};
  const GroupMenuEntry newGroup{ID_NEW_GROUP, QStringLiteral("添加新组")};
  if (emptyArea)
    return {newFolder, newGroup};
  if (!node || !node->parent)
    return {};
  QList<GroupMenuEntry> entries;
  if (node->IsGroup()) {
    entries.append({ID_OPEN_GROUP, QStringLiteral("打开")});
  } else {
    entries.append(newFolder);
    entries.append(newGroup);
  }
  entries.append({ID_DELETE_NODE, QStringLiteral("删除")});
  entries.append({ID_RENAME_NODE, QStringLiteral("重命名")});
  return entries;
}
