// The rows one action added or deleted, kept compactly in the undo history.
//
// An add inserts, deletes, inserts... on successive runs; a delete
// deletes, inserts, deletes... A command starts with one row, kept whole
// for its first run; afterwards it keeps per row only the place of its
// record (key, group, the grid it was shown in) while the record is in the
// file, and its packed texts (packed_row.h) while it is not. The record's
// texts are read from the file just before it is deleted. Commands of one
// kind that ran alike join the one before them in their group, so an
// import of a million lines is one command of about 16 bytes a line.
#pragma once

#include "records/command.h"
#include "records/packed_row.h"

#include <QByteArray>

#include <memory>
#include <vector>

class RowsCommand : public CCommand {
public:
  enum Kind { Add, Delete };

  // shape is kept when row still has its layout after the first run.
  RowsCommand(CRowItem row, Kind kind, RowShape shape);

  // Runs every row, each in a savepoint of its own: in order when applying
  // the change, in reverse order when taking it back. A row whose record
  // is gone when it is deleted cannot be stored again: its insert fails
  // ("失败！") rather than store a record of empty texts. With more than
  // one row, false only when the engine has dropped the unit of work.
  bool Run() override;
  int RowCount() const override;
  // Takes over the rows of next when it is a RowsCommand of this kind and
  // layout that ran as often.
  bool Absorb(CCommand &next) override;

  const RowShape &Shape() const { return shape_; }
  // The bytes held besides the shape: the places and the packed texts.
  size_t HeldBytes() const;

private:
  struct Place {
    int key = 0;
    int groupId = 0;
    int gridNumber = 0;
    int gridRow = -1;
  };

  bool RunFirst(bool insert);
  bool RunRow(size_t i, bool insert);
  // The row i as far as it is known: its texts when held, else its key.
  CRowItem RowAt(size_t i) const;
  // Keeps row as row i after a run: its texts unless its record is in the
  // file.
  void Keep(size_t i, const CRowItem &row, bool inFile);

  Kind kind_;
  RowShape shape_;
  std::unique_ptr<CRowItem> first_;
  std::vector<Place> places_;
  // Per row, its packed texts while its record is not in the file; empty
  // while no row holds any.
  std::vector<QByteArray> texts_;
};
