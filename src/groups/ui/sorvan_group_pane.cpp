// The group pane: the tree control over the group tree, the mode, the
// context menu and the edits, each decided by GroupPaneLogic.
#include "groups/ui/sorvan_group_pane.h"

#include "window/pane_tool_bar.h"
#include "groups/ui/group_pane_menu.h"
#include "groups/ui/group_tree.h"
#include "document/account_file.h"

#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>

namespace {

// What a change of the active groups reloads: the records page and both
// chart pages.
constexpr unsigned kGroupsChanged =
    HINT_RECORDS | HINT_PIE_SERIES | HINT_BAR_SERIES;

} // namespace

CSorvanGroupPane::CSorvanGroupPane(DocumentWindow *window, QWidget *parent)
    : CSorvanBasePane(window, parent), tree_(new CGroupTree) {
  if (AccountFile *file = File())
    logic_ = std::make_unique<GroupPaneLogic>(*file);
  tree_->setAccessibleName(QStringLiteral("分组"));
  SetContent(tree_);

  QAction *several = ToolBar()->AddCommand(
      ID_SEVERAL_GROUPS, QStringLiteral("同时显示所有勾选的分组\n显示多组"),
      true);
  // The button's state, not the click: an assistive tool's Toggle changes
  // the state without a click.
  connect(several, &QAction::toggled, this, [this](bool on) {
    if (on != SeveralGroups())
      ToggleMode();
  });
  AddUpdateCommands();
  SetImmediateUpdate(true);

  connect(tree_, &CGroupTree::CheckClicked, this,
          &CSorvanGroupPane::OnCheckClicked);
  connect(tree_, &CGroupTree::ItemActivated, this, &CSorvanGroupPane::Activate);
  connect(tree_, &CGroupTree::ContextMenuAsked, this,
          [this](int id, const QPoint &at) { ShowContextMenu(id, at); });
  connect(tree_, &CGroupTree::LabelEdited, this,
          &CSorvanGroupPane::OnLabelEdited);
  connect(tree_, &CGroupTree::DropAsked, this, &CSorvanGroupPane::OnDropAsked);

  if (logic_) {
    rebuilding_ = true;
    BuildTree();
    SyncStates();
    rebuilding_ = false;
  }
}

CSorvanGroupPane::~CSorvanGroupPane() = default;

bool CSorvanGroupPane::SeveralGroups() const {
  return logic_ && logic_->SeveralGroups();
}

QList<int> CSorvanGroupPane::ActiveGroupIds() const {
  return logic_ ? logic_->ActiveGroupIds() : QList<int>();
}

QString CSorvanGroupPane::ActiveGroupCaption() const {
  return logic_ ? logic_->Caption() : QString();
}

void CSorvanGroupPane::OnChangeNotify(unsigned hint) {
  if (!logic_)
    return;
  if (hint & HINT_GROUPS) {
    if (ownEdit_)
      return;
    rebuilding_ = true;
    BuildTree();
    SyncStates();
    rebuilding_ = false;
    return;
  }
  // The pane's own hint finds the items as they are already.
  if ((hint & kGroupsChanged) && !ownHint_) {
    RefreshTicks(kNoGroupItem);
    RefreshImages();
    UpdateCaption();
  }
}

void CSorvanGroupPane::BuildTree() {
  if (!logic_)
    return;
  const int scrolled = tree_->verticalScrollBar()->value();
  const QSignalBlocker blocker(tree_);
  tree_->SetFilePath(logic_->File().Path());
  tree_->SetCheckBoxes(logic_->SeveralGroups());
  tree_->clear();
  AddItems(nullptr, logic_->File().Root());
  tree_->expandAll();
  tree_->verticalScrollBar()->setValue(scrolled);
}

void CSorvanGroupPane::AddItems(QTreeWidgetItem *parentItem,
                                const GroupNode &parent) {
  const unsigned mask = logic_->ActiveMask();
  for (const auto &child : parent.children) {
    const GroupNode &node = *child;
    if (node.nodeKind != NK_FOLDER && node.nodeKind != NK_GROUP)
      continue; // a node of no known kind gets no item
    QTreeWidgetItem *item =
        tree_->AddItem(parentItem, node.id, node.title, node.IsGroup());
    tree_->SetImages(item, logic_->ImagesFor(node));
    if (node.IsGroup() && node.HasState(mask)) {
      if (logic_->SeveralGroups())
        tree_->SetTicked(item, true);
      else
        tree_->setCurrentItem(item);
    }
    AddItems(item, node);
  }
}

