// Lazy accessible tables and trees over the program's item views; see
// item_view_accessible.h.
#include "widgets/item_view_accessible.h"

#include "widgets/item_cell_accessible.h"
#include "widgets/shown_rows.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QHash>
#include <QTableView>
#include <QTreeView>

#include <memory>

namespace {

const char *const kLazyProperty = "sorvanelLazyAccessible";
// The most heading and cell interfaces a view keeps. An assistive tool that
// reads a whole table of 100,000 rows asks for a million; kept, each reset
// of the model would have to free them all.
constexpr int kMaxKept = 4096;

// The view: a table or a tree whose children are its headings and cells.
// The interfaces handed out are kept until their index goes, a model reset
// or more than kMaxKept of them; then they are forgotten, and a tool that
// asks again gets new ones. Nothing is made that was not asked for.
class ViewAccessible : public QAccessibleWidget,
                       public QAccessibleTableInterface,
                       public ItemHeadings {
public:
  explicit ViewAccessible(QAbstractItemView *view)
      : QAccessibleWidget(view, TreeOf(view) ? QAccessible::Tree
                                             : QAccessible::Table),
        context_(std::make_unique<QObject>()) {}
  ~ViewAccessible() override { Forget(); }

  void *interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface)
      return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QAccessibleInterface *Heading(Qt::Orientation orientation,
                                int section) const override {
    WatchModel();
    const qint64 key = (qint64(section) << 1) | (orientation == Qt::Vertical);
    if (const QAccessible::Id id = headings_.value(key))
      return QAccessible::accessibleInterface(id);
    MakeRoom();
    const QAccessible::Id id = QAccessible::registerAccessibleInterface(
        new HeadingAccessible(View(), orientation, section));
    headings_.insert(key, id);
    return QAccessible::accessibleInterface(id);
  }

  // Children, numbered as the view's own events number them: a table has
  // a heading row and a heading column (its corner first), a tree a
  // heading row.
  int childCount() const override {
    if (!Model())
      return 0;
    return (rowCount() + 1) * Stride();
  }
  QAccessibleInterface *child(int index) const override {
    if (!Model() || index < 0 || index >= childCount())
      return nullptr;
    const int row = index / Stride() - 1;
    const int column = index % Stride() - HeadingColumns();
    if (row < 0)
      return Heading(Qt::Horizontal, column);
    if (column < 0)
      return Heading(Qt::Vertical, row);
    return cellAt(row, column);
  }
  int indexOfChild(const QAccessibleInterface *child) const override {
    if (!Model() || !child)
      return -1;
    if (const auto *heading = dynamic_cast<const HeadingAccessible *>(child)) {
      if (heading->Orientation() == Qt::Horizontal)
        return heading->Section() + HeadingColumns();
      return (heading->Section() + 1) * Stride();
    }
    const auto *cell = dynamic_cast<const CellAccessible *>(child);
    if (!cell || !cell->isValid() || cell->parent() != this)
      return -1;
    const int row = cell->rowIndex();
    if (row < 0)
      return -1;
    return (row + 1) * Stride() + cell->columnIndex() + HeadingColumns();
  }
  QAccessibleInterface *childAt(int x, int y) const override {
    QWidget *viewport = View()->viewport();
    const QPoint local = viewport->mapFromGlobal(QPoint(x, y));
    if (!viewport->rect().contains(local))
      return nullptr;
    return Cell(View()->indexAt(local));
  }
  QAccessibleInterface *focusChild() const override {
    return View()->hasFocus() ? Cell(View()->currentIndex()) : nullptr;
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
    if (!Model() || TreeOf(View()))
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
  QAbstractItemModel *Model() const { return View()->model(); }
  // A table's heading column comes before its cells.
  int HeadingColumns() const { return TreeOf(View()) ? 0 : 1; }
  int Stride() const { return columnCount() + HeadingColumns(); }

  // Follows the view's model: its reset forgets every interface, its
  // removals those whose index went. A new model forgets them all too.
  void WatchModel() const {
    QAbstractItemModel *model = Model();
    if (watched_ == model)
      return;
    if (watched_)
      QObject::disconnect(watched_, nullptr, context_.get(), nullptr);
    Forget();
    watched_ = model;
    if (!model)
      return;
    QObject *context = context_.get();
    QObject::connect(model, &QAbstractItemModel::modelReset, context,
                     [this] { Forget(); });
    for (auto removed : {&QAbstractItemModel::rowsRemoved,
                         &QAbstractItemModel::columnsRemoved})
      QObject::connect(model, removed, context, [this] { DropGone(); });
    QObject::connect(model, &QAbstractItemModel::layoutChanged, context,
                     [this] { DropGone(); });
  }

  void Forget() const {
    for (const QAccessible::Id id : std::as_const(cells_))
      QAccessible::deleteAccessibleInterface(id);
    for (const QAccessible::Id id : std::as_const(headings_))
      QAccessible::deleteAccessibleInterface(id);
    cells_.clear();
    headings_.clear();
  }

  void MakeRoom() const {
    if (cells_.size() + headings_.size() >= kMaxKept)
      Forget();
  }

  void DropGone() const {
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
    WatchModel();
    if (!index.isValid() || index.model() != Model())
      return nullptr;
    const QPersistentModelIndex key(index);
    if (const QAccessible::Id id = cells_.value(key))
      return QAccessible::accessibleInterface(id);
    MakeRoom();
    const QAccessible::Id id = QAccessible::registerAccessibleInterface(
        new CellAccessible(View(), index));
    cells_.insert(key, id);
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
    const QModelIndex index =
        row >= 0 ? IndexAtShownRow(View(), row, 0)
                 : Model()->index(0, column, View()->rootIndex());
    if (!index.isValid())
      return false;
    QItemSelectionModel::SelectionFlags how =
        select ? QItemSelectionModel::Select : QItemSelectionModel::Deselect;
    how |= row >= 0 ? QItemSelectionModel::Rows : QItemSelectionModel::Columns;
    selection->select(index, how);
    return true;
  }

  // Owns the connections to the model, which end with this interface.
  std::unique_ptr<QObject> context_;
  mutable QPointer<QAbstractItemModel> watched_;
  mutable QHash<QPersistentModelIndex, QAccessible::Id> cells_;
  mutable QHash<qint64, QAccessible::Id> headings_;
};

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
