// What the record store needs of the records grid: the texts of a row's
// cells, the group a row belongs to, and three ways of showing a change that
// was stored. The grid control implements it; tests use an in-memory one.
//
// The grid shows column i of the column list in grid column i - 1, so
// column 0 (normally the key) lives in the row heading, grid column -1.
#pragma once

#include <QString>

class CRowItem;
struct GroupNode;

class RecordGrid {
public:
  virtual ~RecordGrid() = default;

  // The text of the cell at (gridColumn, gridRow); column -1 is the row
  // heading. Empty for a cell that does not exist.
  virtual QString CellText(int gridColumn, int gridRow) const = 0;
  // The group attached to the row heading of gridRow, or null.
  virtual GroupNode *RowGroup(int gridRow) const = 0;

  // Called after a row was inserted into the database.
  virtual void ShowInsertedRow(int gridRow, const CRowItem &row) = 0;
  // Called after a row was deleted from the database.
  virtual void RemoveShownRow(int gridRow, const CRowItem &row) = 0;
  // Called after a row was updated in the database.
  virtual void ShowUpdatedRow(int gridRow, const CRowItem &row) = 0;
};
