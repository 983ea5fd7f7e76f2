// The cells of a grid, kept without a window: structure, texts, formats,
// attached data, joined cells, the current cell and the selection.
//
// Columns run from 0 to GetNumberCols() - 1 and rows from 0 to
// GetNumberRows() - 1; column -1 is the row heading (side heading) and row -1
// the top heading, whose cell (-1, -1) is the corner. The records grid and
// the options grid keep everything they show here and are tested on a store
// alone; a CellGridModel shows a store in a CellGridView.
//
// Built for large files: a row is one small object holding its texts in one
// block, a format for the whole row and, only where one is set, formats of
// single cells. Formats resolve cell, then row, then column, then the grid's
// default (the heading default for row -1 and column -1). Inserting or
// deleting a row moves no other row's data.
//
// A change is reported to the observer (the model of a view) as it happens;
// between BeginUpdate and EndUpdate nothing is reported but one reset at the
// end, which is how a whole load reaches the view.
#pragma once

#include "widgets/cell_format.h"
#include "widgets/cell_range.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <memory>
#include <vector>

// What a view learns of the changes of a store. Every Begin... is followed
// by its End... with the store already changed in between.
class CellStoreObserver {
public:
  virtual ~CellStoreObserver() = default;
  virtual void BeginReset() = 0;
  virtual void EndReset() = 0;
  virtual void BeginInsertRows(int first, int last) = 0;
  virtual void EndInsertRows() = 0;
  virtual void BeginRemoveRows(int first, int last) = 0;
  virtual void EndRemoveRows() = 0;
  // Texts or formats of the cells of range changed; row -1 and column -1
  // stand for the headings.
  virtual void CellsChanged(const CellRange &range) = 0;
  // Column widths, heading sizes, row height or joined cells changed.
  virtual void LayoutChanged() = 0;
  virtual void CurrentCellChanged() = 0;
  virtual void SelectionChanged() = 0;
};

class CellStore {
public:
  CellStore();
  virtual ~CellStore();
  CellStore(const CellStore &) = delete;
  CellStore &operator=(const CellStore &) = delete;

  // The observer told of every change (not owned); null for none.
  void SetObserver(CellStoreObserver *observer) { observer_ = observer; }
  CellStoreObserver *Observer() const { return observer_; }

  // ---- Structure ----

  // Changing the number of columns drops the texts and formats of removed
  // columns and clears the selection.
  void SetNumberCols(int count);
  int GetNumberCols() const { return int(colFormats_.size()); }
  // Rows are added empty at the end or removed from the end.
  void SetNumberRows(int count);
  int GetNumberRows() const;
  void AppendRow();
  // Inserts an empty row before row (appends when row is the row count).
  // False for a row out of range.
  bool InsertRow(int row);
  bool DeleteRow(int row);
  // Deletes count rows from first on; false when they are not all rows.
  bool DeleteRows(int first, int count);

  // Widths in pixels; column -1 is the row heading (as SetSH_Width).
  void SetColWidth(int col, int width);
  int GetColWidth(int col) const;
  void SetSH_Width(int width) { SetColWidth(-1, width); }
  int GetSH_Width() const { return GetColWidth(-1); }
  void SetTH_Height(int height);
  int GetTH_Height() const { return topHeadingHeight_; }
  void SetDefRowHeight(int height);
  int GetDefRowHeight() const { return defRowHeight_; }

  // Joins the cells from (col, row) to (lastCol, row) into one that shows
  // the text and format of (col, row). Joins lie within one row: lastRow
  // must equal row. False when the range is not inside the grid's cells or
  // overlaps another join of the row.
  bool JoinCells(int col, int row, int lastCol, int lastRow);
  // Undoes the join that covers (col, row); false when there is none.
  bool UnJoinCells(int col, int row);
  // The join covering (col, row); false when the cell is not joined.
  bool GetJoinRange(int col, int row, CellRange *range) const;
  // Every join of the grid, top to bottom.
  std::vector<CellRange> Joins() const;

