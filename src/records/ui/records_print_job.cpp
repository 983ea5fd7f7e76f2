// The records page on printed pages; see records_print_job.h.
#include "records/ui/records_print_job.h"

#include "records/ui/sorvans_grid_ctrl.h"

namespace {

// The printed column c is grid column c - 1: the row heading (the key)
// comes first.
int GridColumn(int column) { return column - 1; }

} // namespace

RecordsTableSource::RecordsTableSource(const CSorvansGridCtrl &grid,
                                       bool selectedOnly)
    : grid_(grid) {
  if (!selectedOnly) {
    for (int row = 0; row < grid.GetNumberRows(); ++row)
      if (grid.IsRecordRow(row) || grid.IsHeaderRow(row))
        rows_.push_back(row);
    return;
  }
  // Each selected record under the header row of its group.
  int header = -1;
  int lastHeader = -1;
  const std::vector<int> selected = grid.SelectedRecordRows();
  size_t next = 0;
  for (int row = 0; row < grid.GetNumberRows() && next < selected.size(); ++row) {
    if (grid.IsHeaderRow(row))
      header = row;
    if (row != selected[next])
      continue;
    ++next;
    if (header >= 0 && header != lastHeader) {
      rows_.push_back(header);
      lastHeader = header;
    }
    rows_.push_back(row);
  }
}

int RecordsTableSource::ColumnCount() const { return grid_.GetNumberCols() + 1; }

QString RecordsTableSource::Caption(int column) const {
  return grid_.QuickGetText(GridColumn(column), -1);
}

int RecordsTableSource::Width(int column) const {
  return grid_.GetColWidth(GridColumn(column));
}

int RecordsTableSource::GridRow(int row) const {
  if (row < 0 || row >= RowCount())
    return -1;
  const int gridRow = rows_[size_t(row)];
  return gridRow < grid_.GetNumberRows() ? gridRow : -1;
}

bool RecordsTableSource::IsGroupRow(int row) const {
  const int gridRow = GridRow(row);
  return gridRow >= 0 && grid_.IsHeaderRow(gridRow);
}

QString RecordsTableSource::Text(int column, int row) const {
  const int gridRow = GridRow(row);
  if (gridRow < 0)
    return QString();
  // A header row's title lies in its first cell, not its row heading.
  if (grid_.IsHeaderRow(gridRow))
    return grid_.QuickGetText(0, gridRow);
  return grid_.DisplayText(GridColumn(column), gridRow);
}

Qt::Alignment RecordsTableSource::Alignment(int column, int row) const {
  const int gridRow = GridRow(row);
  if (gridRow < 0)
    return Qt::AlignLeft;
  return Qt::Alignment(grid_.GetAlignment(GridColumn(column), gridRow));
}
