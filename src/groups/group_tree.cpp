// Edits of the group tree: linking nodes, new nodes, rename, move, copy and
// delete, each written to table [Group] at once.
#include "groups/group_tree.h"

#include "base/prompt.h"
#include "db/db_visiter.h"
#include "model/account_file.h"
#include "records/command_history.h"

#include <algorithm>

namespace {

// Hint sent after a group's records were deleted: the records page and both
// chart pages reload.
constexpr unsigned kRecordsChanged = HINT_RECORDS | HINT_PIE | HINT_BAR;

auto FindChild(GroupNode &parent, const GroupNode &node) {
  return std::find_if(parent.children.begin(), parent.children.end(),
                      [&node](const auto &child) { return child.get() == &node; });
}

// A detached deep copy of node's subtree with new IDs in pre-order and State
// 0 everywhere.
std::unique_ptr<GroupNode> CopyWithNewIds(AccountFile &file,
                                          const GroupNode &node) {
  auto copy = std::make_unique<GroupNode>();
  copy->id = NextGroupID(file);
  copy->sortId = node.sortId;
  copy->title = node.title;
  copy->state = 0;
  copy->nodeKind = node.nodeKind;
  for (const auto &child : node.children)
    AddChild(*copy, CopyWithNewIds(file, *child));
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

int NextGroupID(AccountFile &file) { return file.NextGroupID(); }

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

GroupNode &NewGroupNode(AccountFile &file, GroupNode &parent,
                        const QString &title, int nodeKind) {
  auto node = std::make_unique<GroupNode>();
  node->id = NextGroupID(file);
  node->sortId = DescendantCount(parent);
  node->title = title;
  node->state = 0;
  node->nodeKind = nodeKind;
  GroupNode &added = AddChild(parent, std::move(node));
  if (file.Session())
    InsertGroupNode(*file.Session(), added, true);
  return added;
}

GroupNode &CopySubtree(AccountFile &file, const GroupNode &node,
                       GroupNode &newParent) {
  GroupNode &copy = AddChild(newParent, CopyWithNewIds(file, node));
  if (file.Session())
    InsertGroupNode(*file.Session(), copy, true);
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

bool DeleteGroup(AccountFile &file, GroupNode &node) {
  CDBVisiter *session = file.Session();
  if (!node.parent || !session)
    return false;
  if (!DeleteGroupRecords(*session, node, true)) {
    // Even a partial delete changed what the views show and what undo would
    // restore.
    file.History().Clear();
    file.Notify(kRecordsChanged);
    return false;
  }
  // The subtree leaves the tree before anyone is told, so that no listener
  // finds a node that is about to be freed; it is freed on return.
  const std::unique_ptr<GroupNode> detached = RemoveChild(*node.parent, node);
  file.History().Clear();
  file.Notify(kRecordsChanged);
  return DeleteGroupRows(*session, *detached, true);
}