  // Brackets a batch of changes (a load, or an action on many rows): the
  // observer hears one reset at the outermost EndUpdate and nothing in
  // between. A view keeps its scroll position across it. Removing 10,000
  // rows one by one from a shown grid of 100,000 takes seconds of the
  // view's bookkeeping; inside a batch it takes milliseconds.
  void BeginUpdate();
  void EndUpdate();
  bool InUpdate() const { return updateDepth_ > 0; }
  // BeginUpdate for the lifetime of the object.
  class ScopedUpdate {
  public:
    explicit ScopedUpdate(CellStore &store) : store_(store) {
      store_.BeginUpdate();
    }
    ~ScopedUpdate() { store_.EndUpdate(); }
    ScopedUpdate(const ScopedUpdate &) = delete;
    ScopedUpdate &operator=(const ScopedUpdate &) = delete;

  private:
    CellStore &store_;
  };

  // ---- Cells ----

  // Texts are kept exactly as set; a cell outside the grid reads as empty
  // and ignores writes.
  void QuickSetText(int col, int row, const QString &text);
  QString QuickGetText(int col, int row) const;
  QString GetText(int col, int row) const { return QuickGetText(col, row); }
  // The text without a copy; valid until the row is next changed.
  QStringView TextView(int col, int row) const;
  // Sets the texts of columns -1, 0, 1, ... of row from texts at once.
  void SetRowTexts(int row, const QStringList &texts);
  // The same with the texts laid end to end in chars, text i (column i - 1)
  // ending at ends[i].
  void SetRowTexts(int row, QStringView chars, std::vector<quint32> ends);

  // One attached value per cell (0 when none). The row heading's value is
  // kept with the row and moves with it.
  void QuickSetCellData(int col, int row, qint64 data);
  qint64 QuickGetCellData(int col, int row) const;

  // The cell's mark; 0 when none is set in any layer.
  void SetParam(int col, int row, int param);
  int GetParam(int col, int row) const;
  void SetCellType(int col, int row, CellType type);
  CellType QuickGetCellType(int col, int row) const;
  // The lines of a drop-down list, separated by line feeds. A cell without
  // its own label text takes its column's.
  void SetLabelText(int col, int row, const QString &text);
  QString GetLabelText(int col, int row) const;
  void SetReadOnly(int col, int row, bool readOnly);
  bool IsReadOnly(int col, int row) const;
  void QuickSetAlignment(int col, int row, CellAlignment alignment);
  CellAlignment GetAlignment(int col, int row) const;
  void QuickSetBackColor(int col, int row, ColorRef color);
  void QuickSetTextColor(int col, int row, ColorRef color);
  // The colour the cell is drawn with; kNoColor when no layer sets one (the
  // view's palette decides).
  ColorRef GetBackColor(int col, int row) const;
  ColorRef GetTextColor(int col, int row) const;
  // Every field of the cell's format, resolved through the layers.
  CellFormat GetFormat(int col, int row) const;
  // Drops the cell's own format, label and data.
  void ClearCellFormat(int col, int row);

  // The row layer: applies to the row's cells in columns 0 and up, not to
  // its heading.
  void SetRowFormat(int row, const CellFormat &format);
  CellFormat RowFormat(int row) const;
  void SetRowBackColor(int row, ColorRef color);
  void SetRowTextColor(int row, ColorRef color);
  // A free integer per row that moves with the row (the records grid keeps
  // the row kind in it); 0 for a new row.
  void SetRowTag(int row, int tag);
  int GetRowTag(int row) const;

  // The column layer: applies to the column's cells in rows 0 and up.
  void SetColFormat(int col, const CellFormat &format);
  CellFormat ColFormat(int col) const;
  void SetColLabelText(int col, const QString &text);

  // The last layer: of every cell, and of the headings (row -1, column -1).
  void SetGridDefault(const CellFormat &format);
  CellFormat GridDefault() const { return gridDefault_; }
  void SetHeadingDefault(const CellFormat &format);
  CellFormat GetHeadingDefault() const { return headingDefault_; }

  // ---- Navigation and selection ----

