// Record and group arguments of the record commands.
#include "record_arguments.h"

#include "base/prompt.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"
#include "document/account_file.h"
#include "records/row_item.h"

bool ParseIntegerArgument(const QString &text, const QString &what,
                          int &value) {
  bool ok = false;
  value = text.toInt(&ok, 10);
  if (ok)
    return true;
  ShowMessage(QStringLiteral("%1应为整数：%2").arg(what, text));
  return false;
}

bool ParseDateArgument(const QString &text, const QString &what, QDate &date) {
  date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
  if (date.isValid())
    return true;
  ShowMessage(QStringLiteral("%1 应为 YYYY-MM-DD 形式的日期：%2").arg(what, text));
  return false;
}

GroupNode *FindRecordGroup(GroupNode &root, int id) {
  GroupNode *node = FindGroupNode(root, id);
  if (!node || node == &root) {
    ShowMessage(QStringLiteral("没有 ID 为 %1 的分组").arg(id));
    return nullptr;
  }
  if (!node->IsGroup()) {
    ShowMessage(QStringLiteral("ID 为 %1 的节点“%2”是文件夹，不是分组")
                    .arg(id)
                    .arg(node->title));
    return nullptr;
  }
  return node;
}

GroupNode *FirstRecordGroup(GroupNode &root) {
  for (const auto &child : root.children) {
    if (child->IsGroup())
      return child.get();
    if (GroupNode *group = FirstRecordGroup(*child))
      return group;
  }
  return nullptr;
}

bool LoadStoredRecord(AccountFile &file, const QString &keyText,
                      const QString &groupText, CRowItem &row) {
  int key = 0;
  int groupId = 0;
  if (!ParseIntegerArgument(keyText, QStringLiteral("编号"), key) ||
      !ParseIntegerArgument(groupText, QStringLiteral("分组 ID"), groupId))
    return false;
  row = CRowItem::EmptyRow(file, groupId);
  if (row.LoadFromDatabase(key, groupId))
    return true;
  ShowMessage(QStringLiteral("分组 %1 中没有编号为 %2 的记录")
                  .arg(groupId)
                  .arg(key));
  return false;
}
