// The rows of an item view as shown; see shown_rows.h.
#include "widgets/shown_rows.h"

#include <QTreeView>

#include <functional>

namespace {

// Visits the shown rows under parent in order; visit returns false to stop
// the walk.
bool WalkShownRows(const QTreeView *tree, const QModelIndex &parent,
                   const std::function<bool(const QModelIndex &)> &visit) {
  const QAbstractItemModel *model = tree->model();
  for (int row = 0; row < model->rowCount(parent); ++row) {
    if (tree->isRowHidden(row, parent))
      continue;
    const QModelIndex index = model->index(row, 0, parent);
    if (!visit(index))
      return false;
    if (tree->isExpanded(index) && !WalkShownRows(tree, index, visit))
      return false;
  }
  return true;
}

} // namespace

QTreeView *TreeOf(const QAbstractItemView *view) {
  return qobject_cast<QTreeView *>(const_cast<QAbstractItemView *>(view));
}

int ShownRow(const QAbstractItemView *view, const QModelIndex &index) {
  const QTreeView *tree = TreeOf(view);
  if (!tree)
    return index.row();
  const QModelIndex first = index.siblingAtColumn(0);
  int row = 0, found = -1;
  WalkShownRows(tree, tree->rootIndex(), [&](const QModelIndex &at) {
    if (at == first) {
      found = row;
      return false;
    }
    ++row;
    return true;
  });
  return found;
}

QModelIndex IndexAtShownRow(const QAbstractItemView *view, int row,
                            int column) {
  const QTreeView *tree = TreeOf(view);
  if (!tree)
    return view->model()->index(row, column, view->rootIndex());
  QModelIndex found;
  int at = 0;
  WalkShownRows(tree, tree->rootIndex(), [&](const QModelIndex &index) {
    if (at++ < row)
      return true;
    found = index.siblingAtColumn(column);
    return false;
  });
  return found;
}

int ShownRowCount(const QAbstractItemView *view) {
  const QTreeView *tree = TreeOf(view);
  if (!tree)
    return view->model()->rowCount(view->rootIndex());
  int rows = 0;
  WalkShownRows(tree, tree->rootIndex(), [&rows](const QModelIndex &) {
    ++rows;
    return true;
  });
  return rows;
}
