// The headings and cells of an item view in the accessibility tree; see
// item_cell_accessible.h.
#include "widgets/item_cell_accessible.h"

#include "widgets/shown_rows.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QTableView>
#include <QTreeView>

namespace {

QRect GlobalRect(const QWidget *widget, const QRect &local) {
  if (!local.isValid())
    return QRect();
  return QRect(widget->mapToGlobal(local.topLeft()), local.size());
}

QWindow *WindowOf(const QAbstractItemView *view) {
  return view ? view->window()->windowHandle() : nullptr;
}

QAccessibleInterface *InterfaceOf(QAbstractItemView *view) {
  return view ? QAccessible::queryAccessibleInterface(view) : nullptr;
}

QHeaderView *HeaderOf(const QAbstractItemView *view,
                      Qt::Orientation orientation) {
  if (auto *table = qobject_cast<const QTableView *>(view))
    return orientation == Qt::Horizontal ? table->horizontalHeader()
                                         : table->verticalHeader();
  const QTreeView *tree = TreeOf(view);
  return tree && orientation == Qt::Horizontal ? tree->header() : nullptr;
}

} // namespace

// ---- Parts of a view ----

QWindow *ViewPartAccessible::window() const { return WindowOf(view_); }

QAccessibleInterface *ViewPartAccessible::parent() const {
  return InterfaceOf(view_);
}

// ---- Headings ----

HeadingAccessible::HeadingAccessible(QAbstractItemView *view,
                                     Qt::Orientation orientation, int section)
    : ViewPartAccessible(view), orientation_(orientation), section_(section) {}

bool HeadingAccessible::isValid() const { return view_ && view_->model(); }

QString HeadingAccessible::text(QAccessible::Text t) const {
  if (t != QAccessible::Name || !isValid() || section_ < 0)
    return QString();
  return view_->model()->headerData(section_, orientation_).toString();
}

QRect HeadingAccessible::rect() const {
  const QHeaderView *header = view_ ? HeaderOf(view_, orientation_) : nullptr;
  if (!header || section_ < 0 || header->isHidden())
    return QRect();
  const int at = header->sectionViewportPosition(section_);
  const int size = header->sectionSize(section_);
  const QRect local = orientation_ == Qt::Horizontal
                          ? QRect(at, 0, size, header->height())
                          : QRect(0, at, header->width(), size);
  return GlobalRect(header->viewport(), local);
}

QAccessible::Role HeadingAccessible::role() const {
  return orientation_ == Qt::Horizontal ? QAccessible::ColumnHeader
                                        : QAccessible::RowHeader;
}

QAccessible::State HeadingAccessible::state() const {
  QAccessible::State s;
  s.readOnly = true;
  if (rect().isEmpty())
    s.invisible = s.offscreen = true;
  return s;
}

// ---- Cells ----

CellAccessible::CellAccessible(QAbstractItemView *view,
                               const QModelIndex &index)
    : ViewPartAccessible(view), index_(index) {}

bool CellAccessible::isValid() const {
  return view_ && index_.isValid() && index_.model() == view_->model();
}

void *CellAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TableCellInterface)
    return static_cast<QAccessibleTableCellInterface *>(this);
  if (type == QAccessible::ActionInterface)
    return static_cast<QAccessibleActionInterface *>(this);
  return nullptr;
}

QString CellAccessible::text(QAccessible::Text t) const {
  if (!isValid())
    return QString();
  if (t == QAccessible::Name) {
    const QVariant name = index_.data(Qt::AccessibleTextRole);
    return name.isValid() ? name.toString()
                          : index_.data(Qt::DisplayRole).toString();
  }
  if (t == QAccessible::Description)
    return index_.data(Qt::AccessibleDescriptionRole).toString();
  return QString();
}

QRect CellAccessible::rect() const {
  if (!isValid())
    return QRect();
  return GlobalRect(view_->viewport(), view_->visualRect(index_));
}

QAccessible::Role CellAccessible::role() const {
  return TreeOf(view_) ? QAccessible::TreeItem : QAccessible::Cell;
}

