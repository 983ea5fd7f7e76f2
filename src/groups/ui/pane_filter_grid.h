// The property grid of the filter pane: the filter tree of the account
// file's columns, read back as a WHERE text and as template conditions.
#pragma once

#include "groups/filter_set.h"
#include "groups/filter_where.h"
#include "widgets/property_grid.h"

class ColumnList;

class CPaneFilterGrid : public PropertyGrid {
  Q_OBJECT
public:
  explicit CPaneFilterGrid(QWidget *parent = nullptr);

  // Clears the grid and builds the four categories from the columns, every
  // entry expanded.
  void BuildFilterGrid(const ColumnList &columns);
  FilterWhere GetFilterWhere() const;
  QList<FilterCondition> GridToConditions() const;
  // Puts set into the grid; sends nothing.
  void LoadConditions(const FilterSet &set);
};
