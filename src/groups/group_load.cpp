// Loading the group tree of an account file: the largest group ID, the
// nodes under the root in SortID order, and each node's largest record key.
#include "groups/group_tree.h"

#include "db/db_visiter.h"

#include <QHash>
#include <QList>
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

// One row of [Group].
struct GroupRow {
  int id = 0;
  int parentId = 0;
  int sortId = 0;
  QString title;
  unsigned state = 0;
  int nodeKind = 0;
};

// The rows of each parent ID, every list in SortID order.
using RowsByParent = QHash<int, QList<GroupRow>>;

// All rows in one query. The engine sorts ties in SortID in the order it
// reads the rows, whether it sorts all of them or only one parent's, so every
// parent's list is in the order "... Where parentID=%d Order By SortID"
// gives, at the cost of one statement instead of one per node.
RowsByParent ReadRows(CDBVisiter &session) {
  RowsByParent rows;
  if (session.Query(QStringLiteral("Select * From [Group] Order By SortID")) <= 0)
    return rows;
  do {
    GroupRow row;
    row.id = session.GetInt(QStringLiteral("ID"));
    row.parentId = session.GetInt(QStringLiteral("parentID"));
    row.sortId = session.GetInt(QStringLiteral("SortID"));
    row.title = session.GetString(QStringLiteral("Title"));
    row.state = unsigned(session.GetInt(QStringLiteral("State")));
    row.nodeKind = session.GetInt(QStringLiteral("NodeKind"));
    rows[row.parentId].append(row);
  } while (session.MoveNext());
  return rows;
}

// Appends the rows whose parent is node as its children, then fills each
// child the same way, depth first. A row whose ID is already in the tree (a
// cycle, or an ID stored twice) is left out with everything below it, so
// the walk always ends; rows whose parent is missing are never reached.
void FillChildren(const RowsByParent &rows, GroupNode &node, QSet<int> &seen) {
  for (const GroupRow &row : rows.value(node.id)) {
    if (seen.contains(row.id))
      continue;
    seen.insert(row.id);
    auto child = std::make_unique<GroupNode>();
    child->id = row.id;
    child->sortId = row.sortId;
    child->title = row.title;
    child->state = row.state;
    child->nodeKind = row.nodeKind;
    AddChild(node, std::move(child));
  }
  for (const auto &child : node.children)
    FillChildren(rows, *child, seen);
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
  EnsureGroupKeyIndex(session, keyField);
  const int largestId =
      QueryInt(session, QStringLiteral("SELECT max(ID) FROM [Group]"));
  root.children.clear();
  QSet<int> seen{root.id};
  FillChildren(ReadRows(session), root, seen);
  ReadLargestKeys(session, keyField, root);
  return largestId;
}
