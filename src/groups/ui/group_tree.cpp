// The group pane's tree control: items by group ID, check boxes on groups,
// label editing, context menu and drag reports.
#include "groups/ui/group_tree.h"

#include "groups/ui/group_icons.h"
#include "widgets/item_view_accessible.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalBlocker>

namespace {

enum ItemRole : int {
  RoleId = Qt::UserRole,
  RoleIsGroup,
  RoleTicked, // the tick last reported, to tell a user's click from an
              // icon or text change
  RoleImages, // the images shown, as normal * 100 + selected
};

// An item that keeps its group's ID as a plain member as well: the pane
// looks up the ID of every item on each tick, and reading it back through
// the item's data costs a variant each time.
class GroupItem : public QTreeWidgetItem {
public:
  static constexpr int kType = QTreeWidgetItem::UserType + 1;
  explicit GroupItem(int groupId) : QTreeWidgetItem(kType), id(groupId) {}
  const int id;
};

void CollectItems(QTreeWidgetItem *item, QList<QTreeWidgetItem *> &items) {
  items.append(item);
  for (int i = 0; i < item->childCount(); ++i)
    CollectItems(item->child(i), items);
}

} // namespace

const QString CGroupTree::kMimeType =
    QStringLiteral("application/x-sorvanel-group");

CGroupTree::CGroupTree(QWidget *parent) : QTreeWidget(parent) {
  UseLazyAccessibleTable(this);
  setColumnCount(1);
  setHeaderHidden(true);
  setHeaderLabels({QStringLiteral("分组")}); // read out by screen readers
  setRootIsDecorated(true);
  setUniformRowHeights(true);
  setIconSize(QSize(16, 16));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::EditKeyPressed);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  // Items are never moved by the view itself: drops are reported.
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
  connect(this, &QTreeWidget::itemChanged, this, &CGroupTree::OnItemChanged);
  connect(this, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem *item) { emit ItemActivated(IdOf(item)); });
}

QTreeWidgetItem *CGroupTree::AddItem(QTreeWidgetItem *parent, int id,
                                     const QString &title, bool isGroup) {
  auto *item = new GroupItem(id);
  item->setText(0, title);
  item->setData(0, RoleId, id);
  item->setData(0, RoleIsGroup, isGroup);
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                        Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
                        Qt::ItemIsDropEnabled;
  if (isGroup && checkBoxes_) {
    flags |= Qt::ItemIsUserCheckable;
    item->setCheckState(0, Qt::Unchecked);
    item->setData(0, RoleTicked, false);
  }
  item->setFlags(flags);
  if (parent)
    parent->addChild(item);
  else
    addTopLevelItem(item);
  return item;
}

int CGroupTree::IdOf(const QTreeWidgetItem *item) {
  if (!item)
    return kNoGroupItem;
  if (item->type() == GroupItem::kType)
    return static_cast<const GroupItem *>(item)->id;
  return item->data(0, RoleId).toInt();
}

bool CGroupTree::IsGroupItem(const QTreeWidgetItem *item) {
  return item && item->data(0, RoleIsGroup).toBool();
}

QTreeWidgetItem *CGroupTree::ItemOf(int id) const {
  for (QTreeWidgetItem *item : Items())
    if (IdOf(item) == id)
      return item;
  return nullptr;
}

QList<QTreeWidgetItem *> CGroupTree::Items() const {
  QList<QTreeWidgetItem *> items;
  for (int i = 0; i < topLevelItemCount(); ++i)
    CollectItems(topLevelItem(i), items);
  return items;
}

bool CGroupTree::IsTicked(const QTreeWidgetItem *item) {
  return item && (item->flags() & Qt::ItemIsUserCheckable) &&
         item->checkState(0) == Qt::Checked;
}

void CGroupTree::SetTicked(QTreeWidgetItem *item, bool ticked) {
  if (!item || !(item->flags() & Qt::ItemIsUserCheckable))
    return;
  const QSignalBlocker blocker(this);
  item->setData(0, RoleTicked, ticked);
  item->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
}

void CGroupTree::SetImages(QTreeWidgetItem *item, const GroupImages &images) {
  const int key = images.normal * 100 + images.selected;
  const QVariant shown = item->data(0, RoleImages);
  if (shown.isValid() && shown.toInt() == key)
    return;
  const QSignalBlocker blocker(this);
  item->setData(0, RoleImages, key);
  item->setIcon(0, GroupItemIcon(images));
}

void CGroupTree::StartLabelEdit(QTreeWidgetItem *item) {
  if (!item)
    return;
  scrollToItem(item);
  editItem(item, 0);
}

