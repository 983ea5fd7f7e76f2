// What a printed table shows: its columns (caption, width on the screen,
// alignment) and its rows, read on demand, so that a table of many records
// is printed without a copy of its texts. A group row spans every column
// and shows the text of column 0.
#pragma once

#include <QString>
#include <Qt>

class TableSource {
public:
  virtual ~TableSource() = default;
  virtual int ColumnCount() const = 0;
  virtual QString Caption(int column) const = 0;
  // The width on the screen in pixels; 0 leaves the column out.
  virtual int Width(int column) const = 0;
  virtual int RowCount() const = 0;
  virtual bool IsGroupRow(int row) const = 0;
  // The text as shown.
  virtual QString Text(int column, int row) const = 0;
  virtual Qt::Alignment Alignment(int column, int row) const = 0;
};
