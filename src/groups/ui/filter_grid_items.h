// The item tree of the filter pane's grid: the four filter categories, a
// red column entry per filterable column, its enable box and its values in
// their starting states (off, hidden, every option ticked).
#pragma once

class ColumnList;
class PropertyItem;

// Replaces root's children by the filter tree of the enabled columns.
void BuildFilterItems(PropertyItem &root, const ColumnList &columns);
