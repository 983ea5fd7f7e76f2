// Lazy accessible tables and trees over the program's item views; see
// item_view_accessible.h.
#include "widgets/item_view_accessible.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableView>
#include <QTreeView>

#include <functional>
#include <memory>

namespace {

const char *const kLazyProperty = "sorvanelLazyAccessible";

QTreeView *TreeOf(QAbstractItemView *view) {
  return qobject_cast<QTreeView *>(view);
}

// The rows a tree shows, in order: every row not hidden, and the rows
// under each expanded one. visit returns false to stop the walk.
bool WalkShownRows(const QTreeView *tree, const QModelIndex &parent,
                   const std::function<bool(const QModelIndex &)> &visit) {
  const QAbstractItemModel *model = tree->model();
  for (int row = 0; row < model->rowCount(parent); ++row) {
    if (tree->isRowHidden(row, parent))
      continue;
    const QModelIndex index = model->index(row, 0, parent);
    if (!visit(index))
      return false;
    if (tree->isExpanded(index) && !WalkShownRows(tree, index, visit))
      return false;
  }
  return true;
}

// A row as the view counts it: the model's row in a table, the position
// among the shown rows in a tree (-1 when not shown).
int ShownRow(QAbstractItemView *view, const QModelIndex &index) {
  QTreeView *tree = TreeOf(view);
  if (!tree)
    return index.row();
  const QModelIndex first = index.siblingAtColumn(0);
  int row = 0, found = -1;
  WalkShownRows(tree, tree->rootIndex(), [&](const QModelIndex &at) {
    if (at == first) {
      found = row;
      return false;
    }
    ++row;
    return true;
  });
  return found;
}

QModelIndex IndexAtShownRow(QAbstractItemView *view, int row, int column) {
  QAbstractItemModel *model = view->model();
  QTreeView *tree = TreeOf(view);
  if (!tree)
    return model->index(row, column, view->rootIndex());
  QModelIndex found;
  int at = 0;
  WalkShownRows(tree, tree->rootIndex(), [&](const QModelIndex &index) {
    if (at++ < row)
      return true;
    found = index.siblingAtColumn(column);
    return false;
  });
  return found;
}

int ShownRowCount(QAbstractItemView *view) {
  QTreeView *tree = TreeOf(view);
  if (!tree)
    return view->model()->rowCount(view->rootIndex());
  int rows = 0;
  WalkShownRows(tree, tree->rootIndex(), [&rows](const QModelIndex &) {
    ++rows;
    return true;
  });
  return rows;
}

QRect GlobalRect(const QWidget *widget, const QRect &local) {
  if (!local.isValid())
    return QRect();
  return QRect(widget->mapToGlobal(local.topLeft()), local.size());
}

class ViewAccessible;

// A column or row heading; section -1 of a table's columns is its corner.
class HeadingAccessible : public QAccessibleInterface {
public:
  HeadingAccessible(QAbstractItemView *view, Qt::Orientation orientation,
                    int section)
      : view_(view), orientation_(orientation), section_(section) {}

  bool isValid() const override { return view_ && view_->model(); }
  QObject *object() const override { return nullptr; }
  QWindow *window() const override {
    return view_ ? view_->window()->windowHandle() : nullptr;
  }
  QAccessibleInterface *parent() const override {
    return view_ ? QAccessible::queryAccessibleInterface(view_) : nullptr;
  }
  QAccessibleInterface *child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface *) const override { return -1; }
  QAccessibleInterface *childAt(int, int) const override { return nullptr; }

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !isValid() || section_ < 0)
      return QString();
    return view_->model()
        ->headerData(section_, orientation_, Qt::DisplayRole)
        .toString();
  }
  void setText(QAccessible::Text, const QString &) override {}

  QRect rect() const override {
    QHeaderView *header = Header();
    if (!header || section_ < 0 || header->isHidden())
      return QRect();
    const int at = header->sectionViewportPosition(section_);
    const int size = header->sectionSize(section_);
    const QRect local = orientation_ == Qt::Horizontal
                            ? QRect(at, 0, size, header->height())
                            : QRect(0, at, header->width(), size);
    return GlobalRect(header->viewport(), local);
  }
  QAccessible::Role role() const override {
    return orientation_ == Qt::Horizontal ? QAccessible::ColumnHeader
                                          : QAccessible::RowHeader;
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.readOnly = true;
    if (rect().isEmpty())
      s.invisible = s.offscreen = true;
    return s;
  }

  Qt::Orientation Orientation() const { return orientation_; }
  int Section() const { return section_; }

