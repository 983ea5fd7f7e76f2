// What the group pane decides, kept apart from its tree widget: the mode
// and the active-group caption, the States written from the tree's ticks
// or selection, the images of an item and the tree edits (new folder or group, rename, delete, move, copy).
//
// Everything is addressed by group ID: an ID whose node is gone (another
// window on the same file deleted it) is refused and changes nothing. Every
// edit changes the tree in memory and table [Group] together, as one unit
// of work: when the file refuses it, the tree in memory stays as the file
// has it. A successful edit notifies the file with HINT_GROUPS so that
// every window's group pane is rebuilt.
#pragma once

#include "groups/group_node.h"

#include <QList>
#include <QSet>
#include <QString>

class AccountFile;

// Image numbers of the pane's image list (normal, selected).
enum GroupImage : int {
  GI_BOOK = 0,        // a top-level folder
  GI_GROUP = 2,       // a group that is not active
  GI_ACTIVE_GROUP = 5,
  GI_FOLDER = 7,
  GI_FOLDER_OPEN = 8, // a folder while its item is selected
};

struct GroupImages {
  int normal;
  int selected;
  bool operator==(const GroupImages &) const = default;
};

// Where something was dropped relative to the item under the pointer.
enum class DropPlace { OnItem, Above, Below, Viewport };

// The ID that stands for "no item" (the empty area of the tree). The root
// itself has ID -1.
constexpr int kNoGroupItem = 0;

class GroupPaneLogic {
public:
  explicit GroupPaneLogic(AccountFile &file);

  AccountFile &File() const { return file_; }

  bool SeveralGroups() const { return severalGroups_; }
  // Switches the mode and recomputes the caption.
  void SetSeveralGroups(bool on);
  // GS_CHECKED while several groups are shown, else GS_SELECTED.
  unsigned ActiveMask() const;
  QList<int> ActiveGroupIds() const;

  // The active-group caption as last computed.
  const QString &Caption() const { return caption_; }
  // Recomputes the caption from the tree; true when it changed.
  bool UpdateCaption();

  // Writes the States from what the tree shows: in several-groups mode a
  // group's GS_CHECKED bit follows whether its ID is in ticked; in
  // one-group mode GS_SELECTED is set on the group selectedId and cleared
  // on every other group. Only changed rows are written, in one unit of
  // work. Then the caption is recomputed. True when some State changed.
  bool SyncStates(const QSet<int> &ticked, int selectedId);
  // True when id is a group that is not active in the current mode, so
  // that activating it (a double-click) changes something.
  bool CanActivate(int id) const;

  // The images of an item: a top-level folder a book, a folder the closed
  // and (selected) the open folder, a group the active-group image when
  // its State holds the mode's bit.
  GroupImages ImagesFor(const GroupNode &node) const;


  // A new folder "新筛选器" or group "新建组" under parentId (-1: the root);
  // parentId must be the root or a folder. The new ID, or kNoGroupItem
  // when refused or the file did not take the row.
  int NewNode(int parentId, int nodeKind);
  // Gives the node a new title, stored as typed. A blank title is refused
  // with a message. False when refused or not written.
  bool Rename(int id, const QString &title);
  // Asks "确定删除【%s】，以及该组所有记录么？"; on yes deletes the node,
  // everything below it and their records (DeleteGroup). False when
  // refused, not asked for or not done.
  bool Delete(int id);

  // The node a drop lands in: on a folder, that folder; on a group, or
  // above or below an item, the item's parent; on the empty area, the
  // root. kNoGroupItem when target is gone.
  int DropParent(int targetId, DropPlace place) const;
  // Moves (or with copy, copies) the node draggedId into parentId, where
  // the tree puts a new child: at the end. Moving it onto itself does
  // nothing; moving it below itself is refused with a message. False when
  // nothing changed.
  bool Drop(int draggedId, int parentId, bool copy);

  // The node of id: the root for -1, null for kNoGroupItem or an unknown ID.
  GroupNode *Find(int id) const;

private:
  void TreeEdited();

  AccountFile &file_;
  bool severalGroups_ = false;
  QString caption_;
};
