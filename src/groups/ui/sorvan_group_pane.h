// CSorvanGroupPane: the side pane in which the user picks the active
// groups and edits the group tree. One group is shown at a time (the one
// opened with a double-click) or, with "显示多组", every ticked group.
//
// The pane is a thin view of GroupPaneLogic: the tree items follow the
// group tree of the account file, every edit changes the group tree first
// and the items are then rebuilt from it. A change of the active groups is
// sent with hint 7 (at once, or when applied while "即时更新" is off); an
// edit of the tree goes out with HINT_GROUPS so that the group pane of
// every window on the file is rebuilt.
#pragma once

#include "window/sorvan_base_pane.h"
#include "document/group_pane_logic.h"
#include "groups/ui/group_pane_menu.h"

#include <QHash>

#include <memory>

class CGroupTree;
class QMenu;
class QTreeWidgetItem;

class CSorvanGroupPane : public CSorvanBasePane {
  Q_OBJECT
public:
  explicit CSorvanGroupPane(DocumentWindow *window, QWidget *parent = nullptr);
  ~CSorvanGroupPane() override;

  CGroupTree *Tree() const { return tree_; }

  // True in several-groups mode ("显示多组" checked).
  bool SeveralGroups() const;
  // The active groups in tree order for the pane's mode.
  QList<int> ActiveGroupIds() const;
  // The active-group caption of the status bar: titles joined by " 和 ".
  QString ActiveGroupCaption() const;

  // Hint 0x08 rebuilds the tree from the group tree (BuildTree, then
  // SyncStates), sending nothing; hints of the pages (7) bring the ticks and
  // images of the items up to date with another window's changes.
  void OnChangeNotify(unsigned hint) override;

  // Items from the group tree: one per node, ticks or the selection from
  // the States, everything expanded.
  void BuildTree();
  // Writes the States from the ticks (several groups) or the selection.
  void SyncStates();
  void RefreshImages();
  // Opens the group: ticks or selects it, then SyncStates, RefreshImages
  // and NotifyChange. Nothing for a folder or a group that is active.
  void Activate(int id);
  // Command 32801: the other mode, the tree rebuilt, the caption
  // recomputed, hint 7.
  void ToggleMode();
  // Hint 7 through the pane's immediate or pending update; nothing while
  // the tree is being rebuilt.
  using CSorvanBasePane::NotifyChange;
  void NotifyChange();

  // A command of the context menu for the item id (kNoGroupItem: the
  // empty area).
  void RunCommand(int command, int id);
  // The context menu of an item, shown without waiting; the caller may
  // keep it only until it hides.
  QMenu *ShowContextMenu(int id, const QPoint &globalPos);

signals:
  // The active-group caption changed (also to empty).
  void ActiveGroupCaptionChanged(const QString &caption);

private:
  void AddItems(QTreeWidgetItem *parentItem, const GroupNode &parent);
  void NewNode(int parentId, int nodeKind);
  void DeleteNode(int id);
  void StartRename(int id);
  void OnCheckClicked(int id);
  void OnLabelEdited(int id, const QString &text);
  void OnDropAsked(int draggedId, int targetId, DropPlace place, bool copy);
  // Runs a tree edit of the logic; the pane's own rebuild on the hint it
  // sends is left out: the pane rebuilds itself afterwards.
  template <typename Edit> auto OwnEdit(Edit edit);
  // Rebuilds after an own edit and selects the item of selectId.
  void RebuildAfterEdit(int selectId);
  // Ticks of every item but exceptId from the States (another window may
  // have changed them).
  void RefreshTicks(int exceptId);
  // The same passes over items and nodes already collected: a tick makes
  // all three, and the tree is walked once for them.
  using NodeMap = QHash<int, const GroupNode *>;
  using ItemList = QList<QTreeWidgetItem *>;
  void RefreshTicks(const ItemList &items, const NodeMap &nodes, int exceptId);
  void SyncStates(const ItemList &items);
  void RefreshImages(const ItemList &items, const NodeMap &nodes);
  // Recomputes the caption from the group tree and tells when it changed.
  void UpdateCaption();
  // Every node of the group tree by ID: items are matched to their nodes
  // through it, one walk of the tree per pass over the items.
  NodeMap NodesById() const;

  std::unique_ptr<GroupPaneLogic> logic_;
  CGroupTree *tree_;
  bool rebuilding_ = false;
  bool ownEdit_ = false;
  bool ownHint_ = false; // while NotifyChange sends the pane's hint 7
  QString shownCaption_;
};
