// The edits of an account file's group tree that reach beyond the tree:
// they draw group IDs from the file, delete records (which empties the undo
// history and tells the file's listeners) or load the tree into the file.
// The edits themselves are those of groups/group_tree.h.
#pragma once

#include "groups/group_node.h"

#include <QString>

class AccountFile;

// Loads the tree of the open file under its root and its largest group ID;
// with no file open the tree is empty and the largest ID 0.
void LoadGroupTree(AccountFile &file);

// A new folder or group under parent, its ID the file's next group ID;
// inserted at once (groups/group_tree.h says the rest).
GroupNode &NewGroupNode(AccountFile &file, GroupNode &parent,
                        const QString &title, int nodeKind);
// A copy of node's subtree under newParent, its IDs the file's next group
// IDs in pre-order; inserted at once.
GroupNode &CopySubtree(AccountFile &file, const GroupNode &node,
                       GroupNode &newParent);

// Deletes the records of node and of every node below it, takes the subtree
// out of the tree, empties the undo history, notifies the file's views with
// hint 7, then deletes the rows (descendants first) and frees the subtree.
// When the records can't be deleted the tree and its rows stay, so no
// record is left without a group. The root can't be deleted. False when
// nothing or not everything was deleted.
bool DeleteGroup(AccountFile &file, GroupNode &node);
