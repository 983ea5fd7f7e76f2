// The group pane's commands and the entries of its context menu.
#pragma once

#include <QList>
#include <QString>

struct GroupNode;

// Commands of the group pane.
enum GroupPaneCommand : int {
  ID_NEW_GROUP = 1000,       // "添加新组"
  ID_NEW_FOLDER = 1001,      // "添加筛选器"
  ID_OPEN_GROUP = 1002,      // "打开"
  ID_DELETE_NODE = 1003,     // "删除"
  ID_RENAME_NODE = 1004,     // "重命名"
  ID_SEVERAL_GROUPS = 32801, // "显示多组"
};

struct GroupMenuEntry {
  int command;
  QString text;
};

// The context menu, in order, of node; with emptyArea (no item under the
// pointer) a new folder and a new group under the root. The root and an
// item whose node is gone have none.
QList<GroupMenuEntry> GroupMenuFor(const GroupNode *node, bool emptyArea);
