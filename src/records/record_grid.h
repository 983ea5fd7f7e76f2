// What the record store needs of a records grid: the texts of a row's
// cells, the group a row belongs to, and three ways of showing a change that
// was stored. The grid control implements it; tests use an in-memory one.
//
// The grid shows column i of the column list in grid column i - 1, so
// column 0 (normally the key) lives in the row heading, grid column -1.
//
// Every grid that shows a file's records registers with that file
// (AttachFile), and every stored change is shown in each registered grid.
// Rows and commands name the grid they came from by its registration
// number, never by pointer, so a grid may go away while the undo history
// still holds rows read from it.
#pragma once

#include <QString>

class CRowItem;
class RecordFile;

class RecordGrid {
public:
  RecordGrid() = default;
  // Unregisters from the file.
  virtual ~RecordGrid();
  RecordGrid(const RecordGrid &) = delete;
  RecordGrid &operator=(const RecordGrid &) = delete;

  // Registers with file, leaving the file registered before; null only
  // unregisters. Each registration gets a number of its own.
  void AttachFile(RecordFile *file);
  RecordFile *AttachedFile() const { return file_; }
  // The number of the current registration; 0 while not registered.
  int GridNumber() const { return number_; }

  // The stored text of the cell at (gridColumn, gridRow); column -1 is the
  // row heading. Empty for a cell that does not exist; in a new-record row
  // every cell not typed into reads as empty, the key included.
  virtual QString CellText(int gridColumn, int gridRow) const = 0;
  // The ID of the group of gridRow; 0 when the row has none.
  virtual int RowGroupId(int gridRow) const = 0;

  // Called after a row was inserted into the database. gridRow is where
  // the row was read from in this grid, or -1 when it came from elsewhere;
  // the grid checks that it still shows that place before using it.
  virtual void ShowInsertedRow(int gridRow, const CRowItem &row) = 0;
  // Called after a row was deleted from the database.
  virtual void RemoveShownRow(int gridRow, const CRowItem &row) = 0;
  // Called after a row was updated in the database.
  virtual void ShowUpdatedRow(int gridRow, const CRowItem &row) = 0;

  // Bracket the changes of one user action (or its undo or redo) of
  // rowCount rows, so that a grid may show a large one at once at the end
  // instead of row by row. Pairs nest.
  virtual void BeginStoredChanges(int /*rowCount*/) {}
  virtual void EndStoredChanges() {}

private:
  friend class RecordFile;
  RecordFile *file_ = nullptr;
  int number_ = 0;
};
