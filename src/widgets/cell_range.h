// A rectangle of grid cells, first and last column and row inclusive.
#pragma once

#include <algorithm>

struct CellRange {
  int firstCol = 0;
  int firstRow = 0;
  int lastCol = -1;
  int lastRow = -1;

  // The range spanning both corners, in whatever order they are given.
  static CellRange Spanning(int col1, int row1, int col2, int row2) {
    return {std::min(col1, col2), std::min(row1, row2), std::max(col1, col2),
            std::max(row1, row2)};
  }

  bool IsEmpty() const { return lastCol < firstCol || lastRow < firstRow; }
  bool Contains(int col, int row) const {
    return col >= firstCol && col <= lastCol && row >= firstRow &&
           row <= lastRow;
  }
  long long CellCount() const {
    return IsEmpty() ? 0
                     : (long long)(lastCol - firstCol + 1) *
                           (lastRow - firstRow + 1);
  }
  bool operator==(const CellRange &) const = default;
};
