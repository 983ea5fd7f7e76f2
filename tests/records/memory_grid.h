// A records grid in memory for the record store tests: a table of cell
// texts with a group per row, and a record of what the store told it.
//
// Rows shown as records are tracked by (group, key) with the texts the store
// gave, so a test can compare what the grid would show with the file.
#pragma once

#include "records/record_grid.h"

struct GroupNode;

#include <QList>
#include <QMap>
#include <QPair>
#include <QStringList>

class MemoryGrid : public RecordGrid {
public:
  // Adds a row of cells; cells[0] is the row heading (grid column -1).
  int AppendRow(const QStringList &cells, GroupNode *group);

  QString CellText(int gridColumn, int gridRow) const override;
  int RowGroupId(int gridRow) const override;
  void ShowInsertedRow(int gridRow, const CRowItem &row) override;
  void RemoveShownRow(int gridRow, const CRowItem &row) override;
  void ShowUpdatedRow(int gridRow, const CRowItem &row) override;

  // "insert 2/42 @5", "remove 2/42 @5", "update 2/42 @5": group/key @gridRow.
  QStringList calls;
  // The records shown, by (group, key): the texts of their items.
  QMap<QPair<int, int>, QStringList> shown;
  // Faults in what the store told: a record inserted twice, or removed or
  // updated while not shown.
  QStringList faults;

private:
  struct Row {
    QStringList cells;
    GroupNode *group = nullptr;
  };
  QList<Row> rows_;
};
