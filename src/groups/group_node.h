// A node of the group tree: a folder that arranges groups, or a group that
// holds records. The root (ID -1) belongs to the AccountFile and is never
// stored; the other nodes are the rows of table [Group].
#pragma once

#include <QString>

#include <memory>
#include <vector>

enum GroupState : unsigned {
  GS_CHECKED = 1,  // ticked while several groups may be shown
  GS_SELECTED = 2, // the one selected group while one group is shown
};

enum GroupKind : int {
  NK_FOLDER = 0, // "筛选器": holds folders and groups
  NK_GROUP = 1,  // holds records
};

struct GroupNode {
  int id = -1;
  int sortId = -1;
  QString title;
  unsigned state = 0;
  int nodeKind = NK_FOLDER;
  std::vector<std::unique_ptr<GroupNode>> children;
  GroupNode *parent = nullptr;
  int largestKey = 0; // the largest record key of the group, read at load

  bool IsGroup() const { return nodeKind == NK_GROUP; }
  bool HasState(unsigned bits) const { return (state & bits) == bits; }
};
