// Undoable commands on record rows.
//
// A command performs its change the first time it runs and then takes it
// back and repeats it on alternate runs: each Run works in the current
// direction and flips it. The statements are those of the row (CRowItem),
// which also show each successful change in the records grid. The rows an
// action added or deleted are a RowsCommand (rows_command.h).
#pragma once

#include <utility>

class CCommand {
public:
  virtual ~CCommand() = default;
  // Runs in the current direction, flips the direction, and returns whether
  // the statement succeeded.
  virtual bool Run() = 0;

  // True when the next Run applies the recorded change, false when it takes
  // it back.
  bool AppliesNext() const { return applyNext; }
  // Turns the direction back after a run whose statement did not reach the
  // file after all (its unit of work was rolled back).
  void TurnBack() { applyNext = !applyNext; }

  // The number of rows a run changes.
  virtual int RowCount() const { return 1; }
  // Takes over next, which ran just after this command in the same group,
  // when the two can run as one; whether it did (next is then empty).
  virtual bool Absorb(CCommand & /*next*/) { return false; }

protected:
  explicit CCommand(bool applyFirst) : applyNext(applyFirst) {}

  // Returns the current direction and flips it.
  bool TakeDirection() {
    const bool apply = applyNext;
    applyNext = !applyNext;
    return apply;
  }

  bool applyNext;
};

// One updated row: newRow holds the values after the change, oldRow those
// read from the database just before it. Runs write newRow, oldRow, newRow...
template <class Row> class CCommandUpDate : public CCommand {
public:
  CCommandUpDate(const Row &newRow, const Row &oldRow)
      : CCommand(true), newRow(newRow), oldRow(oldRow) {}

  bool Run() override {
    return TakeDirection() ? newRow.UpdateInDatabase()
                           : oldRow.UpdateInDatabase();
  }

  Row newRow;
  Row oldRow;
};
