// Edits of the group tree: linking nodes, new nodes, rename, move, copy and
// delete, each written to table [Group] at once.
#include "groups/group_tree.h"

#include "base/prompt.h"
#include "db/db_visiter.h"

#include <algorithm>

namespace {

auto FindChild(GroupNode &parent, const GroupNode &node) {
  return std::find_if(parent.children.begin(), parent.children.end(),
                      [&node](const auto &child) { return child.get() == &node; });
}

// A detached deep copy of node's subtree with new IDs in pre-order and State
// 0 everywhere.
std::unique_ptr<GroupNode> CopyWithNewIds(int &largestGroupId,
                                          const GroupNode &node) {
  auto copy = std::make_unique<GroupNode>();
  copy->id = ++largestGroupId;
  copy->sortId = node.sortId;
  copy->title = node.title;
  copy->state = 0;
  copy->nodeKind = node.nodeKind;
  for (const auto &child : node.children)
    AddChild(*copy, CopyWithNewIds(largestGroupId, *child));
  return copy;
}

bool WriteState(CDBVisiter &session, GroupNode &node, unsigned state) {
  if (node.state == state)
    return true;
  node.state = state;
  // A file opened for reading keeps the groups the user opens in memory.
  if (session.IsReadOnly())
    return true;
  return UpdateGroupState(session, node, false);
}

} // namespace

bool SetStateBits(CDBVisiter &session, GroupNode &node, unsigned bits) {
  return WriteState(session, node, node.state | bits);
}

bool ClearStateBits(CDBVisiter &session, GroupNode &node, unsigned bits) {
  return WriteState(session, node, node.state & ~bits);
}

GroupNode &AddChild(GroupNode &parent, std::unique_ptr<GroupNode> node) {
  GroupNode *raw = node.get();
  if (FindChild(parent, *raw) != parent.children.end()) {
    // Already owned by parent: keep the one owner there is.
    (void)node.release();
    return *raw;
  }
  raw->parent = &parent;
  parent.children.push_back(std::move(node));
  return *raw;
}

std::unique_ptr<GroupNode> RemoveChild(GroupNode &parent, GroupNode &node) {
  const auto it = FindChild(parent, node);
  if (it == parent.children.end())
    return nullptr;
  std::unique_ptr<GroupNode> detached = std::move(*it);
  parent.children.erase(it);
  detached->parent = nullptr;
  return detached;
}

void DeleteChild(GroupNode &parent, GroupNode &node) {
  RemoveChild(parent, node);
}

int DescendantCount(const GroupNode &node) {
  int count = 0;
  for (const auto &child : node.children)
    count += 1 + DescendantCount(*child);
  return count;
}

bool IsInSubtree(const GroupNode &node, const GroupNode &ancestor) {
  for (const GroupNode *at = &node; at; at = at->parent)
    if (at == &ancestor)
      return true;
  return false;
}

GroupNode *FindGroupNode(GroupNode &root, int id) {
  if (root.id == id)
    return &root;
  for (const auto &child : root.children)
    if (GroupNode *found = FindGroupNode(*child, id))
      return found;
  return nullptr;
}

GroupNode &NewGroupNode(CDBVisiter *session, int &largestGroupId,
                        GroupNode &parent, const QString &title, int nodeKind) {
  auto node = std::make_unique<GroupNode>();
  node->id = ++largestGroupId;
  node->sortId = DescendantCount(parent);
  node->title = title;
  node->state = 0;
  node->nodeKind = nodeKind;
  GroupNode &added = AddChild(parent, std::move(node));
  if (session)
    InsertGroupNode(*session, added, true);
  return added;
}

GroupNode &CopySubtree(CDBVisiter *session, int &largestGroupId,
                       const GroupNode &node, GroupNode &newParent) {
  GroupNode &copy = AddChild(newParent, CopyWithNewIds(largestGroupId, node));
  if (session)
    InsertGroupNode(*session, copy, true);
  return copy;
}

bool MoveNode(CDBVisiter &session, GroupNode &node, GroupNode &newParent) {
  if (node.parent == &newParent)
    return true;
  if (!node.parent || IsInSubtree(newParent, node)) {
    ShowMessage(QStringLiteral("不能把【%1】移动到它自己或它的下级中！")
                    .arg(node.title));
    return false;
  }
  AddChild(newParent, RemoveChild(*node.parent, node));
  return UpdateGroupNode(session, node, false);
}

bool RenameGroupNode(CDBVisiter &session, GroupNode &node,
                     const QString &title) {
  if (title.isEmpty())
    return false;
  node.title = title;
  return UpdateGroupNode(session, node, false);
}