private:
  QHeaderView *Header() const {
    if (auto *table = qobject_cast<QTableView *>(view_.data()))
      return orientation_ == Qt::Horizontal ? table->horizontalHeader()
                                            : table->verticalHeader();
    QTreeView *tree = TreeOf(view_);
    return tree && orientation_ == Qt::Horizontal ? tree->header() : nullptr;
  }

  QPointer<QAbstractItemView> view_;
  Qt::Orientation orientation_;
  int section_;
};

// One cell, made when asked for and kept until its index goes.
class CellAccessible : public QAccessibleInterface,
                       public QAccessibleTableCellInterface,
                       public QAccessibleActionInterface {
public:
  CellAccessible(QAbstractItemView *view, const QModelIndex &index)
      : view_(view), index_(index) {}

  bool isValid() const override {
    return view_ && index_.isValid() && index_.model() == view_->model();
  }
  QObject *object() const override { return nullptr; }
  QWindow *window() const override {
    return view_ ? view_->window()->windowHandle() : nullptr;
  }
  QAccessibleInterface *parent() const override {
    return view_ ? QAccessible::queryAccessibleInterface(view_) : nullptr;
  }
  QAccessibleInterface *child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface *) const override { return -1; }
  QAccessibleInterface *childAt(int, int) const override { return nullptr; }
  void *interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface)
      return static_cast<QAccessibleTableCellInterface *>(this);
    if (type == QAccessible::ActionInterface)
      return static_cast<QAccessibleActionInterface *>(this);
    return nullptr;
  }

  QString text(QAccessible::Text t) const override {
    if (!isValid())
      return QString();
    switch (t) {
    case QAccessible::Name: {
      const QVariant name = index_.data(Qt::AccessibleTextRole);
      return name.isValid() ? name.toString()
                            : index_.data(Qt::DisplayRole).toString();
    }
    case QAccessible::Description:
      return index_.data(Qt::AccessibleDescriptionRole).toString();
    default:
      return QString();
    }
  }
  void setText(QAccessible::Text, const QString &) override {}

  QRect rect() const override {
    if (!isValid())
      return QRect();
    return GlobalRect(view_->viewport(), view_->visualRect(index_));
  }
  QAccessible::Role role() const override {
    return TreeOf(view_) ? QAccessible::TreeItem : QAccessible::Cell;
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid())
      return s;
    const Qt::ItemFlags flags = index_.flags();
    if (!(flags & Qt::ItemIsEnabled))
      s.disabled = true;
    if (flags & Qt::ItemIsSelectable) {
      s.selectable = s.focusable = true;
      s.multiSelectable =
          view_->selectionMode() == QAbstractItemView::MultiSelection;
      s.extSelectable =
          view_->selectionMode() == QAbstractItemView::ExtendedSelection;
    }
    s.selected = isSelected();
    s.focused = view_->hasFocus() && view_->currentIndex() == index_;
    if (flags & Qt::ItemIsUserCheckable)
      s.checkable = true;
    const QVariant check = index_.data(Qt::CheckStateRole);
    if (check.isValid()) {
      s.checked = check.toInt() == Qt::Checked;
      s.checkStateMixed = check.toInt() == Qt::PartiallyChecked;
    }
    if (flags & Qt::ItemIsEditable)
      s.editable = true;
    else
      s.readOnly = true;
    if (QTreeView *tree = TreeOf(view_); tree && index_.column() == 0 &&
                                         index_.model()->hasChildren(index_)) {
      s.expandable = true;
      s.expanded = tree->isExpanded(index_);
      s.collapsed = !s.expanded;
    }
    if (!view_->viewport()->rect().intersects(view_->visualRect(index_)))
      s.invisible = s.offscreen = true;
    return s;
  }

  // QAccessibleTableCellInterface
  bool isSelected() const override {
    return isValid() && view_->selectionModel() &&
           view_->selectionModel()->isSelected(index_);
  }
  QList<QAccessibleInterface *> columnHeaderCells() const override;
  QList<QAccessibleInterface *> rowHeaderCells() const override;
  int columnIndex() const override { return isValid() ? index_.column() : -1; }
  int rowIndex() const override {
    return isValid() ? ShownRow(view_, index_) : -1;
  }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface *table() const override { return parent(); }

  // QAccessibleActionInterface
  QStringList actionNames() const override { return {toggleAction()}; }
  void doAction(const QString &name) override {
    if (name != toggleAction() || !isValid())
      return;
    if (Checkable())
      ToggleCheck();
    else
      ToggleSelection();
  }
  QStringList keyBindingsForAction(const QString &) const override {
    return {};
  }

  const QPersistentModelIndex &Index() const { return index_; }

