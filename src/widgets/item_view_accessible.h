// The program's item views (the cell grid, the property grid, the group
// tree) in the accessibility tree. A table or tree whose cells are made only
// when an assistive tool asks for one, so that loading or resetting a model
// of many rows costs the accessibility layer nothing; and whose cells'
// "Toggle" ticks or clears a check box as a click into it does (a plain
// cell's Toggle selects or unselects it).
//
// The children are numbered as Qt's own view events number them: a table's
// child 0 is the corner, then the column headings, then each row's heading
// and cells; a tree's first row of children is its column headings.
#pragma once

class QAbstractItemView;

// Gives view (a QTableView or QTreeView) these interfaces; call it before
// anything asks for the view's interface.
void UseLazyAccessibleTable(QAbstractItemView *view);
