// Filter settings and template conditions to and from a filter grid.
#include "window/filter_grid_rules.h"

#include "base/date_text.h"
#include "widgets/property_item.h"

#include <any>
#include <cmath>

namespace {

bool IsColumnEntry(const PropertyItem &item) {
  return item.tag == FGT_COLUMN && ColumnOf(item) && item.ChildCount() > 0;
}

bool IsEnableBox(const PropertyItem &item) {
  return item.type == PropertyItem::Check &&
         (item.tag == FGT_ENABLE || item.tag == FGT_OPTION_ENABLE);
}

// The value items of a column entry: every child after the enable box.
QList<PropertyItem *> Values(const PropertyItem &entry) {
  QList<PropertyItem *> values;
  for (int i = 1; i < entry.ChildCount(); ++i)
    values.append(entry.Child(i));
  return values;
}

FilterColumnSetting SettingOf(const PropertyItem &entry) {
  FilterColumnSetting setting;
  setting.column = *ColumnOf(entry);
  setting.enabled = entry.Child(0)->checked;
  const QList<PropertyItem *> values = Values(entry);
  switch (FilterCategoryOf(setting.column.type)) {
  case FC_NUMBER:
    if (values.size() >= 2) {
      setting.rangeStart = values[0]->number;
      setting.rangeEnd = values[1]->number;
    }
    break;
  case FC_DATE:
    if (values.size() >= 2) {
      setting.dateStart = DateValue::FromDateTime(values[0]->date);
      setting.dateEnd = DateValue::FromDateTime(values[1]->date);
    }
    break;
  case FC_TEXT:
    if (!values.isEmpty())
      setting.text = values[0]->text;
    break;
  case FC_OPTION:
    for (const PropertyItem *option : values)
      setting.options.append({option->caption, option->checked});
    break;
  case FC_NONE:
    break;
  }
  return setting;
}

FilterCategory CategoryOf(const PropertyItem &item) {
  FilterCategory category{item.caption, {}};
  for (int i = 0; i < item.ChildCount(); ++i) {
    const PropertyItem &child = *item.Child(i);
    if (IsColumnEntry(child))
      category.entries.emplace_back(SettingOf(child));
    else if (child.type == PropertyItem::Category)
      category.entries.emplace_back(CategoryOf(child));
  }
  return category;
}

FilterCondition ConditionOf(const PropertyItem &entry) {
  const FilterColumnSetting setting = SettingOf(entry);
  FilterCondition condition;
  condition.enabled = setting.enabled ? 1 : 0;
  condition.kind = CK_COLUMN;
  condition.fieldName = setting.column.fieldName;
  switch (FilterCategoryOf(setting.column.type)) {
  case FC_NUMBER:
    condition.numbers = {setting.rangeStart, setting.rangeEnd};
    break;
  case FC_TEXT:
    condition.texts = {setting.text};
    break;
  case FC_OPTION:
    for (const FilterOption &option : setting.options)
      if (option.ticked)
        condition.texts.append(option.value);
    break;
  case FC_DATE:
    condition.texts = {FormatDateTime(setting.dateStart),
                       FormatDateTime(setting.dateEnd)};
    break;
  case FC_NONE:
    break;
  }
  return condition;
}

void CollectConditions(const PropertyItem &item, FilterSet &into) {
  for (int i = 0; i < item.ChildCount(); ++i) {
    const PropertyItem &child = *item.Child(i);
    if (IsColumnEntry(child)) {
      into.Add(ConditionOf(child));
      continue;
    }
    if (child.type == PropertyItem::Choice && child.tag == FGT_SUM) {
      FilterCondition sum;
      sum.kind = CK_SUM;
      sum.texts = {child.ChoiceData()};
      into.Add(sum);
      continue;
    }
    CollectConditions(child, into);
  }
}

double FiniteOr(double value, double fallback) {
  return std::isfinite(value) ? value : fallback;
}

QDateTime DateOr(const QString &text) {
  const DateValue value = ParseDateTime(text);
  return value.IsValid() ? value.ToDateTime() : FilterGridNow();
}

void LoadEntry(PropertyItem &entry, const FilterSet &set) {
  PropertyItem &box = *entry.Child(0);
  const QList<PropertyItem *> values = Values(entry);
  const FilterCondition *condition =
      set.Find(ColumnOf(entry)->fieldName, CK_COLUMN);
  box.checked = condition && condition->enabled != 0;
  if (box.button)
    box.button->enabled = box.checked;
  for (PropertyItem *value : values)
    value->hidden = !box.checked;
  if (!condition)
    return;

  const QStringList &texts = condition->texts;
  switch (FilterCategoryOf(ColumnOf(entry)->type)) {
  case FC_NUMBER:
    if (values.size() >= 2) {
      values[0]->number = FiniteOr(condition->numbers.value(0, 0), 0);
      values[1]->number = FiniteOr(condition->numbers.value(1, 0), 0);
    }
    break;
  case FC_DATE:
    if (values.size() >= 2) {
      values[0]->date = DateOr(texts.value(0));
      values[1]->date = DateOr(texts.value(1));
    }
    break;
  case FC_TEXT:
    if (!values.isEmpty())
      values[0]->text = texts.value(0);
    break;
  case FC_OPTION:
    for (PropertyItem *option : values)
      option->checked = texts.contains(option->caption);
    break;
  case FC_NONE:
    break;
  }
}

void LoadSum(PropertyItem &list, const FilterSet &set) {
  const FilterCondition *condition = set.Find(QString(), CK_SUM);
  if (condition && !condition->texts.isEmpty())
    list.ChooseData(condition->texts.first());
}

void LoadItems(PropertyItem &item, const FilterSet &set) {
  for (int i = 0; i < item.ChildCount(); ++i) {
    PropertyItem &child = *item.Child(i);
    if (IsColumnEntry(child) && IsEnableBox(*child.Child(0)))
      LoadEntry(child, set);
    else if (child.type == PropertyItem::Choice && child.tag == FGT_SUM)
      LoadSum(child, set);
    else
      LoadItems(child, set);
  }
}

} // namespace

