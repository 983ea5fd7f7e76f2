// The per-file undo and redo history of record changes.
//
// The commands of one user action form one group, so that one undo takes
// the whole action back and one redo repeats it. Groups nest: a row
// operation started inside an open group adds its commands to that group.
// Every recorded group is announced to the file's listeners with the hint 6
// (the chart pages reload; the grid already shows each change). The caller
// of Undo and Redo sends that hint after they succeed.
//
// A group is one unit of work in the file: its statements reach the file
// together when the group closes. Each statement has a unit of its own
// inside, so a row that fails still fails alone and the others are stored.
#pragma once

#include "records/command.h"

#include <QList>

#include <functional>
#include <memory>
#include <vector>

class CRowItem;
class RecordFile;
class StatementSavepoints;
class UnitOfWork;

class CommandHistory {
public:
  explicit CommandHistory(RecordFile &file);
  ~CommandHistory();
  CommandHistory(const CommandHistory &) = delete;
  CommandHistory &operator=(const CommandHistory &) = delete;

  // Insert, delete or update the rows, one command per row in list order,
  // as one group. A row whose statement fails ("失败！") is not recorded;
  // the other rows are still processed. The number of rows stored: 0, with
  // nothing recorded, when the group's unit of work could not be committed
  // (or, inside an open group, when the engine has dropped the unit).
  int AddRows(QList<CRowItem> rows);
  int DeleteRows(const QList<CRowItem> &rows);
  // Each row's stored values are read just before its update, for undo.
  int UpdateRows(const QList<CRowItem> &rows);

  // Run the top group backwards (Undo) or forwards (Redo) and move it to
  // the other stack; false when there is nothing to undo or redo. Failing
  // statements show their message and the group moves all the same, its
  // commands kept in step with each other.
  bool Undo();
  bool Redo();
  bool CanUndo() const { return !undoStack_.empty(); }
  bool CanRedo() const { return !redoStack_.empty(); }
  // The number of groups that can be undone / redone.
  int UndoDepth() const { return int(undoStack_.size()); }
  int RedoDepth() const { return int(redoStack_.size()); }

  // Destroys the open group and every group of both stacks.
  void Clear();

  // Opens a group; when one is open already, counts one more level and
  // returns false.
  bool BeginGroup();
  // Closes one level. The outermost close commits the group's unit of work
  // and records the open group when it holds a command (the redo stack is
  // discarded and hint 6 sent), or drops it when it is empty. False when
  // the commit failed: nothing is recorded, "失败！" is shown and every page
  // reloads from the file. An inner close is false when the engine has
  // dropped the unit of work already.
  bool EndGroup();
  // Drops the open group, whatever its nesting, without recording it: for a
  // unit of work that was rolled back, whose commands never reached the
  // file.
  void DiscardGroup();

private:
  using CommandGroup = std::vector<std::unique_ptr<CCommand>>;

  // Runs the command once and appends it to the open group when it
  // succeeded; whether it did.
  bool Record(std::unique_ptr<CCommand> command, StatementSavepoints &steps);
  // Records the command make gives for each row, as one command group
  // shown as one batch; the number of rows stored.
  // make may take the row over: no one else reads it afterwards.
  int RecordRows(QList<CRowItem> rows,
                 const std::function<std::unique_ptr<CCommand>(CRowItem &)>
                     &make);
  // Takes the last group of from, runs it (backwards for an undo) and puts
  // it on to; when it cannot be committed it goes back onto from.
  bool MoveGroup(std::vector<CommandGroup> &from, std::vector<CommandGroup> &to,
                 bool backwards);
  // Runs the commands of a group in the given order as one unit of work,
  // each in a unit of its own. When the whole cannot be committed, the file
  // keeps none of it, the commands are turned back and false is returned.
  bool RunGroup(CommandGroup &group, bool backwards);
  // A commit that failed: the message, and every page reloads from the file.
  void ReportLostWork();
  // Tell the file's grids that the changes of rowCount rows begin / end.
  void BeginShowing(int rowCount);
  void EndShowing();

  RecordFile &file_;
  std::vector<CommandGroup> redoStack_;
  std::vector<CommandGroup> undoStack_;
  std::unique_ptr<CommandGroup> openGroup_;
  std::unique_ptr<UnitOfWork> groupWork_; // while openGroup_ is open
  int nesting_ = 0;
};
