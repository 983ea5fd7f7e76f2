// The property grid's item model.
#include "widgets/property_model.h"

#include <QBrush>
#include <QFont>

#include <cmath>

PropertyModel::PropertyModel(QObject *parent) : QAbstractItemModel(parent) {}

PropertyItem *PropertyModel::ItemOf(const QModelIndex &index) const {
  if (!index.isValid())
    return const_cast<PropertyItem *>(&root_);
  return static_cast<PropertyItem *>(index.internalPointer());
}

QModelIndex PropertyModel::IndexOf(const PropertyItem *item, int column) const {
  if (!item || item == &root_)
    return QModelIndex();
  return createIndex(item->Row(), column, const_cast<PropertyItem *>(item));
}

void PropertyModel::Reset(const std::function<void(PropertyItem &root)> &build) {
  beginResetModel();
  root_.ClearChildren();
  if (build)
    build(root_);
  endResetModel();
}

void PropertyModel::Refresh() {
  // Every row of every level may have changed; one signal per parent.
  std::vector<const PropertyItem *> parents{&root_};
  while (!parents.empty()) {
    const PropertyItem *parent = parents.back();
    parents.pop_back();
    if (parent->ChildCount() == 0)
      continue;
    const QModelIndex first = IndexOf(parent->Child(0), CaptionColumn);
    const QModelIndex last =
        IndexOf(parent->Child(parent->ChildCount() - 1), ValueColumn);
    emit dataChanged(first, last);
    for (int i = 0; i < parent->ChildCount(); ++i)
      parents.push_back(parent->Child(i));
  }
}

QModelIndex PropertyModel::index(int row, int column,
                                 const QModelIndex &parent) const {
  const PropertyItem *owner = ItemOf(parent);
  if (row < 0 || row >= owner->ChildCount() || column < 0 || column > 1)
    return QModelIndex();
  return createIndex(row, column, owner->Child(row));
}

QModelIndex PropertyModel::parent(const QModelIndex &child) const {
  if (!child.isValid())
    return QModelIndex();
  return IndexOf(ItemOf(child)->Parent());
}

int PropertyModel::rowCount(const QModelIndex &parent) const {
  if (parent.isValid() && parent.column() != 0)
    return 0;
  return ItemOf(parent)->ChildCount();
}

int PropertyModel::columnCount(const QModelIndex &) const { return 2; }

QVariant PropertyModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid())
    return QVariant();
  const PropertyItem &item = *ItemOf(index);
  const bool category = item.type == PropertyItem::Category;
  if (index.column() == CaptionColumn) {
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
      return item.caption;
    if (role == Qt::ToolTipRole)
      return item.description.isEmpty() ? item.caption : item.description;
    if (role == Qt::CheckStateRole && item.type == PropertyItem::Check)
      return item.checked ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ForegroundRole && item.redCaption)
      return QBrush(QColor(255, 0, 0));
    if (role == Qt::FontRole && category && !item.redCaption) {
      QFont font;
      font.setBold(true);
      return font;
    }
    return QVariant();
  }
  if (category || item.type == PropertyItem::Check)
    return QVariant();
  if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
    return item.ValueText();
  if (role == Qt::ToolTipRole)
    return item.description;
  if (role != Qt::EditRole)
    return QVariant();
  switch (item.type) {
  case PropertyItem::Date:
    return item.date;
  case PropertyItem::Number:
    return item.number;
  case PropertyItem::Text:
    return item.text;
  case PropertyItem::Choice:
    return item.choice;
  default:
    return QVariant();
  }
}

bool PropertyModel::setData(const QModelIndex &index, const QVariant &value,
                            int role) {
  if (!index.isValid())
    return false;
  PropertyItem &item = *ItemOf(index);
  // A check box sits in the caption column, every other value in the
  // value column.
  const int valueColumn =
      item.type == PropertyItem::Check ? CaptionColumn : ValueColumn;
  if (index.column() != valueColumn)
    return false;
  switch (item.type) {
  case PropertyItem::Check:
    if (role != Qt::CheckStateRole)
      return false;
    if (item.checked == (value.toInt() == Qt::Checked))
      return true;
    item.checked = !item.checked;
    break;
  case PropertyItem::Date: {
    // A day alone (a QDate) starts at midnight; the owner may place it
    // elsewhere in its day.
    const bool timeTyped = value.typeId() != QMetaType::QDate;
    const QDateTime date = timeTyped ? value.toDateTime()
                                     : QDateTime(value.toDate(), QTime(0, 0));
    if (role != Qt::EditRole || !date.isValid())
      return false;
    item.timeTyped = timeTyped;
    if (item.date == date)
      return true;
    item.date = date;
    break;
  }
  case PropertyItem::Number: {
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (role != Qt::EditRole || !ok || !std::isfinite(number))
      return false;
    if (item.number == number)
      return true;
    item.number = number;
    break;
  }
  case PropertyItem::Text:
    if (role != Qt::EditRole)
      return false;
    if (item.text == value.toString())
      return true;
    item.text = value.toString();
    break;
  case PropertyItem::Choice: {
    const int chosen = value.toInt();
    if (role != Qt::EditRole || chosen < 0 || chosen >= item.choices.size())
      return false;
    if (item.choice == chosen)
      return true;
    item.choice = chosen;
    break;
  }
  case PropertyItem::Category:
    return false;
  }
  // Only a real change reaches here: an editor closed without a change
  // reports nothing.
  emit dataChanged(index.siblingAtColumn(CaptionColumn),
                   index.siblingAtColumn(ValueColumn));
  emit UserEdited(&item);
  return true;
}

Qt::ItemFlags PropertyModel::flags(const QModelIndex &index) const {
  if (!index.isValid())
    return Qt::NoItemFlags;
  const PropertyItem &item = *ItemOf(index);
  const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (item.type == PropertyItem::Check)
    return index.column() == CaptionColumn ? flags | Qt::ItemIsUserCheckable
                                           : flags;
  if (item.type != PropertyItem::Category && index.column() == ValueColumn)
    return flags | Qt::ItemIsEditable;
  return flags;
}
