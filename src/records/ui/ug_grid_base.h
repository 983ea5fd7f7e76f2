// The general base of the ledger's grids on the cell grid: the set-up every
// grid shares (row heading width, row height, ranges of cells selectable)
// and the editing hooks.
//
// Editing: only a plain text cell marked 120 is edited as text, and never
// when it is read-only; drop-down list and date cells are edited by their
// own editors. An edit that ends with the text the cell already holds
// saves nothing; every other change the user makes to a cell arrives at
// OnCellValueChanged, which a concrete grid overrides to store it.
#pragma once

#include "widgets/cell_grid.h"

class CUGGridBase : public CellGrid {
public:
  // Cell marks.
  static constexpr int kTextCellMark = 120;     // plain text, typed into
  static constexpr int kDropListCellMark = 109; // drop-down list

  CUGGridBase();
  ~CUGGridBase() override;

  // The set-up of a grid: row heading 50 pixels wide, rows 25 pixels high,
  // several ranges of cells selectable.
  void OnSetup();

  bool OnEditStart(int col, int row, QChar typed) override;
  // The editor in use while a cell is edited, else null; the page routes
  // undo, cut, copy, paste and Delete to it.
  QWidget *EditorWidget() const { return ActiveEditor(); }
};
