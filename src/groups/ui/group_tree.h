// CGroupTree: the tree control of the group pane. A QTreeWidget whose items
// carry group IDs (never pointers), with check boxes on group items only,
// label editing on request, a context menu that selects its item first, and
// dragging that reports what was dropped where instead of moving items
// itself: the pane changes the group tree first and then rebuilds the
// items from it.
//
// User actions become signals; changes the program makes send none. The
// edit, tick and drop reports are queued, so that the pane may rebuild the
// items once the tree's own handling of the event is over.
#pragma once

#include "document/group_pane_logic.h"

#include <QTreeWidget>

class CGroupTree : public QTreeWidget {
  Q_OBJECT
public:
  // The MIME type of a dragged group: "<account file path>\n<group ID>".
  static const QString kMimeType;

  explicit CGroupTree(QWidget *parent = nullptr);

  // The account file whose groups are shown; drops from another file's
  // tree are refused.
  void SetFilePath(const QString &path) { filePath_ = path; }

  // A new item for the group id, appended to parent (the top level when
  // null). Group items are checkable while check boxes are shown.
  QTreeWidgetItem *AddItem(QTreeWidgetItem *parent, int id,
                           const QString &title, bool isGroup);
  static int IdOf(const QTreeWidgetItem *item);
  static bool IsGroupItem(const QTreeWidgetItem *item);
  // The item of the group id, or null.
  QTreeWidgetItem *ItemOf(int id) const;
  // Every item in display order (an item, its children, the next sibling).
  QList<QTreeWidgetItem *> Items() const;

  bool CheckBoxes() const { return checkBoxes_; }
  // Shows or hides the check boxes of the group items from now on.
  void SetCheckBoxes(bool on) { checkBoxes_ = on; }
  static bool IsTicked(const QTreeWidgetItem *item);
  // Ticks or clears a group item's box without reporting it.
  void SetTicked(QTreeWidgetItem *item, bool ticked);

  // Shows the images of an item; nothing happens when it shows them
  // already.
  void SetImages(QTreeWidgetItem *item, const GroupImages &images);

  // Starts editing the item's label; the end is reported by LabelEdited.
  void StartLabelEdit(QTreeWidgetItem *item);

  // Where a drop at pos (viewport coordinates) lands: the item's ID (0 for
  // the empty area) and the place relative to it.
  std::pair<int, DropPlace> DropTarget(const QPoint &pos) const;

signals:
  // The user ticked or cleared a group's box.
  void CheckClicked(int id);
  // A double-click on an item's label, or Enter on the current item.
  void ItemActivated(int id);
  // The context menu of an item (kNoGroupItem for the empty area) at a
  // global position; the item is selected already.
  void ContextMenuAsked(int id, const QPoint &globalPos);
  // Label editing ended with text (not yet shown: the pane decides).
  void LabelEdited(int id, const QString &text);
  // draggedId was dropped relative to targetId; copy with Ctrl held.
  void DropAsked(int draggedId, int targetId, DropPlace place, bool copy);

protected:
  QStringList mimeTypes() const override;
  QMimeData *mimeData(const QList<QTreeWidgetItem *> &items) const override;
  Qt::DropActions supportedDropActions() const override;
  void dragEnterEvent(QDragEnterEvent *event) override;
  void dragMoveEvent(QDragMoveEvent *event) override;
  void dropEvent(QDropEvent *event) override;
  void contextMenuEvent(QContextMenuEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  bool edit(const QModelIndex &index, EditTrigger trigger,
            QEvent *event) override;
  void commitData(QWidget *editor) override;

private:
  // The dragged group ID, or 0 when the data is not a group of this file.
  int DraggedId(const QMimeData *data) const;
  void OnItemChanged(QTreeWidgetItem *item);

  QString filePath_;
  bool checkBoxes_ = false;
  int editingId_ = kNoGroupItem;
};
