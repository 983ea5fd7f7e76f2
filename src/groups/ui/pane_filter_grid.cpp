// The filter pane's property grid.
#include "groups/ui/pane_filter_grid.h"

#include "groups/ui/filter_grid_items.h"
#include "window/filter_grid_rules.h"

CPaneFilterGrid::CPaneFilterGrid(QWidget *parent) : PropertyGrid(parent) {}

void CPaneFilterGrid::BuildFilterGrid(const ColumnList &columns) {
  Rebuild([&columns](PropertyItem &root) { BuildFilterItems(root, columns); });
  ExpandAll();
}

FilterWhere CPaneFilterGrid::GetFilterWhere() const {
  return GridFilterWhere(Root());
}

QList<FilterCondition> CPaneFilterGrid::GridToConditions() const {
  return GridConditions(Root());
}

void CPaneFilterGrid::LoadConditions(const FilterSet &set) {
  LoadGridConditions(Root(), set);
  Refresh();
}
