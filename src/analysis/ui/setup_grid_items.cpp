// The set-up panes' item tree and what the charts read of it.
#include "analysis/ui/setup_grid_items.h"

#include "analysis/chart_columns.h"
#include "groups/filter_where.h"
#include "window/filter_grid_rules.h"
#include "model/column_list.h"
#include "widgets/property_item.h"

#include <algorithm>

namespace {

// The numeric columns with the key column(s) first, the rest in column
// order.
QList<ColumnDef> SumChoices(const ColumnList &columns) {
  QList<ColumnDef> numeric = columns.NumericColumns();
  std::stable_partition(numeric.begin(), numeric.end(),
                        [](const ColumnDef &c) { return c.type == FT_KEY; });
  return numeric;
}

// The column a new pane sums: the charts' default, else the first choice.
int FirstSumChoice(const QList<ColumnDef> &choices, const QString &field) {
  for (qsizetype i = 0; i < choices.size(); ++i)
    if (choices[i].fieldName == field)
      return int(i);
  return 0;
}

void AddSumCategory(PropertyItem &root, const ColumnList &columns) {
  const QList<ColumnDef> numeric = SumChoices(columns);
  if (numeric.isEmpty())
    return;
  PropertyItem *category =
      root.Add(PropertyItem::Category, QStringLiteral("汇总项目"));
  PropertyItem *list = category->Add(
      PropertyItem::Choice, QStringLiteral("汇总呈现的项目"),
      QStringLiteral("选择一个项目以在柱图中汇总呈现"));
  list->tag = FGT_SUM;
  for (const ColumnDef &column : numeric) {
    list->choices.append(column.title);
    list->choiceData.append(column.fieldName);
  }
  list->choice = FirstSumChoice(numeric, DefaultSumField(columns));
}

void AddOptionColumn(PropertyItem &category, const ColumnDef &column,
                     const SetUpPaneTexts &texts) {
  PropertyItem *sub = category.Add(PropertyItem::Category, column.title);
  sub->tag = FGT_COLUMN;
  SetColumn(*sub, column);
  PropertyItem *toggle =
      sub->Add(PropertyItem::Check, texts.switchCaption.arg(column.title));
  toggle->tag = FGT_OPTION_ENABLE;
  toggle->button =
      InplaceButton{FGT_SELECT_ALL, QStringLiteral("取消全部"), false, true};
  for (const QString &value : column.Choices()) {
    PropertyItem *option =
        sub->Add(PropertyItem::Check, value, texts.optionDescription);
    option->checked = true;
    option->hidden = true;
  }
}

const PropertyItem *FindSumList(const PropertyItem &item) {
  for (int i = 0; i < item.ChildCount(); ++i) {
    const PropertyItem *child = item.Child(i);
    if (IsSetUpSumList(*child))
      return child;
    if (const PropertyItem *found = FindSumList(*child))
      return found;
  }
  return nullptr;
}

void CollectExpanded(const PropertyItem &item, QList<ExpandedColumn> &out) {
  for (int i = 0; i < item.ChildCount(); ++i) {
    const PropertyItem &child = *item.Child(i);
    const bool entry = child.tag == FGT_COLUMN && ColumnOf(child) &&
                       child.ChildCount() > 0;
    if (!entry) {
      CollectExpanded(child, out);
      continue;
    }
    if (ColumnOf(child)->type != FT_OPTION || !child.Child(0)->checked)
      continue;
    ExpandedColumn column{ColumnOf(child)->fieldName, {}};
    for (int j = 1; j < child.ChildCount(); ++j)
      if (child.Child(j)->checked)
        column.options.append(child.Child(j)->caption);
    out.append(column);
  }
}

} // namespace

SetUpPaneTexts BarSetUpTexts() {
  return {QStringLiteral("汇总类别"), QStringLiteral("指定[%1]汇总类别"),
          QStringLiteral("勾选以在视图中汇总此种类型的记录")};
}

SetUpPaneTexts PieSetUpTexts() {
  return {QStringLiteral("展开类别"), QStringLiteral("按照[%1]展开"),
          QStringLiteral("勾选以在视图中显示此种类型的比例")};
}

void BuildSetUpItems(PropertyItem &root, const ColumnList &columns,
                     const SetUpPaneTexts &texts) {
  root.ClearChildren();
  AddSumCategory(root, columns);
  PropertyItem *options = root.Add(PropertyItem::Category, texts.optionCategory);
  for (const ColumnDef &column : columns.ChoiceColumns())
    AddOptionColumn(*options, column, texts);
}

QString SetUpSumColumn(const PropertyItem &root) {
  const PropertyItem *list = FindSumList(root);
  return list ? list->ChoiceData() : QString();
}

bool ChooseSetUpSumColumn(PropertyItem &root, const QString &fieldName) {
  auto *list = const_cast<PropertyItem *>(FindSumList(root));
  return list && !fieldName.isEmpty() && list->ChooseData(fieldName);
}

bool IsSetUpSumList(const PropertyItem &item) {
  return item.type == PropertyItem::Choice && item.tag == FGT_SUM;
}

FilterWhere SetUpCondition(const PropertyItem &root) {
  return GridFilterWhere(root);
}

QList<ExpandedColumn> SetUpExpandedColumns(const PropertyItem &root) {
  QList<ExpandedColumn> columns;
  CollectExpanded(root, columns);
  return columns;
}