private:
  bool Checkable() const {
    const Qt::ItemFlags flags = index_.flags();
    return (flags & Qt::ItemIsUserCheckable) && (flags & Qt::ItemIsEnabled) &&
           index_.data(Qt::CheckStateRole).isValid();
  }

  // What the view's delegate does on a click into the box: the model is
  // told the next state, and whoever listens to it reacts as to a click.
  void ToggleCheck() {
    const bool checked = index_.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    view_->model()->setData(index_, checked ? Qt::Unchecked : Qt::Checked,
                            Qt::CheckStateRole);
  }

  void ToggleSelection() {
    QItemSelectionModel *selection = view_->selectionModel();
    if (!selection ||
        view_->selectionMode() == QAbstractItemView::NoSelection)
      return;
    QItemSelectionModel::SelectionFlags how =
        isSelected() ? QItemSelectionModel::Deselect
        : view_->selectionMode() == QAbstractItemView::SingleSelection
            ? QItemSelectionModel::ClearAndSelect
            : QItemSelectionModel::Select;
    if (view_->selectionBehavior() == QAbstractItemView::SelectRows)
      how |= QItemSelectionModel::Rows;
    else if (view_->selectionBehavior() == QAbstractItemView::SelectColumns)
      how |= QItemSelectionModel::Columns;
    selection->select(index_, how);
  }

  QPointer<QAbstractItemView> view_;
  QPersistentModelIndex index_;
};

