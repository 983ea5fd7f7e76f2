// The item tree of a chart set-up pane's grid and what the charts read of
// it: the column to sum, the set-up condition of the option switches and
// the expanded option columns.
#pragma once

#include "analysis/chart_set_up.h" // ExpandedColumn

#include <QList>
#include <QString>
#include <QStringList>

class ColumnList;
class PropertyItem;
struct FilterWhere;

// The texts in which the bar and the pie set-up panes differ.
struct SetUpPaneTexts {
  QString optionCategory;    // "汇总类别" / "展开类别"
  QString switchCaption;     // "指定[%1]汇总类别" / "按照[%1]展开"
  QString optionDescription; // the description of each option check box
};

SetUpPaneTexts BarSetUpTexts();
SetUpPaneTexts PieSetUpTexts();


// Replaces root's children: "汇总项目" with the list of numeric columns to
// sum (only when there is one; the key column first, starting on the last
// floating column with a formula default, else the first floating one),
// then the option category with one sub-category per option
// column: its switch (off, with "取消全部" disabled) and its options (on,
// hidden).
void BuildSetUpItems(PropertyItem &root, const ColumnList &columns,
                     const SetUpPaneTexts &texts);

// The field name of the column chosen to sum; empty when there is none.
QString SetUpSumColumn(const PropertyItem &root);
// Chooses fieldName (any case) in the sum list; false, and nothing
// changed, when the list does not hold it.
bool ChooseSetUpSumColumn(PropertyItem &root, const QString &fieldName);
// Whether item is the sum list.
bool IsSetUpSumList(const PropertyItem &item);
// "(F1 In ('a','b') And F2 In ('c'))" over the switched-on columns; empty
// with ok when no switch is on; not ok when a switched-on column has no
// option ticked.
FilterWhere SetUpCondition(const PropertyItem &root);
// The switched-on option columns in grid order.
QList<ExpandedColumn> SetUpExpandedColumns(const PropertyItem &root);
