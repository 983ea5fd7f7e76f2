// The rules shared by the property grids of the filter pane and the chart
// set-up panes: what their tags mean, reading the grid as filter settings
// and template conditions, loading a template into it, and what the enable
// boxes and select-all buttons do.
//
// A column entry (tag 13) carries its column; its first child is the
// enable box (tag 10, or 11 for an option column, with the select-all
// button 12), the other children are its values: start and end of a date
// or number column, the text of a text column, one check box per option.
// A choice item tagged 14 names the column a set-up pane sums.
#pragma once

#include "groups/filter_set.h"
#include "groups/filter_where.h"

#include <QDate>
#include <QList>

#include <vector>

class PropertyItem;

enum FilterGridTag : int {
  FGT_ENABLE = 10,        // enable box of a date, number or text column
  FGT_OPTION_ENABLE = 11, // enable box or switch of an option column
  FGT_SELECT_ALL = 12,    // the select-all button's ID
  FGT_COLUMN = 13,        // a column entry
  FGT_SUM = 14,           // the list of columns to sum
};

// The filter the grid shows: one category per top-level category item,
// column entries as settings, nested categories by recursion.
std::vector<FilterCategory> GridFilterCategories(const PropertyItem &root);
// BuildFilterWhere over GridFilterCategories.
FilterWhere GridFilterWhere(const PropertyItem &root);

// The grid as template conditions, in grid order: one kind-13 condition
// per column entry, a kind-14 condition for the sum list; one per field
// name and kind.
QList<FilterCondition> GridConditions(const PropertyItem &root);

// Puts set into the grid: a column entry with a condition takes its
// values, one without is switched off; a sum list chooses the column the
// set names. A date that does not read takes the current time and a number
// that is not finite 0, so that a damaged template never makes a filter
// that no query accepts. The grid is then to be refreshed.
void LoadGridConditions(PropertyItem &root, const FilterSet &set);

// The user changed item: an enable box shows or hides its values and, for
// an option column, enables the select-all button exactly when ticked.
void ApplyEnableRule(PropertyItem &item);
// The select-all button of box was pressed: every option of its column
// becomes the opposite of the button's flag, the caption says what the
// next press does, and the flag flips.
void PressSelectAll(PropertyItem &box);

// The column a column entry stands for; null for any other item.
const ColumnDef *ColumnOf(const PropertyItem &item);
void SetColumn(PropertyItem &item, const ColumnDef &column);

// The date column whose range box item is, when the user just switched it
// on; null otherwise.
const ColumnDef *SwitchedOnDateColumn(const PropertyItem &item);
// A range switched on starts as the days first to last: the first one's
// 0:00:00 to the last one's 23:59:59 (not now to now, which shows nothing).
void StartDateRange(PropertyItem &box, const QDate &first, const QDate &last);
// A day picked or typed without a time into a range covers whole days:
// the start at 0:00:00, the end at 23:59:59. A time typed with the day is
// kept. Nothing for any other item.
void SnapPickedDate(PropertyItem &item);

// The current local date and time, to the second.
QDateTime FilterGridNow();