// The view: a table or a tree whose children are its headings and cells.
// The interfaces handed out are kept by index until their index goes, and
// all of them are forgotten at a model reset; nothing else is made.
class ViewAccessible : public QAccessibleWidget,
                       public QAccessibleTableInterface {
public:
  explicit ViewAccessible(QAbstractItemView *view)
      : QAccessibleWidget(view, TreeOf(view) ? QAccessible::Tree
                                             : QAccessible::Table),
        context_(std::make_unique<QObject>()) {
    Watch(view->model());
  }
  ~ViewAccessible() override { Forget(); }

  // The interface of a heading; section -1 of the columns is the corner.
  QAccessibleInterface *Heading(Qt::Orientation orientation,
                                int section) const {
    CheckModel();
    const qint64 key = (qint64(section) << 1) | (orientation == Qt::Vertical);
    QAccessible::Id &id = headings_[key];
    if (!id)
      id = QAccessible::registerAccessibleInterface(
          new HeadingAccessible(View(), orientation, section));
    return QAccessible::accessibleInterface(id);
  }

  void *interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface)
      return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  // Children
  int childCount() const override {
    if (!Model())
      return 0;
    return Tree() ? (ShownRowCount(View()) + 1) * columnCount()
                  : (rowCount() + 1) * (columnCount() + 1);
  }
  QAccessibleInterface *child(int index) const override {
    if (!Model() || index < 0 || index >= childCount())
      return nullptr;
    if (Tree()) {
      const int columns = columnCount();
      const int row = index / columns - 1, column = index % columns;
      return row < 0 ? Heading(Qt::Horizontal, column)
                     : Cell(IndexAtShownRow(View(), row, column));
    }
    const int columns = columnCount() + 1;
    const int row = index / columns - 1, column = index % columns - 1;
    if (row < 0)
      return Heading(Qt::Horizontal, column); // -1: the corner
    if (column < 0)
      return Heading(Qt::Vertical, row);
    return Cell(Model()->index(row, column, View()->rootIndex()));
  }
  int indexOfChild(const QAccessibleInterface *child) const override {
    if (!Model() || !child || child->parent() != this)
      return -1;
    const bool tree = Tree() != nullptr;
    const int columns = columnCount() + (tree ? 0 : 1);
    if (const auto *heading = dynamic_cast<const HeadingAccessible *>(child)) {
      if (heading->Orientation() == Qt::Horizontal)
        return heading->Section() + (tree ? 0 : 1);
      return (heading->Section() + 1) * columns;
    }
    const auto *cell = dynamic_cast<const CellAccessible *>(child);
    if (!cell || !cell->isValid())
      return -1;
    const int row = cell->rowIndex();
    if (row < 0)
      return -1;
    return (row + 1) * columns + cell->columnIndex() + (tree ? 0 : 1);
  }
  QAccessibleInterface *childAt(int x, int y) const override {
    QWidget *viewport = View()->viewport();
    const QPoint local = viewport->mapFromGlobal(QPoint(x, y));
    if (!viewport->rect().contains(local))
      return QAccessibleWidget::childAt(x, y);
    return Cell(View()->indexAt(local));
  }
  QAccessibleInterface *focusChild() const override {
    if (!View()->hasFocus())
      return nullptr;
    return Cell(View()->currentIndex());
  }

  // QAccessibleTableInterface
  QAccessibleInterface *caption() const override { return nullptr; }
  QAccessibleInterface *summary() const override { return nullptr; }
  QAccessibleInterface *cellAt(int row, int column) const override {
    if (!Model() || row < 0 || column < 0 || column >= columnCount())
      return nullptr;
    return Cell(IndexAtShownRow(View(), row, column));
  }
  QString columnDescription(int column) const override {
    return Model() ? Model()->headerData(column, Qt::Horizontal).toString()
                   : QString();
  }
  QString rowDescription(int row) const override {
    if (!Model() || Tree())
      return QString();
    return Model()->headerData(row, Qt::Vertical).toString();
  }
  int columnCount() const override {
    return Model() ? Model()->columnCount(View()->rootIndex()) : 0;
  }
  int rowCount() const override {
    return Model() ? ShownRowCount(View()) : 0;
  }
  int selectedCellCount() const override { return SelectedIndexes().size(); }
  int selectedColumnCount() const override { return selectedColumns().size(); }
  int selectedRowCount() const override { return selectedRows().size(); }
  QList<QAccessibleInterface *> selectedCells() const override {
    QList<QAccessibleInterface *> cells;
    for (const QModelIndex &index : SelectedIndexes())
      if (QAccessibleInterface *cell = Cell(index))
        cells.append(cell);
    return cells;
  }
  QList<int> selectedColumns() const override {
    QList<int> columns;
    if (QItemSelectionModel *selection = View()->selectionModel())
      for (const QModelIndex &index : selection->selectedColumns())
        columns.append(index.column());
    return columns;
  }
  QList<int> selectedRows() const override {
    QList<int> rows;
    if (QItemSelectionModel *selection = View()->selectionModel())
      for (const QModelIndex &index : selection->selectedRows())
        rows.append(ShownRow(View(), index));
    return rows;
  }
  bool isColumnSelected(int column) const override {
    return selectedColumns().contains(column);
  }
  bool isRowSelected(int row) const override {
    return selectedRows().contains(row);
  }
  bool selectRow(int row) override { return SelectLine(row, -1, true); }
  bool selectColumn(int column) override {
    return SelectLine(-1, column, true);
  }
  bool unselectRow(int row) override { return SelectLine(row, -1, false); }
  bool unselectColumn(int column) override {
    return SelectLine(-1, column, false);
  }
  void modelChange(QAccessibleTableModelChangeEvent *event) override {
    if (event->modelChangeType() == QAccessibleTableModelChangeEvent::ModelReset)
      Forget();
  }

