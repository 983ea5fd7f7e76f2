// Filter settings and the WHERE text they turn into.
//
// A filter is a list of categories; a category holds column settings and,
// nested, further categories, in the order they are shown. The filter pane
// shows the four categories of FilterCategories; the chart set-up panes
// build their option categories of the same shape.
#pragma once

#include "base/date_text.h"
#include "model/column_def.h"

#include <QList>
#include <QString>

#include <variant>
#include <vector>

class ColumnList;

// One value of an option column and whether it is ticked.
struct FilterOption {
  QString value;
  bool ticked = true;
};

// The filter setting of one column; which fields count depends on the
// column's type.
struct FilterColumnSetting {
  ColumnDef column;
  bool enabled = false;    // "使用[%s]筛选"
  double rangeStart = 0;   // key, integer and float columns
  double rangeEnd = 0;
  DateValue dateStart;     // date columns
  DateValue dateEnd;
  QString text;            // text and memo columns
  QList<FilterOption> options; // option columns, in the column's order

  FilterColumnSetting() = default;
  // The starting values: off, ranges 0 to 0, both dates now (to the
  // second), empty text, every option value ticked.
  explicit FilterColumnSetting(const ColumnDef &column);
};

// The four categories of the filter pane, in their order.
enum FilterCategoryKind : int {
  FC_NONE = 0, // time columns and unknown types take no part
  FC_DATE = 1,
  FC_NUMBER = 2,
  FC_TEXT = 3,
  FC_OPTION = 4,
};

// The category of a column type.
FilterCategoryKind FilterCategoryOf(int fieldType);
// "日期筛选设置", "数字筛选设置", "字符串筛选设置", "可选型筛选设置"; empty
// for FC_NONE.
QString FilterCategoryCaption(FilterCategoryKind kind);

struct FilterCategory;
// An entry of a category: a column setting or a nested category.
using FilterEntry = std::variant<FilterColumnSetting, FilterCategory>;

struct FilterCategory {
  QString caption;
  std::vector<FilterEntry> entries;
};

// The four categories, each with a setting in its starting values for every
// enabled column of its types, in column order. A category may be empty.
std::vector<FilterCategory> FilterCategories(const ColumnList &columns);

struct FilterWhere {
  bool ok = true;
  QString text;    // without the word WHERE; empty for no condition
  QString problem; // when not ok: "类别未选择任何选项"
};

// The WHERE text of a filter, every field name in brackets: each category that yields anything adds its
// pieces in parentheses, joined with " And ". An enabled option setting
// with nothing ticked stops the build with ok false and the problem named;
// the text then holds what the categories before the failing one gave.
FilterWhere BuildFilterWhere(const std::vector<FilterCategory> &categories);
