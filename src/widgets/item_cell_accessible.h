// The children of an item view in the accessibility tree: its headings and
// its cells. Neither is an object of its own; each refers to its view and
// to a section or an index, and is made only when an assistive tool asks.
//
// A cell's "Toggle" ticks or clears its check box as a click into the box
// does (the model is told, and whoever listens to the model reacts as to a
// click); a cell without a box is selected or unselected.
#pragma once

#include <QAccessible>
#include <QPersistentModelIndex>
#include <QPointer>

class QAbstractItemView;

// What a cell asks its view's interface for.
class ItemHeadings {
public:
  virtual ~ItemHeadings() = default;
  // The heading of a column or row; column -1 is a table's corner.
  virtual QAccessibleInterface *Heading(Qt::Orientation orientation,
                                        int section) const = 0;
};

// A part of a view without children or an object of its own: the view is
// its parent and gives it its window.
class ViewPartAccessible : public QAccessibleInterface {
public:
  explicit ViewPartAccessible(QAbstractItemView *view) : view_(view) {}

  QObject *object() const override { return nullptr; }
  QWindow *window() const override;
  QAccessibleInterface *parent() const override;
  QAccessibleInterface *child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface *) const override { return -1; }
  QAccessibleInterface *childAt(int, int) const override { return nullptr; }
  void setText(QAccessible::Text, const QString &) override {}

protected:
  QPointer<QAbstractItemView> view_;
};

// A column or row heading.
class HeadingAccessible : public ViewPartAccessible {
public:
  HeadingAccessible(QAbstractItemView *view, Qt::Orientation orientation,
                    int section);

  bool isValid() const override;
  QString text(QAccessible::Text t) const override;
  QRect rect() const override;
  QAccessible::Role role() const override;
  QAccessible::State state() const override;

  Qt::Orientation Orientation() const { return orientation_; }
  int Section() const { return section_; }

private:
  Qt::Orientation orientation_;
  int section_;
};

// One cell of a table or tree.
class CellAccessible : public ViewPartAccessible,
                       public QAccessibleTableCellInterface,
                       public QAccessibleActionInterface {
public:
  CellAccessible(QAbstractItemView *view, const QModelIndex &index);

  bool isValid() const override;
  void *interface_cast(QAccessible::InterfaceType type) override;
  QString text(QAccessible::Text t) const override;
  QRect rect() const override;
  QAccessible::Role role() const override;
  QAccessible::State state() const override;

  // QAccessibleTableCellInterface
  bool isSelected() const override;
  QList<QAccessibleInterface *> columnHeaderCells() const override;
  QList<QAccessibleInterface *> rowHeaderCells() const override;
  int columnIndex() const override;
  // The row as shown: a tree counts the rows it shows.
  int rowIndex() const override;
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface *table() const override { return parent(); }

  // QAccessibleActionInterface
  QStringList actionNames() const override;
  void doAction(const QString &name) override;
  QStringList keyBindingsForAction(const QString &) const override {
    return {};
  }

private:
  bool Checkable() const;
  void ToggleCheck();
  void ToggleSelection();
  const ItemHeadings *Headings() const;

  QPersistentModelIndex index_;
};
