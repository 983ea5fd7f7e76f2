// The undo and redo history of record changes.
#include "records/command_history.h"

#include "model/account_file.h"
#include "records/row_item.h"

#include <utility>

namespace {

using RowCommand = CCommandAddDel<CRowItem>;
using UpdateCommand = CCommandUpDate<CRowItem>;

} // namespace

CommandHistory::CommandHistory(AccountFile &file) : file_(file) {}

CommandHistory::~CommandHistory() = default;

bool CommandHistory::BeginGroup() {
  if (openGroup_) {
    ++nesting_;
    return false;
  }
  openGroup_ = std::make_unique<CommandGroup>();
  return true;
}

void CommandHistory::EndGroup() {
  if (nesting_ >= 1) {
    --nesting_;
    return;
  }
  std::unique_ptr<CommandGroup> group = std::move(openGroup_);
  if (!group || group->empty())
    return;
  redoStack_.clear();
  undoStack_.push_back(std::move(*group));
  file_.Notify(HINT_PIE | HINT_BAR);
}

void CommandHistory::DiscardGroup() {
  openGroup_.reset();
  nesting_ = 0;
}

bool CommandHistory::Record(std::unique_ptr<CCommand> command) {
  if (!openGroup_)
    BeginGroup();
  if (!command->Run())
    return false;
  openGroup_->push_back(std::move(command));
  return true;
}

int CommandHistory::AddRows(const QList<CRowItem> &rows) {
  BeginGroup();
  int stored = 0;
  for (const CRowItem &row : rows)
    stored += Record(std::make_unique<RowCommand>(row, RowCommand::Add));
  EndGroup();
  return stored;
}

int CommandHistory::DeleteRows(const QList<CRowItem> &rows) {
  BeginGroup();
  int stored = 0;
  for (const CRowItem &row : rows)
    stored += Record(std::make_unique<RowCommand>(row, RowCommand::Delete));
  EndGroup();
  return stored;
}

int CommandHistory::UpdateRows(const QList<CRowItem> &rows) {
  BeginGroup();
  int stored = 0;
  for (const CRowItem &row : rows)
    stored += Record(std::make_unique<UpdateCommand>(row, row.Reload()));
  EndGroup();
  return stored;
}

bool CommandHistory::Undo() {
  if (undoStack_.empty())
    return false;
  // The group leaves the stack before it runs, so nothing a statement sets
  // off can reach it half-way.
  CommandGroup group = std::move(undoStack_.back());
  undoStack_.pop_back();
  for (auto it = group.rbegin(); it != group.rend(); ++it)
    (*it)->Run();
  redoStack_.push_back(std::move(group));
  return true;
}

bool CommandHistory::Redo() {
  if (redoStack_.empty())
    return false;
  CommandGroup group = std::move(redoStack_.back());
  redoStack_.pop_back();
  for (const auto &command : group)
    command->Run();
  undoStack_.push_back(std::move(group));
  return true;
}

void CommandHistory::Clear() {
  openGroup_.reset();
  nesting_ = 0;
  undoStack_.clear();
  redoStack_.clear();
}
