// The group tree of an account file: loading it from table [Group], the
// statements that keep the table in step with the tree in memory, and the
// edits of the tree (new node, rename, move, copy). Deleting a group, which
// also deletes records, is an edit of the whole file (document/group_edits.h).
//
// Every edit changes the tree in memory and writes the table at once. A
// statement the database refuses is reported by the session; the change in
// memory stands, except where noted below. Recursive statements visit the
// subtree in the order given and stop at the first statement that fails, so
// one refusal gives one message.
#pragma once

#include "groups/group_node.h"

#include <QString>

#include <memory>

class CDBVisiter;

// Fills root's children with the tree of table [Group] (children in SortID
// order, depth first) and every node's largest record key, creating the
// index on Users that the keys are read through when it is missing; returns
// the largest group ID. Rows that can't be reached from the root, because
// their parent is missing or they form a cycle, are left out of the tree.
// keyField is the field name of the records' key column.
int LoadGroupTree(CDBVisiter &session, const QString &keyField,
                  GroupNode &root);

// Makes sure Users has an index on (trelva_Group_ID, keyField), through
// which LoadGroupTree reads the largest keys; creates it quietly when
// missing. False when there is none and none could be made.
bool EnsureGroupKeyIndex(CDBVisiter &session, const QString &keyField);

// Statements on one node's row; with recursive, on every descendant too.
// Each returns whether all the statements it ran succeeded.
bool InsertGroupNode(CDBVisiter &session, const GroupNode &node,
                     bool recursive);      // node, then children
bool UpdateGroupNode(CDBVisiter &session, const GroupNode &node,
                     bool recursive);      // node, then children
bool UpdateGroupState(CDBVisiter &session, const GroupNode &node,
                      bool recursive);     // node, then children
bool DeleteGroupRows(CDBVisiter &session, const GroupNode &node,
                     bool recursive);      // children, then node
bool DeleteGroupRecords(CDBVisiter &session, const GroupNode &node,
                        bool recursive);   // node, then children

// Change the node's State; the row is written only when the value changes.
// True when nothing needed writing or the write succeeded.
bool SetStateBits(CDBVisiter &session, GroupNode &node, unsigned bits);
bool ClearStateBits(CDBVisiter &session, GroupNode &node, unsigned bits);

// Appends node to parent's children (unless it is there already) and sets
// its parent; returns the node.
GroupNode &AddChild(GroupNode &parent, std::unique_ptr<GroupNode> node);
// Takes node out of parent's children and hands it over detached; null when
// node is not a child of parent.
std::unique_ptr<GroupNode> RemoveChild(GroupNode &parent, GroupNode &node);
// Takes node out of parent's children and destroys its subtree.
void DeleteChild(GroupNode &parent, GroupNode &node);

// Counts every node below node (children, their children, ...).
int DescendantCount(const GroupNode &node);
// True when node is ancestor itself or lies somewhere below it.
bool IsInSubtree(const GroupNode &node, const GroupNode &ancestor);
// The node with that ID in the tree under root (root included), or null.
GroupNode *FindGroupNode(GroupNode &root, int id);

// New group IDs are drawn from largestGroupId, the largest ID in use: each
// new node takes the next one and largestGroupId follows. The rows are
// inserted at once when there is a session.
//
// A new folder or group under parent: the next group ID, SortID = the number
// of nodes below parent, State 0; appended to parent.
GroupNode &NewGroupNode(CDBVisiter *session, int &largestGroupId,
                        GroupNode &parent, const QString &title, int nodeKind);
// A copy of node's subtree appended to newParent: new IDs in pre-order,
// State 0 everywhere, titles, kinds, SortIDs and child order kept. The
// original subtree is left as it was.
GroupNode &CopySubtree(CDBVisiter *session, int &largestGroupId,
                       const GroupNode &node, GroupNode &newParent);
// Re-parents node and writes its row (SortID unchanged). Nothing happens
// when newParent already is its parent. Moving a node into itself or below
// itself, or moving the root, is refused with a message and changes nothing:
// it would cut the subtree off the tree. False when refused or the write
// failed.
bool MoveNode(CDBVisiter &session, GroupNode &node, GroupNode &newParent);
// Gives node a new title and writes its row. An empty title is refused and
// changes nothing.
bool RenameGroupNode(CDBVisiter &session, GroupNode &node,
                     const QString &title);
