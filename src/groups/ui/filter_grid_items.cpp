// Building the filter pane's item tree from the columns.
#include "groups/ui/filter_grid_items.h"

#include "groups/filter_where.h"
#include "window/filter_grid_rules.h"
#include "model/column_list.h"
#include "widgets/property_item.h"

namespace {

PropertyItem *AddValue(PropertyItem &entry, PropertyItem::Type type,
                       const QString &caption, const QString &description) {
  PropertyItem *item = entry.Add(type, caption, description);
  item->hidden = true;
  return item;
}

void AddValues(PropertyItem &entry, const FilterColumnSetting &setting,
               FilterCategoryKind kind) {
  switch (kind) {
  case FC_DATE:
    AddValue(entry, PropertyItem::Date, QStringLiteral("起始日期"),
             QStringLiteral("仅查看此日期以后的条目"))
        ->date = setting.dateStart.ToDateTime();
    AddValue(entry, PropertyItem::Date, QStringLiteral("终止日期"),
             QStringLiteral("仅查看此日期以前的条目"))
        ->date = setting.dateEnd.ToDateTime();
    break;
  case FC_NUMBER:
    AddValue(entry, PropertyItem::Number, QStringLiteral("起始数值"),
             QStringLiteral("仅查看大于此数值的条目"));
    AddValue(entry, PropertyItem::Number, QStringLiteral("终止数值"),
             QStringLiteral("仅查看小于此数值的条目"));
    break;
  case FC_TEXT:
    AddValue(entry, PropertyItem::Text, QStringLiteral("字符串筛选条件"),
             QStringLiteral("在此填写字符串筛选条件"));
    break;
  case FC_OPTION:
    for (const FilterOption &option : setting.options)
      AddValue(entry, PropertyItem::Check, option.value,
               QStringLiteral("勾选以在视图中显示此种类型的条目"))
          ->checked = true;
    break;
  case FC_NONE:
    break;
  }
}

void AddColumnEntry(PropertyItem &category, const FilterColumnSetting &setting,
                    FilterCategoryKind kind) {
  const ColumnDef &column = setting.column;
  PropertyItem *entry = category.Add(PropertyItem::Category, column.title);
  entry->redCaption = true;
  entry->tag = FGT_COLUMN;
  SetColumn(*entry, column);

  PropertyItem *box = entry->Add(
      PropertyItem::Check, QStringLiteral("使用[%1]筛选").arg(column.title));
  box->tag = kind == FC_OPTION ? FGT_OPTION_ENABLE : FGT_ENABLE;
  if (kind == FC_OPTION)
    box->button = InplaceButton{FGT_SELECT_ALL, QStringLiteral("取消全部"),
                                false, true};
  AddValues(*entry, setting, kind);
}

} // namespace

void BuildFilterItems(PropertyItem &root, const ColumnList &columns) {
  root.ClearChildren();
  const std::vector<FilterCategory> categories = FilterCategories(columns);
  const FilterCategoryKind kinds[] = {FC_DATE, FC_NUMBER, FC_TEXT, FC_OPTION};
  for (size_t i = 0; i < categories.size() && i < 4; ++i) {
    PropertyItem *category =
        root.Add(PropertyItem::Category, categories[i].caption);
    for (const FilterEntry &entry : categories[i].entries)
      if (const auto *setting = std::get_if<FilterColumnSetting>(&entry))
        AddColumnEntry(*category, *setting, kinds[i]);
  }
}
