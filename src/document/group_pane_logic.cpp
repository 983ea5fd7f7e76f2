// The group pane's decisions and tree edits, addressed by group ID.
#include "document/group_pane_logic.h"

#include "base/prompt.h"
#include "db/db_visiter.h"
#include "db/unit_of_work.h"
#include "document/account_file.h"
#include "document/group_edits.h"
#include "groups/active_groups.h"
#include "groups/group_tree.h"

#include <algorithm>

namespace {

// True when table [Group] holds a row for every ID in (before, last]: the
// IDs a new node or a copied subtree was given, all consecutive.
bool RowsStored(CDBVisiter &session, int before, int last) {
  const unsigned wanted = unsigned(last - before);
  return session.Count(QStringLiteral("[Group]"),
                       QStringLiteral("ID>%1 And ID<=%2").arg(before).arg(last)) ==
         wanted;
}

// Puts node back into parent's children at index (after a refused move).
void PutBack(GroupNode &parent, std::unique_ptr<GroupNode> node,
             std::size_t index) {
  node->parent = &parent;
  index = std::min(index, parent.children.size());
  parent.children.insert(parent.children.begin() + std::ptrdiff_t(index),
                         std::move(node));
}

std::size_t IndexInParent(const GroupNode &node) {
  const auto &siblings = node.parent->children;
  for (std::size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == &node)
      return i;
  return siblings.size();
}

void CollectGroups(GroupNode &node, QList<GroupNode *> &groups) {
  for (const auto &child : node.children) {
    if (child->IsGroup())
      groups.append(child.get());
    CollectGroups(*child, groups);
  }
}

} // namespace

GroupPaneLogic::GroupPaneLogic(AccountFile &file) : file_(file) {}

void GroupPaneLogic::SetSeveralGroups(bool on) {
  severalGroups_ = on;
  UpdateCaption();
}

unsigned GroupPaneLogic::ActiveMask() const {
  return ::ActiveMask(severalGroups_);
}

QList<int> GroupPaneLogic::ActiveGroupIds() const {
  return ::ActiveGroupIds(file_.Root(), severalGroups_);
}

bool GroupPaneLogic::UpdateCaption() {
  const QString caption = ActiveGroupCaption(file_.Root(), severalGroups_);
  if (caption == caption_)
    return false;
  caption_ = caption;
  return true;
}

bool GroupPaneLogic::SyncStates(const QSet<int> &ticked, int selectedId) {
  CDBVisiter *session = file_.Session();
  if (!session)
    return false;
  QList<GroupNode *> groups;
  CollectGroups(file_.Root(), groups);
  bool changed = false;
  UnitOfWork work(session);
  for (GroupNode *group : groups) {
    const unsigned before = group->state;
    const bool active = severalGroups_ ? ticked.contains(group->id)
                                       : group->id == selectedId;
    if (active)
      SetStateBits(*session, *group, ActiveMask());
    else
      ClearStateBits(*session, *group, ActiveMask());
    changed |= group->state != before;
  }
  // A State the file refused stays set in memory: the session has said so,
  // and the views show what the user chose until the file is opened again.
  work.Commit();
  UpdateCaption();
  return changed;
}

bool GroupPaneLogic::CanActivate(int id) const {
  const GroupNode *node = Find(id);
  return node && node->IsGroup() && !node->HasState(ActiveMask());
}

GroupImages GroupPaneLogic::ImagesFor(const GroupNode &node) const {
  if (node.IsGroup()) {
    const int image =
        node.HasState(ActiveMask()) ? GI_ACTIVE_GROUP : GI_GROUP;
    return {image, image};
  }
  if (node.parent && node.parent->id == -1)
    return {GI_BOOK, GI_BOOK};
  return {GI_FOLDER, GI_FOLDER_OPEN};
}