QAccessible::State CellAccessible::state() const {
  QAccessible::State s;
  if (!isValid())
    return s;
  const Qt::ItemFlags flags = index_.flags();
  s.disabled = !(flags & Qt::ItemIsEnabled);
  if (flags & Qt::ItemIsSelectable) {
    s.selectable = s.focusable = true;
    const auto mode = view_->selectionMode();
    s.multiSelectable = mode == QAbstractItemView::MultiSelection;
    s.extSelectable = mode == QAbstractItemView::ExtendedSelection;
  }
  s.selected = isSelected();
  s.focused = view_->hasFocus() && view_->currentIndex() == index_;
  s.checkable = bool(flags & Qt::ItemIsUserCheckable);
  const QVariant check = index_.data(Qt::CheckStateRole);
  if (check.isValid()) {
    s.checked = check.toInt() == Qt::Checked;
    s.checkStateMixed = check.toInt() == Qt::PartiallyChecked;
  }
  s.editable = bool(flags & Qt::ItemIsEditable);
  s.readOnly = !s.editable;
  const QTreeView *tree = TreeOf(view_);
  if (tree && index_.column() == 0 && index_.model()->hasChildren(index_)) {
    s.expandable = true;
    s.expanded = tree->isExpanded(index_);
    s.collapsed = !s.expanded;
  }
  if (!view_->viewport()->rect().intersects(view_->visualRect(index_)))
    s.invisible = s.offscreen = true;
  return s;
}

bool CellAccessible::isSelected() const {
  return isValid() && view_->selectionModel() &&
         view_->selectionModel()->isSelected(index_);
}

const ItemHeadings *CellAccessible::Headings() const {
  return dynamic_cast<const ItemHeadings *>(InterfaceOf(view_));
}

QList<QAccessibleInterface *> CellAccessible::columnHeaderCells() const {
  const ItemHeadings *headings = Headings();
  if (!headings || !isValid())
    return {};
  return {headings->Heading(Qt::Horizontal, index_.column())};
}

QList<QAccessibleInterface *> CellAccessible::rowHeaderCells() const {
  const ItemHeadings *headings = Headings();
  if (!headings || !isValid() || TreeOf(view_))
    return {};
  return {headings->Heading(Qt::Vertical, index_.row())};
}

int CellAccessible::columnIndex() const {
  return isValid() ? index_.column() : -1;
}

int CellAccessible::rowIndex() const {
  return isValid() ? ShownRow(view_, index_) : -1;
}

QStringList CellAccessible::actionNames() const { return {toggleAction()}; }

void CellAccessible::doAction(const QString &name) {
  if (name != toggleAction() || !isValid())
    return;
  if (Checkable())
    ToggleCheck();
  else
    ToggleSelection();
}

bool CellAccessible::Checkable() const {
  const Qt::ItemFlags flags = index_.flags();
  return (flags & Qt::ItemIsUserCheckable) && (flags & Qt::ItemIsEnabled) &&
         index_.data(Qt::CheckStateRole).isValid();
}

void CellAccessible::ToggleCheck() {
  const bool checked = index_.data(Qt::CheckStateRole).toInt() == Qt::Checked;
  view_->model()->setData(index_, checked ? Qt::Unchecked : Qt::Checked,
                          Qt::CheckStateRole);
}

void CellAccessible::ToggleSelection() {
  QItemSelectionModel *selection = view_->selectionModel();
  const auto mode = view_->selectionMode();
  if (!selection || mode == QAbstractItemView::NoSelection)
    return;
  QItemSelectionModel::SelectionFlags how =
      isSelected()                                ? QItemSelectionModel::Deselect
      : mode == QAbstractItemView::SingleSelection ? QItemSelectionModel::ClearAndSelect
                                                   : QItemSelectionModel::Select;
  if (view_->selectionBehavior() == QAbstractItemView::SelectRows)
    how |= QItemSelectionModel::Rows;
  else if (view_->selectionBehavior() == QAbstractItemView::SelectColumns)
    how |= QItemSelectionModel::Columns;
  selection->select(index_, how);
}