private:
  QAbstractItemView *View() const {
    return static_cast<QAbstractItemView *>(widget());
  }
  QTreeView *Tree() const { return TreeOf(View()); }
  QAbstractItemModel *Model() const { return View()->model(); }

  // Forgets the handed-out interfaces when the model is reset or replaced
  // and those whose index went when rows or columns were removed.
  void Watch(QAbstractItemModel *model) {
    watched_ = model;
    if (!model)
      return;
    QObject *context = context_.get();
    QObject::connect(model, &QAbstractItemModel::modelReset, context,
                     [this] { Forget(); });
    QObject::connect(model, &QAbstractItemModel::layoutChanged, context,
                     [this] { DropGone(); });
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, context,
                     [this] { DropGone(); });
    QObject::connect(model, &QAbstractItemModel::columnsRemoved, context,
                     [this] { DropGone(); });
  }

  void CheckModel() const {
    if (watched_ == Model())
      return;
    auto *self = const_cast<ViewAccessible *>(this);
    QObject::disconnect(watched_, nullptr, context_.get(), nullptr);
    self->Forget();
    self->Watch(Model());
  }

  void Forget() {
    for (const QAccessible::Id id : std::as_const(cells_))
      QAccessible::deleteAccessibleInterface(id);
    for (const QAccessible::Id id : std::as_const(headings_))
      QAccessible::deleteAccessibleInterface(id);
    cells_.clear();
    headings_.clear();
  }

  void DropGone() {
    for (auto it = cells_.begin(); it != cells_.end();) {
      if (it.key().isValid()) {
        ++it;
        continue;
      }
      QAccessible::deleteAccessibleInterface(it.value());
      it = cells_.erase(it);
    }
  }

  QAccessibleInterface *Cell(const QModelIndex &index) const {
    CheckModel();
    if (!index.isValid() || index.model() != Model())
      return nullptr;
    const QPersistentModelIndex key(index);
    QAccessible::Id &id = cells_[key];
    if (!id)
      id = QAccessible::registerAccessibleInterface(
          new CellAccessible(View(), index));
    return QAccessible::accessibleInterface(id);
  }

  QModelIndexList SelectedIndexes() const {
    QItemSelectionModel *selection = View()->selectionModel();
    return selection ? selection->selectedIndexes() : QModelIndexList();
  }

  bool SelectLine(int row, int column, bool select) {
    QItemSelectionModel *selection = View()->selectionModel();
    if (!selection || !Model())
      return false;
    const QModelIndex index = row >= 0 ? IndexAtShownRow(View(), row, 0)
                                       : Model()->index(0, column, View()->rootIndex());
    if (!index.isValid())
      return false;
    QItemSelectionModel::SelectionFlags how =
        select ? QItemSelectionModel::Select : QItemSelectionModel::Deselect;
    how |= row >= 0 ? QItemSelectionModel::Rows : QItemSelectionModel::Columns;
    selection->select(index, how);
    return true;
  }

  std::unique_ptr<QObject> context_;
  QPointer<QAbstractItemModel> watched_;
  mutable QHash<QPersistentModelIndex, QAccessible::Id> cells_;
  mutable QHash<qint64, QAccessible::Id> headings_;
};

QList<QAccessibleInterface *> CellAccessible::columnHeaderCells() const {
  auto *table = view_ ? dynamic_cast<ViewAccessible *>(
                            QAccessible::queryAccessibleInterface(view_))
                      : nullptr;
  if (!table || !isValid())
    return {};
  return {table->Heading(Qt::Horizontal, index_.column())};
}

QList<QAccessibleInterface *> CellAccessible::rowHeaderCells() const {
  auto *table = view_ ? dynamic_cast<ViewAccessible *>(
                            QAccessible::queryAccessibleInterface(view_))
                      : nullptr;
  if (!table || !isValid() || TreeOf(view_))
    return {};
  return {table->Heading(Qt::Vertical, index_.row())};
}

QAccessibleInterface *ItemViewFactory(const QString &className,
                                      QObject *object) {
  auto *view = qobject_cast<QAbstractItemView *>(object);
  // Only for the view's own class, so that nothing else is asked twice.
  if (!view || !view->property(kLazyProperty).toBool() ||
      className != QLatin1String(object->metaObject()->className()))
    return nullptr;
  if (!qobject_cast<QTableView *>(view) && !TreeOf(view))
    return nullptr;
  return new ViewAccessible(view);
}

} // namespace

void UseLazyAccessibleTable(QAbstractItemView *view) {
  static const bool installed = [] {
    QAccessible::installFactory(ItemViewFactory);
    return true;
  }();
  (void)installed;
  view->setProperty(kLazyProperty, true);
}
