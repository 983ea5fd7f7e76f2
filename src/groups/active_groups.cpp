// The active groups of a mode and their caption.
#include "groups/active_groups.h"

namespace {

// Longest caption, in characters, to which a further title is still added.
constexpr int kCaptionLimit = 20;

void CollectActive(const GroupNode &node, unsigned mask,
                   QList<const GroupNode *> &active) {
  for (const auto &child : node.children) {
    if (child->IsGroup() && child->HasState(mask))
      active.append(child.get());
    CollectActive(*child, mask, active);
  }
}

} // namespace

unsigned ActiveMask(bool severalGroups) {
  return severalGroups ? GS_CHECKED : GS_SELECTED;
}

QList<const GroupNode *> ActiveGroups(const GroupNode &root,
                                      bool severalGroups) {
  QList<const GroupNode *> active;
  CollectActive(root, ActiveMask(severalGroups), active);
  return active;
}

QList<int> ActiveGroupIds(const GroupNode &root, bool severalGroups) {
  QList<int> ids;
  for (const GroupNode *group : ActiveGroups(root, severalGroups))
    ids.append(group->id);
  return ids;
}

QString ActiveGroupCaption(const QStringList &titles) {
  QString caption;
  for (const QString &title : titles) {
    if (caption.size() > kCaptionLimit) {
      caption += QStringLiteral("…");
      break;
    }
    if (!caption.isEmpty())
      caption += QStringLiteral(" 和 ");
    caption += title;
  }
  return caption;
}

QString ActiveGroupCaption(const GroupNode &root, bool severalGroups) {
  QStringList titles;
  for (const GroupNode *group : ActiveGroups(root, severalGroups))
    titles.append(group->title);
  return ActiveGroupCaption(titles);
}