int GroupPaneLogic::NewNode(int parentId, int nodeKind) {
  if (file_.RefuseChange())
    return kNoGroupItem;
  GroupNode *parent = Find(parentId);
  CDBVisiter *session = file_.Session();
  if (!parent || parent->IsGroup() || !session)
    return kNoGroupItem;
  const QString title = nodeKind == NK_GROUP ? QStringLiteral("新建组")
                                             : QStringLiteral("新筛选器");
  const int before = file_.LargestGroupId();
  UnitOfWork work(session);
  GroupNode &node = NewGroupNode(file_, *parent, title, nodeKind);
  if (!RowsStored(*session, before, node.id) || !work.Commit()) {
    DeleteChild(*parent, node);
    return kNoGroupItem;
  }
  TreeEdited();
  return node.id;
}

bool GroupPaneLogic::Rename(int id, const QString &title) {
  if (file_.RefuseChange())
    return false;
  GroupNode *node = Find(id);
  CDBVisiter *session = file_.Session();
  if (!node || !node->parent || !session)
    return false;
  if (title.trimmed().isEmpty()) {
    ShowMessage(QStringLiteral("名称不能为空！"));
    return false;
  }
  if (title == node->title)
    return false;
  const QString old = node->title;
  if (!RenameGroupNode(*session, *node, title)) {
    node->title = old;
    return false;
  }
  UpdateCaption();
  TreeEdited();
  return true;
}

bool GroupPaneLogic::Delete(int id) {
  if (file_.RefuseChange())
    return false;
  GroupNode *node = Find(id);
  if (!node || !node->parent)
    return false;
  const QString question =
      QStringLiteral("确定删除【%1】，以及该组所有记录么？").arg(node->title);
  if (!CurrentPrompt().AskYesNo(question))
    return false;
  // The question may have let other windows run: look the node up again.
  node = Find(id);
  if (!node)
    return false;
  const bool deleted = DeleteGroup(file_, *node);
  // Whatever DeleteGroup managed to take out of the tree is gone from every
  // pane; what stayed is shown as before.
  UpdateCaption();
  TreeEdited();
  return deleted;
}

int GroupPaneLogic::DropParent(int targetId, DropPlace place) const {
  if (place == DropPlace::Viewport)
    return file_.Root().id;
  const GroupNode *target = Find(targetId);
  if (!target || !target->parent)
    return kNoGroupItem;
  if (place == DropPlace::OnItem && !target->IsGroup())
    return target->id;
  return target->parent->id;
}

bool GroupPaneLogic::Drop(int draggedId, int parentId, bool copy) {
  if (file_.RefuseChange())
    return false;
  GroupNode *node = Find(draggedId);
  GroupNode *parent = Find(parentId);
  CDBVisiter *session = file_.Session();
  if (!node || !node->parent || !parent || parent->IsGroup() || !session)
    return false;
  if (copy) {
    const int before = file_.LargestGroupId();
    UnitOfWork work(session);
    GroupNode &copied = CopySubtree(file_, *node, *parent);
    if (!RowsStored(*session, before, file_.LargestGroupId()) ||
        !work.Commit()) {
      DeleteChild(*parent, copied);
      return false;
    }
    TreeEdited();
    return true;
  }
  // Dropped back where it was, or onto itself: nothing was asked for.
  if (node->parent == parent || node == parent)
    return false;
  GroupNode &oldParent = *node->parent;
  const std::size_t oldIndex = IndexInParent(*node);
  // MoveNode refuses a move into the node's own subtree with a message and
  // changes nothing; when the file refused the row, the node goes back to
  // where it was.
  if (!MoveNode(*session, *node, *parent)) {
    if (node->parent != &oldParent)
      PutBack(oldParent, RemoveChild(*node->parent, *node), oldIndex);
    return false;
  }
  UpdateCaption();
  TreeEdited();
  return true;
}

GroupNode *GroupPaneLogic::Find(int id) const {
  if (id == kNoGroupItem)
    return nullptr;
  return FindGroupNode(file_.Root(), id);
}

void GroupPaneLogic::TreeEdited() { file_.Notify(HINT_GROUPS); }
