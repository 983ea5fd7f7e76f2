// The item model of a property grid over a tree of PropertyItems: column 0
// the caption (with the box of a check-box item and, at its right end, an
// in-place button), column 1 the value. Edits made through the model are the user's and are reported;
// owners change items directly and then call Refresh.
#pragma once

#include "widgets/property_item.h"

#include <QAbstractItemModel>

#include <functional>

class PropertyModel : public QAbstractItemModel {
  Q_OBJECT
public:
  enum Column { CaptionColumn = 0, ValueColumn = 1 };

  explicit PropertyModel(QObject *parent = nullptr);

  PropertyItem &Root() { return root_; }
  PropertyItem *ItemOf(const QModelIndex &index) const;
  QModelIndex IndexOf(const PropertyItem *item, int column = 0) const;

  // Replaces the tree: build fills the emptied root between the model's
  // reset signals, so no view ever sees a removed item.
  void Reset(const std::function<void(PropertyItem &root)> &build);
  // After values, captions or states were changed by the program.
  void Refresh();

  QModelIndex index(int row, int column,
                    const QModelIndex &parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex &child) const override;
  int rowCount(const QModelIndex &parent = QModelIndex()) const override;
  int columnCount(const QModelIndex &parent = QModelIndex()) const override;
  QVariant data(const QModelIndex &index, int role) const override;
  bool setData(const QModelIndex &index, const QVariant &value,
               int role) override;
  Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
  // The user changed item's value.
  void UserEdited(PropertyItem *item);

private:
  PropertyItem root_{PropertyItem::Category};
};
