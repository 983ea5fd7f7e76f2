// Edits of the group tree that draw on the whole account file.
#include "document/group_edits.h"

#include "db/db_visiter.h"
#include "document/account_file.h"
#include "groups/group_tree.h"
#include "records/command_history.h"

void LoadGroupTree(AccountFile &file) { file.LoadGroups(); }

GroupNode &NewGroupNode(AccountFile &file, GroupNode &parent,
                        const QString &title, int nodeKind) {
  int largestId = file.LargestGroupId();
  GroupNode &node =
      NewGroupNode(file.Session(), largestId, parent, title, nodeKind);
  file.SetLargestGroupId(largestId);
  return node;
}

GroupNode &CopySubtree(AccountFile &file, const GroupNode &node,
                       GroupNode &newParent) {
  int largestId = file.LargestGroupId();
  GroupNode &copy = CopySubtree(file.Session(), largestId, node, newParent);
  file.SetLargestGroupId(largestId);
  return copy;
}

bool DeleteGroup(AccountFile &file, GroupNode &node) {
  CDBVisiter *session = file.Session();
  if (!node.parent || !session)
    return false;
  if (!DeleteGroupRecords(*session, node, true)) {
    // Even a partial delete changed what the views show and what undo would
    // restore.
    file.History().Clear();
    file.RecordsChanged();
    return false;
  }
  // The subtree leaves the tree before anyone is told, so that no listener
  // finds a node that is about to be freed; it is freed on return.
  const std::unique_ptr<GroupNode> detached = RemoveChild(*node.parent, node);
  file.History().Clear();
  file.RecordsChanged();
  return DeleteGroupRows(*session, *detached, true);
}