std::pair<int, DropPlace> CGroupTree::DropTarget(const QPoint &pos) const {
  QTreeWidgetItem *item = itemAt(pos);
  if (!item)
    return {kNoGroupItem, DropPlace::Viewport};
  const QRect rect = visualItemRect(item);
  // The band at the top and bottom edge of a row means "between rows", as
  // the view draws its drop indicator.
  const int margin = qBound(2, qRound(qreal(rect.height()) / 5.5), 12);
  if (pos.y() - rect.top() < margin)
    return {IdOf(item), DropPlace::Above};
  if (rect.bottom() - pos.y() < margin)
    return {IdOf(item), DropPlace::Below};
  return {IdOf(item), DropPlace::OnItem};
}

QStringList CGroupTree::mimeTypes() const { return {kMimeType}; }

QMimeData *CGroupTree::mimeData(const QList<QTreeWidgetItem *> &items) const {
  if (items.size() != 1)
    return nullptr;
  auto *data = new QMimeData;
  data->setData(kMimeType, (filePath_ + QLatin1Char('\n') +
                            QString::number(IdOf(items.first())))
                               .toUtf8());
  return data;
}

Qt::DropActions CGroupTree::supportedDropActions() const {
  return Qt::CopyAction | Qt::MoveAction;
}

int CGroupTree::DraggedId(const QMimeData *data) const {
  if (!data || !data->hasFormat(kMimeType))
    return kNoGroupItem;
  const QString text = QString::fromUtf8(data->data(kMimeType));
  const int cut = text.lastIndexOf(QLatin1Char('\n'));
  if (cut < 0 || text.left(cut) != filePath_)
    return kNoGroupItem;
  bool ok = false;
  const int id = text.mid(cut + 1).toInt(&ok);
  return ok ? id : kNoGroupItem;
}

void CGroupTree::dragEnterEvent(QDragEnterEvent *event) {
  if (DraggedId(event->mimeData()) == kNoGroupItem) {
    event->ignore();
    return;
  }
  QTreeWidget::dragEnterEvent(event);
}

void CGroupTree::dragMoveEvent(QDragMoveEvent *event) {
  if (DraggedId(event->mimeData()) == kNoGroupItem) {
    event->ignore();
    return;
  }
  QTreeWidget::dragMoveEvent(event);
  // The empty area below the items takes a drop too: into the root.
  if (!event->isAccepted() && !itemAt(event->position().toPoint()))
    event->acceptProposedAction();
}

void CGroupTree::dropEvent(QDropEvent *event) {
  const int dragged = DraggedId(event->mimeData());
  stopAutoScroll();
  setState(NoState);
  viewport()->update();
  if (dragged == kNoGroupItem) {
    event->ignore();
    return;
  }
  const auto [target, place] = DropTarget(event->position().toPoint());
  const bool copy = event->dropAction() == Qt::CopyAction ||
                    event->modifiers().testFlag(Qt::ControlModifier);
  // Told as a copy, so that the view the drag came from removes nothing:
  // the items follow the group tree once the pane has changed it.
  event->setDropAction(Qt::CopyAction);
  event->accept();
  QMetaObject::invokeMethod(
      this,
      [this, dragged, target, place, copy] {
        emit DropAsked(dragged, target, place, copy);
      },
      Qt::QueuedConnection);
}

void CGroupTree::contextMenuEvent(QContextMenuEvent *event) {
  const bool byKey = event->reason() == QContextMenuEvent::Keyboard;
  QTreeWidgetItem *item = byKey ? currentItem() : itemAt(event->pos());
  QPoint at = event->globalPos();
  if (item) {
    setCurrentItem(item);
    if (byKey)
      at = viewport()->mapToGlobal(visualItemRect(item).center());
  }
  emit ContextMenuAsked(IdOf(item), at);
  event->accept();
}

void CGroupTree::keyPressEvent(QKeyEvent *event) {
  const bool enter =
      event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && state() != EditingState) {
    if (QTreeWidgetItem *item = currentItem())
      emit ItemActivated(IdOf(item));
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

bool CGroupTree::edit(const QModelIndex &index, EditTrigger trigger,
                      QEvent *event) {
  const bool editing = QTreeWidget::edit(index, trigger, event);
  if (editing)
    editingId_ = index.data(RoleId).toInt();
  return editing;
}

void CGroupTree::commitData(QWidget *editor) {
  // The label is left as it is: the pane renames the group and shows the
  // title the group then has.
  const auto *line = qobject_cast<QLineEdit *>(editor);
  const QString text = line ? line->text() : QString();
  const int id = editingId_;
  QMetaObject::invokeMethod(
      this, [this, id, text] { emit LabelEdited(id, text); },
      Qt::QueuedConnection);
}

void CGroupTree::OnItemChanged(QTreeWidgetItem *item) {
  if (!(item->flags() & Qt::ItemIsUserCheckable))
    return;
  const bool ticked = item->checkState(0) == Qt::Checked;
  if (item->data(0, RoleTicked).toBool() == ticked)
    return;
  item->setData(0, RoleTicked, ticked);
  emit CheckClicked(IdOf(item));
}
