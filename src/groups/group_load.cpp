// Loading the group tree of an account file: the largest group ID, the
// nodes under the root in SortID order, and each node's largest record key.
#include "groups/group_tree.h"

#include "db/db_visiter.h"
#include "model/account_file.h"

#include <QSet>
#include <QVariant>

namespace {

// The integer in the first column of the current row; 0 for no row or null.
int FirstInt(CDBVisiter &session) {
  QVariant value;
  if (!session.GetValue(value, 0, false) || value.isNull())
    return 0;
  return value.toInt();
}

int QueryInt(CDBVisiter &session, const QString &sql) {
  return session.Query(sql) > 0 ? FirstInt(session) : 0;
}

// Reads the rows whose parentID is node's ID, in SortID order, and appends
// them as node's children; then fills each child the same way. A row whose
// ID is already in the tree (a cycle, or an ID stored twice) is left out
// with everything below it, so the walk always ends.
void FillChildren(CDBVisiter &session, GroupNode &node, QSet<int> &seen) {
  const QString sql =
      QStringLiteral("Select * From [Group] Where parentID=%1 Order By SortID")
          .arg(node.id);
  if (session.Query(sql) > 0) {
    do {
      const int id = session.GetInt(QStringLiteral("ID"));
      if (seen.contains(id))
        continue;
      seen.insert(id);
      auto child = std::make_unique<GroupNode>();
      child->id = id;
      child->sortId = session.GetInt(QStringLiteral("SortID"));
      child->title = session.GetString(QStringLiteral("Title"));
      child->state = unsigned(session.GetInt(QStringLiteral("State")));
      child->nodeKind = session.GetInt(QStringLiteral("NodeKind"));
      AddChild(node, std::move(child));
    } while (session.MoveNext());
  }
  for (const auto &child : node.children)
    FillChildren(session, *child, seen);
}

// The largest record key of node and of every node below it, node first.
void ReadLargestKeys(CDBVisiter &session, const QString &keyField,
                     GroupNode &node) {
  node.largestKey = QueryInt(
      session, QStringLiteral("SELECT max(%1) FROM Users Where "
                              "trelva_Group_ID=%2")
                   .arg(keyField, QString::number(node.id)));
  for (const auto &child : node.children)
    ReadLargestKeys(session, keyField, *child);
}

} // namespace

int LoadGroupTree(CDBVisiter &session, const QString &keyField,
                  GroupNode &root) {
  const int largestId =
      QueryInt(session, QStringLiteral("SELECT max(ID) FROM [Group]"));
  root.children.clear();
  QSet<int> seen{root.id};
  FillChildren(session, root, seen);
  ReadLargestKeys(session, keyField, root);
  return largestId;
}

void LoadGroupTree(AccountFile &file) {
  GroupNode &root = file.Root();
  if (!file.Session()) {
    root.children.clear();
    file.SetLargestGroupId(0);
    return;
  }
  const int largestId =
      LoadGroupTree(*file.Session(), file.Columns().KeyFieldName(), root);
  file.SetLargestGroupId(largestId);
}
