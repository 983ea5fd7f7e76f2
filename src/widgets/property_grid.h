// A property grid on QTreeView: categories and nested items with captions
// and values, a description area below, in-place buttons at the right of
// their rows, hidden items, and notifications of the user's edits and
// button presses only.
//
// The in-place buttons are child widgets of the grid kept over their rows,
// not cells of the view, so that the keyboard's Tab and screen readers
// reach them like any other button.
//
// Owners build the item tree through Rebuild(); after they change values,
// captions, hidden flags or buttons they call Refresh().
#pragma once

#include "widgets/property_item.h"

#include <QHash>

#include <functional>
#include <QWidget>

class PropertyModel;
class QLabel;
class QModelIndex;
class QToolButton;
class QTreeView;

class PropertyGrid : public QWidget {
  Q_OBJECT
public:
  explicit PropertyGrid(QWidget *parent = nullptr);

  PropertyItem &Root();
  const PropertyItem &Root() const;
  // Removes every item.
  void Clear();
  // Empties the tree, lets build fill it and shows it anew, with its
  // buttons and hidden rows.
  void Rebuild(const std::function<void(PropertyItem &root)> &build);
  // After the program changed items: values, captions, hidden rows and
  // buttons are shown as they are now. Nothing is reported.
  void Refresh();
  void ExpandAll();

  QTreeView *View() const { return view_; }
  QLabel *DescriptionArea() const { return description_; }
  // The button shown for item; null when it has none.
  QToolButton *ButtonOf(const PropertyItem *item) const;
  QModelIndex IndexOf(const PropertyItem *item, int column = 0) const;

signals:
  // The user changed the value of item (a text when its edit was committed).
  void ValueChanged(PropertyItem *item);
  // The user pressed the in-place button id of item.
  void ButtonPressed(PropertyItem *item, int id);

private:
  bool eventFilter(QObject *watched, QEvent *event) override;
  void MakeButtons(PropertyItem &parent);
  // Moves every button over its row; hides those whose row is not shown.
  void PlaceButtons();
  void ApplyRowStates(const PropertyItem &parent);
  void ShowDescription(const QModelIndex &current);

  PropertyModel *model_;
  QTreeView *view_;
  QLabel *description_;
  QHash<const PropertyItem *, QToolButton *> buttons_;
};
