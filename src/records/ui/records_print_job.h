// The records page on printed pages: the grid's records and group header
// rows as the grid shows them (dates, times and decimals as shown), its
// captions as the caption row and its column widths scaled to the page; the
// new-record rows are left out. With selectedOnly, only the selected
// records, each under its group's header row.
#pragma once

#include "print/table_print_job.h"
#include "print/table_source.h"

#include <vector>

class CSorvansGridCtrl;

class RecordsTableSource : public TableSource {
public:
  // The grid must outlive the source.
  RecordsTableSource(const CSorvansGridCtrl &grid, bool selectedOnly);

  int ColumnCount() const override;
  QString Caption(int column) const override;
  int Width(int column) const override;
  int RowCount() const override { return int(rows_.size()); }
  bool IsGroupRow(int row) const override;
  QString Text(int column, int row) const override;
  Qt::Alignment Alignment(int column, int row) const override;

private:
  // The grid row of a printed row, or -1 when the grid has changed since.
  int GridRow(int row) const;

  const CSorvansGridCtrl &grid_;
  std::vector<int> rows_;
};

using RecordsPrintJob = OwnTablePrintJob<RecordsTableSource>;
