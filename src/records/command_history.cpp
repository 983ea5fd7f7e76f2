// The undo and redo history of record changes.
#include "records/command_history.h"

#include "base/prompt.h"
#include "db/db_visiter.h"
#include "records/hidden_fields.h"
#include "records/record_file.h"
#include "records/record_grid.h"
#include "records/row_item.h"
#include "records/rows_command.h"
#include "records/statement_savepoints.h"
#include "db/unit_of_work.h"

#include <algorithm>
#include <utility>

namespace {

using UpdateCommand = CCommandUpDate<CRowItem>;

// A row whose texts the caller made or changed: it is read back from the
// file once stored, so that it holds the values as stored.
CRowItem Changed(const CRowItem &row) {
  CRowItem copy = row;
  copy.textsAsStored = false;
  return copy;
}

} // namespace

CommandHistory::CommandHistory(RecordFile &file) : file_(file) {}

CommandHistory::~CommandHistory() = default;

bool CommandHistory::BeginGroup() {
  if (openGroup_) {
    ++nesting_;
    return false;
  }
  openGroup_ = std::make_unique<CommandGroup>();
  groupWork_ = std::make_unique<UnitOfWork>(file_.Session());
  return true;
}

bool CommandHistory::EndGroup() {
  if (nesting_ >= 1) {
    --nesting_;
    return !file_.Session() || !file_.Session()->TransactionLost();
  }
  std::unique_ptr<CommandGroup> group = std::move(openGroup_);
  std::unique_ptr<UnitOfWork> work = std::move(groupWork_);
  if (work && !work->Commit()) {
    ReportLostWork();
    return false;
  }
  if (!group || group->empty())
    return true;
  redoStack_.clear();
  undoStack_.push_back(std::move(*group));
  file_.ChangesRecorded();
  return true;
}

void CommandHistory::DiscardGroup() {
  openGroup_.reset();
  groupWork_.reset(); // rolls back what the group wrote
  nesting_ = 0;
}

void CommandHistory::ReportLostWork() {
  ShowMessage(QStringLiteral("失败！"));
  file_.RecordsChanged();
}

void CommandHistory::BeginShowing(int rowCount) {
  for (RecordGrid *grid : file_.Grids())
    grid->BeginStoredChanges(rowCount);
}

void CommandHistory::EndShowing() {
  // A grid may have been closed meanwhile; the file's list is current.
  for (RecordGrid *grid : file_.Grids())
    grid->EndStoredChanges();
}

bool CommandHistory::Record(std::unique_ptr<CCommand> command,
                            StatementSavepoints &steps) {
  if (!openGroup_)
    BeginGroup();
  if (!steps.RunAlone(*command))
    return false;
  // The rows of one import join one command: a few bytes each.
  if (!openGroup_->empty() && openGroup_->back()->Absorb(*command))
    return true;
  openGroup_->push_back(std::move(command));
  return true;
}

int CommandHistory::RecordRows(
    QList<CRowItem> rows,
    const std::function<std::unique_ptr<CCommand>(CRowItem &)> &make) {
  BeginShowing(int(rows.size()));
  BeginGroup();
  StatementSavepoints steps(file_.Session());
  int stored = 0;
  for (CRowItem &row : rows)
    stored += Record(make(row), steps);
  // The grids finish showing the rows before a failed commit makes them
  // reload what the file holds.
  EndShowing();
  return EndGroup() ? stored : 0;
}

int CommandHistory::AddRows(QList<CRowItem> rows) {
  // Each row moves into its command, so that storing it changes the one
  // copy instead of copying its texts first. Rows of one layout share one
  // shape.
  RowShape shape;
  return RecordRows(std::move(rows), [&shape](CRowItem &row) {
    row.textsAsStored = false;
    shape = ShapeFor(row, shape);
    return std::make_unique<RowsCommand>(std::move(row), RowsCommand::Add,
                                         shape);
  });
}

int CommandHistory::DeleteRows(const QList<CRowItem> &rows) {
  // Rows gathered from a grid lack what no column shows; undo must store it
  // again.
  QList<CRowItem> complete = rows;
  KeepHiddenFields(file_, complete);
  RowShape shape;
  return RecordRows(std::move(complete), [&shape](CRowItem &row) {
    shape = ShapeFor(row, shape);
    return std::make_unique<RowsCommand>(std::move(row), RowsCommand::Delete,
                                         shape);
  });
}

int CommandHistory::UpdateRows(const QList<CRowItem> &rows) {
  return RecordRows(rows, [](CRowItem &row) {
    return std::make_unique<UpdateCommand>(Changed(row), row.Reload());
  });
}

bool CommandHistory::RunGroup(CommandGroup &group, bool backwards) {
  CDBVisiter *session = file_.Session();
  std::vector<CCommand *> order;
  for (const auto &command : group)
    order.push_back(command.get());
  if (backwards)
    std::reverse(order.begin(), order.end());
  int rows = 0;
  for (const CCommand *command : order)
    rows += command->RowCount();
  BeginShowing(rows);
  UnitOfWork whole(session);
  StatementSavepoints steps(session);
  // The results of the single runs are not checked: a failing statement
  // has shown its message and the group moves all the same, its commands
  // kept in step with each other. Once the engine has dropped the unit of
  // work nothing more runs.
  size_t ran = 0;
  for (; ran < order.size(); ++ran) {
    if (session && session->TransactionLost())
      break;
    steps.RunAlone(*order[ran]);
  }
  EndShowing();
  if (whole.Commit())
    return true;
  for (size_t i = 0; i < ran; ++i)
    order[i]->TurnBack();
  return false;
}

bool CommandHistory::MoveGroup(std::vector<CommandGroup> &from,
                               std::vector<CommandGroup> &to, bool backwards) {
  if (from.empty())
    return false;
  // The group leaves the stack before it runs, so nothing a statement sets
  // off can reach it half-way.
  CommandGroup group = std::move(from.back());
  from.pop_back();
  if (!RunGroup(group, backwards)) {
    from.push_back(std::move(group));
    ReportLostWork();
    return false;
  }
  to.push_back(std::move(group));
  return true;
}

bool CommandHistory::Undo() { return MoveGroup(undoStack_, redoStack_, true); }

bool CommandHistory::Redo() { return MoveGroup(redoStack_, undoStack_, false); }

void CommandHistory::Clear() {
  openGroup_.reset();
  // What ran of an open group is shown already; it stays in the file.
  if (groupWork_)
    groupWork_->Commit();
  groupWork_.reset();
  nesting_ = 0;
  undoStack_.clear();
  redoStack_.clear();
}