QDateTime FilterGridNow() {
  const QDateTime now = QDateTime::currentDateTime();
  return QDateTime(now.date(), QTime(now.time().hour(), now.time().minute(),
                                     now.time().second()));
}

std::vector<FilterCategory> GridFilterCategories(const PropertyItem &root) {
  std::vector<FilterCategory> categories;
  for (int i = 0; i < root.ChildCount(); ++i)
    if (root.Child(i)->type == PropertyItem::Category)
      categories.push_back(CategoryOf(*root.Child(i)));
  return categories;
}

FilterWhere GridFilterWhere(const PropertyItem &root) {
  return BuildFilterWhere(GridFilterCategories(root));
}

QList<FilterCondition> GridConditions(const PropertyItem &root) {
  FilterSet set;
  CollectConditions(root, set);
  return set.conditions;
}

void LoadGridConditions(PropertyItem &root, const FilterSet &set) {
  LoadItems(root, set);
}

void ApplyEnableRule(PropertyItem &item) {
  if (!IsEnableBox(item) || !item.Parent())
    return;
  const PropertyItem &entry = *item.Parent();
  for (PropertyItem *value : Values(entry))
    value->hidden = !item.checked;
  if (item.tag == FGT_OPTION_ENABLE && item.button)
    item.button->enabled = item.checked;
}

const ColumnDef *ColumnOf(const PropertyItem &item) {
  return std::any_cast<ColumnDef>(&item.payload);
}

void SetColumn(PropertyItem &item, const ColumnDef &column) {
  item.payload = column;
}

const ColumnDef *SwitchedOnDateColumn(const PropertyItem &item) {
  if (!IsEnableBox(item) || !item.checked || !item.Parent() ||
      !IsColumnEntry(*item.Parent()))
    return nullptr;
  const ColumnDef &column = *ColumnOf(*item.Parent());
  return FilterCategoryOf(column.type) == FC_DATE ? &column : nullptr;
}

void StartDateRange(PropertyItem &box, const QDate &first, const QDate &last) {
  if (!box.Parent())
    return;
  const QList<PropertyItem *> values = Values(*box.Parent());
  if (values.size() < 2)
    return;
  values[0]->date = QDateTime(first, QTime(0, 0, 0));
  values[1]->date = QDateTime(last, QTime(23, 59, 59));
}

void SnapPickedDate(PropertyItem &item) {
  const PropertyItem *entry = item.Parent();
  if (item.type != PropertyItem::Date || item.timeTyped || !entry ||
      !IsColumnEntry(*entry))
    return;
  const QList<PropertyItem *> values = Values(*entry);
  if (values.size() < 2)
    return;
  if (&item == values[0])
    item.date.setTime(QTime(0, 0, 0));
  else if (&item == values[1])
    item.date.setTime(QTime(23, 59, 59));
}

void PressSelectAll(PropertyItem &box) {
  if (!box.button || !box.Parent())
    return;
  InplaceButton &button = *box.button;
  for (PropertyItem *option : Values(*box.Parent()))
    option->checked = !button.flag;
  button.caption = button.flag ? QStringLiteral("选择全部")
                               : QStringLiteral("取消全部");
  button.flag = !button.flag;
}