  // The current cell; false (and no move) for a cell outside the grid's
  // cells. Moving it clears the selection ranges, so that the new current
  // cell is what is selected.
  bool GotoCell(int col, int row);
  // The current column stays.
  bool GotoRow(int row);
  int GetCurrentCol() const { return currentCol_; }
  int GetCurrentRow() const { return currentRow_; }
  // Whether the current cell lies inside the grid.
  bool HasCurrentCell() const;

  // Multiple selection of ranges is on at first; without it only the
  // current cell is ever selected and SelectRange does nothing.
  void SetMultiSelectMode(bool on);
  bool GetMultiSelectMode() const { return multiSelect_; }
  // Adds a range (cut to the grid's cells) to the selection.
  void SelectRange(int col, int row, int lastCol, int lastRow);
  void SelectAll();
  void ClearSelections();
  // Replaces ranges and current cell at once (how a view reports what the
  // user selected); ranges are cut to the grid's cells.
  void SetSelection(const std::vector<CellRange> &ranges, int currentCol,
                    int currentRow);
  const std::vector<CellRange> &SelectedRanges() const { return ranges_; }
  // The selection as ranges: the ranges, or the current cell when there is
  // none (and it lies inside the grid).
  std::vector<CellRange> EffectiveSelection() const;
  bool IsSelected(int col, int row) const;

  // Every selected cell once, range by range, each range row by row. The
  // current cell alone counts when no range is selected. False when there
  // are no more cells.
  bool EnumFirstSelected(int *col, int *row) const;
  bool EnumNextSelected(int *col, int *row) const;
  // The same cells through a callback, without the enumeration's state.
  void ForEachSelected(const std::function<void(int col, int row)> &visit) const;
  long long SelectedCellCount() const;
  // Rows (columns) that hold a selected cell, ascending, each once.
  std::vector<int> SelectedRowList() const;
  std::vector<int> SelectedColList() const;

  // ---- Clipboard text ----

  // The selected cells as text: the rows of the selection's bounding
  // rectangle separated by "\r\n", the cells by tabs, cells outside the
  // selection empty. A text holding a tab, line break or quote stands in
  // double quotes with its quotes doubled, so that PasteText reads it back.
  QString CopySelectedText() const;
  // Puts a text in the layout above into the cells from the current cell
  // on, rightward and downward, stopping at the grid's edges. A cell is
  // written when it is not read-only and canWrite (when given) allows it.
  // Returns the rows written, ascending.
  std::vector<int> PasteText(
      const QString &text,
      const std::function<bool(int col, int row)> &canWrite = {});

protected:
  // Called after the selection or the current cell changed (once, at the
  // end, for changes inside BeginUpdate and EndUpdate).
  virtual void SelectionChangedHook() {}

private:
  struct Row;
  struct CellExtra;

  Row *RowAt(int row) const;
  Row *CellRow(int col, int row) const;
  CellExtra *FindExtra(int col, int row) const;
  CellExtra &Extra(int col, int row);
  bool IsCell(int col, int row) const;
  bool IsColumn(int col) const { return col >= -1 && col < GetNumberCols(); }
  std::unique_ptr<Row> NewRow() const;
  void CutRanges();
  void ShiftForInsert(int row);
  bool ShiftForRemove(int first, int count);
  void NotifyCells(const CellRange &range);
  void NotifyRows(int first, int last);
  void NotifyLayout();
  void NotifyCurrent();
  void NotifySelection();

  CellStoreObserver *observer_ = nullptr;
  int updateDepth_ = 0;
  bool selectionDirty_ = false;

  std::vector<CellFormat> colFormats_;
  std::vector<QString> colLabels_;
  std::vector<int> colWidths_;
  int sideHeadingWidth_ = 50;
  int topHeadingHeight_ = 25;
  int defRowHeight_ = 25;
  CellFormat gridDefault_;
  CellFormat headingDefault_;

  std::unique_ptr<Row> topHeading_;
  class RowList;
  std::unique_ptr<RowList> rows_;

  int currentCol_ = 0;
  int currentRow_ = 0;
  bool multiSelect_ = true;
  std::vector<CellRange> ranges_;
  mutable size_t enumRange_ = 0;
  mutable int enumCol_ = 0;
  mutable int enumRow_ = 0;
};