void CSorvanGroupPane::SyncStates() { SyncStates(tree_->Items()); }

void CSorvanGroupPane::SyncStates(const ItemList &items) {
  if (!logic_)
    return;
  QSet<int> ticked;
  int selected = kNoGroupItem;
  for (QTreeWidgetItem *item : items) {
    if (CGroupTree::IsTicked(item))
      ticked.insert(CGroupTree::IdOf(item));
    if (item->isSelected())
      selected = CGroupTree::IdOf(item);
  }
  logic_->SyncStates(ticked, selected);
  UpdateCaption();
}

void CSorvanGroupPane::RefreshImages() {
  if (!logic_)
    return;
  RefreshImages(tree_->Items(), NodesById());
}

void CSorvanGroupPane::RefreshImages(const ItemList &items,
                                     const NodeMap &nodes) {
  if (!logic_)
    return;
  for (QTreeWidgetItem *item : items) {
    if (const GroupNode *node = nodes.value(CGroupTree::IdOf(item)))
      tree_->SetImages(item, logic_->ImagesFor(*node));
  }
}

void CSorvanGroupPane::RefreshTicks(int exceptId) {
  if (!logic_ || !logic_->SeveralGroups())
    return;
  RefreshTicks(tree_->Items(), NodesById(), exceptId);
}

void CSorvanGroupPane::RefreshTicks(const ItemList &items, const NodeMap &nodes,
                                    int exceptId) {
  if (!logic_ || !logic_->SeveralGroups())
    return;
  for (QTreeWidgetItem *item : items) {
    const int id = CGroupTree::IdOf(item);
    const GroupNode *node = nodes.value(id);
    if (id != exceptId && node && node->IsGroup() &&
        CGroupTree::IsTicked(item) != node->HasState(GS_CHECKED))
      tree_->SetTicked(item, node->HasState(GS_CHECKED));
  }
}

CSorvanGroupPane::NodeMap CSorvanGroupPane::NodesById() const {
  NodeMap nodes;
  QList<const GroupNode *> pending{&logic_->File().Root()};
  while (!pending.isEmpty()) {
    const GroupNode *node = pending.takeLast();
    nodes.insert(node->id, node);
    for (const auto &child : node->children)
      pending.append(child.get());
  }
  return nodes;
}

void CSorvanGroupPane::Activate(int id) {
  if (!logic_ || !logic_->CanActivate(id))
    return;
  QTreeWidgetItem *item = tree_->ItemOf(id);
  if (!item)
    return;
  if (logic_->SeveralGroups()) {
    RefreshTicks(id);
    tree_->SetTicked(item, true);
  } else {
    tree_->setCurrentItem(item);
  }
  SyncStates();
  RefreshImages();
  NotifyChange();
}

void CSorvanGroupPane::OnCheckClicked(int id) {
  if (logic_) {
    const ItemList items = tree_->Items();
    const NodeMap nodes = NodesById();
    RefreshTicks(items, nodes, id);
    SyncStates(items);
    RefreshImages(items, nodes);
  }
  NotifyChange();
}

void CSorvanGroupPane::ToggleMode() {
  if (!logic_)
    return;
  logic_->SetSeveralGroups(!logic_->SeveralGroups());
  if (QAction *several = ToolBar()->Action(ID_SEVERAL_GROUPS)) {
    const QSignalBlocker blocker(several);
    several->setChecked(logic_->SeveralGroups());
  }
  rebuilding_ = true;
  BuildTree();
  rebuilding_ = false;
  UpdateCaption();
  NotifyChange();
}

void CSorvanGroupPane::NotifyChange() {
  if (rebuilding_)
    return;
  ownHint_ = true;
  NotifyChange(kGroupsChanged);
  ownHint_ = false;
}

void CSorvanGroupPane::UpdateCaption() {
  if (!logic_)
    return;
  logic_->UpdateCaption();
  if (logic_->Caption() == shownCaption_)
    return;
  shownCaption_ = logic_->Caption();
  emit ActiveGroupCaptionChanged(shownCaption_);
}

