// The group part of a WHERE text and its combination with the filter part.
#include "groups/group_where.h"

namespace {

QString GroupCondition(int groupId) {
  return QStringLiteral("trelva_Group_ID=%1").arg(groupId);
}

// Collects the active groups below node in display order; Node is
// GroupNode or const GroupNode.
template <typename Node>
void CollectActive(Node &node, unsigned mask, QList<Node *> &active) {
  for (const auto &child : node.children) {
    if (child->IsGroup() && child->HasState(mask))
      active.append(child.get());
    CollectActive<Node>(*child, mask, active);
  }
}

template <typename Node>
QList<Node *> ActiveGroups(Node &root, unsigned mask) {
  QList<Node *> active;
  CollectActive<Node>(root, mask, active);
  return active;
}

QString Parenthesised(const QString &text) {
  return QLatin1Char('(') + text + QLatin1Char(')');
}

} // namespace

QStringList GroupConditions(const GroupNode &root, unsigned mask) {
  QStringList conditions;
  for (const GroupNode *group : ActiveGroups(root, mask))
    conditions.append(GroupCondition(group->id));
  return conditions;
}

QString GroupWhere(const GroupNode &root, unsigned mask) {
  return GroupConditions(root, mask).join(QStringLiteral(" or "));
}

QString CombineWhere(const QString &groupPart, const QString &filterPart) {
  if (groupPart.isEmpty())
    return filterPart;
  if (filterPart.isEmpty())
    return groupPart;
  return Parenthesised(groupPart) + QStringLiteral(" And ") +
         Parenthesised(filterPart);
}

QString GroupFilterWhere(int groupId, const QString &filterPart) {
  const QString condition = Parenthesised(GroupCondition(groupId));
  if (filterPart.isEmpty())
    return condition;
  return Parenthesised(filterPart) + QStringLiteral(" And ") + condition;
}

QList<ActiveGroupWhere> ActiveGroupWheres(GroupNode &root,
                                          unsigned mask,
                                          const QString &filterPart) {
  QList<ActiveGroupWhere> result;
  for (GroupNode *group : ActiveGroups(root, mask))
    result.append({group, GroupFilterWhere(group->id, filterPart)});
  return result;
}

QString NoRecordsWhere() { return QStringLiteral("1=0"); }
