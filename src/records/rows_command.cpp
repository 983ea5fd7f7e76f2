// Running the rows of an add or a delete kept in the undo history.
#include "records/rows_command.h"

#include "base/prompt.h"
#include "db/db_visiter.h"
#include "records/record_file.h"
#include "records/statement_savepoints.h"

#include <algorithm>
#include <functional>

namespace {

// One row's statement as a command, for its savepoint.
class RowStep : public CCommand {
public:
  explicit RowStep(std::function<bool()> run)
      : CCommand(true), run_(std::move(run)) {}
  bool Run() override { return run_(); }

private:
  std::function<bool()> run_;
};

} // namespace

RowsCommand::RowsCommand(CRowItem row, Kind kind, RowShape shape)
    : CCommand(kind == Add), kind_(kind), shape_(std::move(shape)),
      first_(std::make_unique<CRowItem>(std::move(row))) {}

int RowsCommand::RowCount() const {
  return first_ ? 1 : int(places_.size());
}

size_t RowsCommand::HeldBytes() const {
  size_t bytes = places_.capacity() * sizeof(Place) +
                 texts_.capacity() * sizeof(QByteArray);
  for (const QByteArray &texts : texts_)
    bytes += size_t(texts.capacity());
  return bytes;
}

bool RowsCommand::Run() {
  const bool insert = TakeDirection();
  // Applying the change: the add's insert, the delete's delete.
  const bool apply = insert == (kind_ == Add);
  if (first_)
    return RunFirst(insert);
  CDBVisiter *session =
      shape_ && shape_->accountFile ? shape_->accountFile->Session() : nullptr;
  if (places_.size() == 1)
    return RunRow(0, insert);
  StatementSavepoints steps(session);
  for (size_t n = 0; n < places_.size(); ++n) {
    if (session && session->TransactionLost())
      return false;
    const size_t i = apply ? n : places_.size() - 1 - n;
    RowStep step([&] { return RunRow(i, insert); });
    steps.RunAlone(step);
  }
  // Once every record is in the file again, no row needs a place for texts.
  if (std::all_of(texts_.cbegin(), texts_.cend(),
                  [](const QByteArray &texts) { return texts.isEmpty(); }))
    std::vector<QByteArray>().swap(texts_);
  return !session || !session->TransactionLost();
}

bool RowsCommand::RunFirst(bool insert) {
  CRowItem row = std::move(*first_);
  first_.reset();
  const bool done =
      insert ? row.InsertIntoDatabase() : row.DeleteFromDatabase();
  shape_ = ShapeFor(row, shape_);
  places_.resize(1);
  Keep(0, row, insert && done);
  return done;
}

CRowItem RowsCommand::RowAt(size_t i) const {
  if (i < texts_.size() && !texts_[i].isEmpty())
    return UnpackRow(*shape_, texts_[i]);
  const Place &place = places_[i];
  CRowItem row = *shape_;
  row.SetKeyValue(place.key);
  row.groupId = place.groupId;
  row.gridNumber = place.gridNumber;
  row.gridRow = place.gridRow;
  return row;
}

void RowsCommand::Keep(size_t i, const CRowItem &row, bool inFile) {
  places_[i] = {row.KeyValue(), row.groupId, row.gridNumber, row.gridRow};
  if (inFile) {
    if (i < texts_.size())
      texts_[i] = QByteArray();
    return;
  }
  if (texts_.size() < places_.size())
    texts_.resize(places_.size());
  texts_[i] = PackRow(row);
}

bool RowsCommand::RunRow(size_t i, bool insert) {
  const bool held = i < texts_.size() && !texts_[i].isEmpty();
  CRowItem row = RowAt(i);
  if (insert) {
    // Nothing is known of a record that was gone when it was to be
    // deleted: it is not stored with texts made up.
    if (!held) {
      ShowMessage(QStringLiteral("失败！"));
      return false;
    }
    const bool done = row.InsertIntoDatabase();
    Keep(i, row, done);
    return done;
  }
  // The record's texts as the file holds them, for storing it again.
  const bool known = held || row.LoadFromDatabase(places_[i].key,
                                                  places_[i].groupId);
  const bool done = row.DeleteFromDatabase();
  if (known)
    Keep(i, row, false);
  return done;
}

bool RowsCommand::Absorb(CCommand &next) {
  auto *other = dynamic_cast<RowsCommand *>(&next);
  if (!other || other == this || other->kind_ != kind_ || first_ ||
      other->first_ || other->AppliesNext() != AppliesNext() || !shape_ ||
      !other->shape_ || !SameLayout(*other->shape_, *shape_))
    return false;
  if (!texts_.empty() || !other->texts_.empty()) {
    texts_.resize(places_.size());
    other->texts_.resize(other->places_.size());
    texts_.insert(texts_.end(), other->texts_.begin(), other->texts_.end());
  }
  places_.insert(places_.end(), other->places_.begin(), other->places_.end());
  other->places_.clear();
  other->texts_.clear();
  return true;
}
