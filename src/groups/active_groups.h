// The active groups of a group tree for one of the group pane's two modes,
// and the caption the status bar shows for them.
//
// While several groups are shown every ticked group (State bit GS_CHECKED)
// is active; while one group is shown, the selected one (GS_SELECTED). The
// two bits are independent, so switching the mode brings back the groups of
// the other mode as they were.
#pragma once

#include "groups/group_node.h"

#include <QList>
#include <QString>
#include <QStringList>

// The State bit that makes a group active in the mode.
unsigned ActiveMask(bool severalGroups);

// The active groups under root in tree order (a node, then its children,
// then its next sibling).
QList<const GroupNode *> ActiveGroups(const GroupNode &root,
                                      bool severalGroups);
QList<int> ActiveGroupIds(const GroupNode &root, bool severalGroups);

// The titles joined by " 和 "; before a title is added, a text already
// longer than 20 characters gets "…" instead and no further title.
QString ActiveGroupCaption(const QStringList &titles);
QString ActiveGroupCaption(const GroupNode &root, bool severalGroups);
