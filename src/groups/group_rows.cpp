// The statements on table [Group] and on the records of a group, one node at
// a time or over a whole subtree.
#include "groups/group_tree.h"

#include "db/db_visiter.h"
#include "model/sql_text.h"

namespace {

int ParentId(const GroupNode &node) {
  return node.parent ? node.parent->id : -1;
}

QString InsertText(const GroupNode &node) {
  // One multi-argument arg() call: a title holding "%1" stays as typed.
  return QStringLiteral("Insert Into [Group] ([ID], [parentID], [SortID], "
                        "[Title], [State], [NodeKind]) Values (%1, %2, %3, "
                        "'%4', %5, %6)")
      .arg(QString::number(node.id),
           QString::number(ParentId(node)), QString::number(node.sortId),
           QuoteSql(node.title), QString::number(int(node.state)),
           QString::number(node.nodeKind));
}

QString UpdateText(const GroupNode &node) {
  return QStringLiteral("Update [Group] Set [parentID]=%1, [SortID]=%2, "
                        "[Title]='%3', [State]=%4, [NodeKind]=%5 Where ID=%6")
      .arg(QString::number(ParentId(node)),
           QString::number(node.sortId), QuoteSql(node.title),
           QString::number(int(node.state)), QString::number(node.nodeKind),
           QString::number(node.id));
}

QString StateText(const GroupNode &node) {
  return QStringLiteral("Update [Group] Set [State]=%1 Where ID=%2")
      .arg(int(node.state))
      .arg(node.id);
}

QString DeleteRowText(const GroupNode &node) {
  return QStringLiteral("Delete * From [Group] Where ID=%1").arg(node.id);
}

QString DeleteRecordsText(const GroupNode &node) {
  return QStringLiteral("Delete * From Users Where trelva_Group_ID=%1")
      .arg(node.id);
}

using TextOf = QString (*)(const GroupNode &);

// Runs the statement of node, then of each child's subtree in order.
bool RunPreOrder(CDBVisiter &session, const GroupNode &node, bool recursive,
                 TextOf text) {
  if (!session.Execute(text(node)))
    return false;
  if (!recursive)
    return true;
  for (const auto &child : node.children)
    if (!RunPreOrder(session, *child, true, text))
      return false;
  return true;
}

// Runs the statements of each child's subtree in order, then of node.
bool RunPostOrder(CDBVisiter &session, const GroupNode &node, bool recursive,
                  TextOf text) {
  if (recursive) {
    for (const auto &child : node.children)
      if (!RunPostOrder(session, *child, true, text))
        return false;
  }
  return session.Execute(text(node));
}

} // namespace

bool InsertGroupNode(CDBVisiter &session, const GroupNode &node,
                     bool recursive) {
  return RunPreOrder(session, node, recursive, InsertText);
}

bool UpdateGroupNode(CDBVisiter &session, const GroupNode &node,
                     bool recursive) {
  return RunPreOrder(session, node, recursive, UpdateText);
}

bool UpdateGroupState(CDBVisiter &session, const GroupNode &node,
                      bool recursive) {
  return RunPreOrder(session, node, recursive, StateText);
}

bool DeleteGroupRows(CDBVisiter &session, const GroupNode &node,
                     bool recursive) {
  return RunPostOrder(session, node, recursive, DeleteRowText);
}

bool DeleteGroupRecords(CDBVisiter &session, const GroupNode &node,
                        bool recursive) {
  return RunPreOrder(session, node, recursive, DeleteRecordsText);
}
