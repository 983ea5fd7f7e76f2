// The group part of a WHERE text: the active groups of the tree as
// conditions on trelva_Group_ID, alone or combined with a filter text.
#pragma once

#include "groups/group_node.h"

#include <QList>
#include <QString>
#include <QStringList>

// "trelva_Group_ID=%d" for every group under root whose State holds all bits
// of mask, in display order (a node, then its children, then its next
// sibling). The mask is GS_CHECKED while several groups are shown and
// GS_SELECTED while one is.
QStringList GroupConditions(const GroupNode &root, unsigned mask);
// The conditions of GroupConditions joined with " or "; empty when no group
// is active.
QString GroupWhere(const GroupNode &root, unsigned mask);

// The WHERE text of group part and filter part: either alone when the other
// is empty, else "(" group ") And (" filter ")".
QString CombineWhere(const QString &groupPart, const QString &filterPart);
// The filter part of a filter that cannot be built: no record passes, so
// the grid, the caption, the charts and an export all show the same nothing.
QString NoRecordsWhere();
// The WHERE text of one group: "(" filter ") And (trelva_Group_ID=%d)", or
// only the parenthesised condition when the filter is empty.
QString GroupFilterWhere(int groupId, const QString &filterPart);

// One active group and the WHERE text of its records; the records page
// queries each and numbers new records from the group's largest key.
struct ActiveGroupWhere {
  GroupNode *group = nullptr;
  QString where;
};
// Every active group in display order with its own WHERE text.
QList<ActiveGroupWhere> ActiveGroupWheres(GroupNode &root,
                                          unsigned mask,
                                          const QString &filterPart);
