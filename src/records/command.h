// Undoable commands on record rows.
//
// A command performs its change the first time it runs and then takes it
// back and repeats it on alternate runs: each Run works in the current
// direction and flips it. The statements are those of the row (CRowItem),
// which also show each successful change in the records grid.
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

// One added or deleted row. An add inserts, deletes, inserts... on
// successive runs; a delete deletes, inserts, deletes...
template <class Row> class CCommandAddDel : public CCommand {
public:
  enum Kind { Add, Delete };

  CCommandAddDel(Row row, Kind kind)
      : CCommand(kind == Add), row(std::move(row)) {}

  bool Run() override {
    return TakeDirection() ? row.InsertIntoDatabase()
                           : row.DeleteFromDatabase();
  }

  Row row;
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
