// The rows of an item view as the view shows them: a table's rows are its
// model's rows; a tree's are its rows that are not hidden, each followed by
// the rows under it when it is expanded.
#pragma once

class QAbstractItemView;
class QModelIndex;
class QTreeView;

// The view as a tree; null for a table.
QTreeView *TreeOf(const QAbstractItemView *view);
// The row of index as shown; -1 when a tree does not show it.
int ShownRow(const QAbstractItemView *view, const QModelIndex &index);
// The index in column of the row shown at row; invalid when there is none.
QModelIndex IndexAtShownRow(const QAbstractItemView *view, int row,
                            int column);
int ShownRowCount(const QAbstractItemView *view);