QMenu *CSorvanGroupPane::ShowContextMenu(int id, const QPoint &globalPos) {
  if (!logic_)
    return nullptr;
  const QList<GroupMenuEntry> entries =
      GroupMenuFor(logic_->Find(id), id == kNoGroupItem);
  if (entries.isEmpty())
    return nullptr;
  auto *menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  for (const GroupMenuEntry &entry : entries) {
    QAction *action = menu->addAction(entry.text);
    action->setData(entry.command);
    const int command = entry.command;
    connect(action, &QAction::triggered, this,
            [this, command, id] { RunCommand(command, id); });
  }
  menu->popup(globalPos);
  return menu;
}

void CSorvanGroupPane::RunCommand(int command, int id) {
  if (!logic_)
    return;
  const int root = logic_->File().Root().id;
  switch (command) {
  case ID_NEW_FOLDER:
    NewNode(id == kNoGroupItem ? root : id, NK_FOLDER);
    break;
  case ID_NEW_GROUP:
    NewNode(id == kNoGroupItem ? root : id, NK_GROUP);
    break;
  case ID_OPEN_GROUP:
    Activate(id);
    break;
  case ID_DELETE_NODE:
    DeleteNode(id);
    break;
  case ID_RENAME_NODE:
    StartRename(id);
    break;
  case ID_SEVERAL_GROUPS:
    ToggleMode();
    break;
  default:
    break;
  }
}

template <typename Edit> auto CSorvanGroupPane::OwnEdit(Edit edit) {
  ownEdit_ = true;
  const auto result = edit();
  ownEdit_ = false;
  return result;
}

void CSorvanGroupPane::RebuildAfterEdit(int selectId) {
  rebuilding_ = true;
  BuildTree();
  rebuilding_ = false;
  if (QTreeWidgetItem *item = tree_->ItemOf(selectId))
    tree_->setCurrentItem(item);
  UpdateCaption();
}

void CSorvanGroupPane::NewNode(int parentId, int nodeKind) {
  const int id =
      OwnEdit([&] { return logic_->NewNode(parentId, nodeKind); });
  if (id == kNoGroupItem)
    return;
  RebuildAfterEdit(id);
  // The user names the new node straight away.
  tree_->StartLabelEdit(tree_->ItemOf(id));
}

void CSorvanGroupPane::DeleteNode(int id) {
  const bool deleted = OwnEdit([&] { return logic_->Delete(id); });
  // Rebuilt either way: a refused delete may still have taken part of the
  // subtree with it, and the items must show what the tree holds.
  // The selection then follows the group the page shows, else the
  // deleted node's parent.
  QTreeWidgetItem *item = tree_->ItemOf(id);
  QTreeWidgetItem *parent = item ? item->parent() : nullptr;
  const QList<int> active = ActiveGroupIds();
  int selectId = id;
  if (deleted)
    selectId = !active.isEmpty() ? active.first() : parent ? CGroupTree::IdOf(parent) : id;
  RebuildAfterEdit(selectId);
}

void CSorvanGroupPane::StartRename(int id) {
  tree_->StartLabelEdit(tree_->ItemOf(id));
}

void CSorvanGroupPane::OnLabelEdited(int id, const QString &text) {
  if (!logic_)
    return;
  if (!OwnEdit([&] { return logic_->Rename(id, text); }))
    return;
  if (QTreeWidgetItem *item = tree_->ItemOf(id)) {
    const QSignalBlocker blocker(tree_);
    item->setText(0, text);
  }
  UpdateCaption();
}

void CSorvanGroupPane::OnDropAsked(int draggedId, int targetId,
                                   DropPlace place, bool copy) {
  if (!logic_)
    return;
  const int parentId = logic_->DropParent(targetId, place);
  if (parentId == kNoGroupItem)
    return;
  const int before = logic_->File().LargestGroupId();
  if (!OwnEdit([&] { return logic_->Drop(draggedId, parentId, copy); }))
    return;
  // A copy's top node took the first of the new IDs.
  RebuildAfterEdit(copy ? before + 1 : draggedId);
}
