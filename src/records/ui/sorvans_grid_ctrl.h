// The records grid: the records of the active groups of an account file in
// one grid. For each group a header row, its records in key order and a
// new-record row at which the user types a new record. Column i of the
// file's column list is grid column i - 1; column 0 (normally the key) is
// the row heading.
//
// Every cell keeps the text as stored in the file and formats only what it
// shows, so that editing one cell writes the other cells back unchanged.
// The kind of a row (group header, record, new-record row) is a tag of the
// row and its group an ID kept in the row heading's data; the group itself
// is looked up in the file's tree when it is needed, and an action on a
// group that is gone is refused.
//
// Editing a cell saves the row at once as an undoable command; the grid is
// registered with its file and shows every change the file stores, whoever
// made it. The clipboard, delete and find commands are in
// sorvans_grid_commands.cpp.
#pragma once

#include "records/record_grid.h"
#include "records/row_item.h"
#include "records/selection_summary.h"
#include "records/ui/ug_grid_base.h"

#include <QList>
#include <QPoint>
#include <QString>

#include <functional>
#include <map>
#include <vector>

class AccountFile;
struct GroupNode;

class CSorvansGridCtrl : public CUGGridBase, public RecordGrid {
public:
  // The kind of a grid row, kept as the row's tag.
  enum RowKind { RK_NONE = 0, RK_RECORD = 1, RK_HEADER = 2, RK_NEW = 3 };

  // Colours (red in the low byte).
  static constexpr ColorRef kHeadingColor = 16767935; // 191, 219, 255
  static constexpr ColorRef kHeaderRowColor = 16728642; // 66, 66, 255
  static constexpr ColorRef kBandColor1 = 3782352;   // 208, 182, 57
  static constexpr ColorRef kBandColor2 = 12285263;  // 79, 117, 187
  static constexpr ColorRef kWhite = 16777215;
  static constexpr ColorRef kBlack = 0;
  // The mark of a group header row.
  static constexpr int kHeaderRowMark = 180;

  // One active group and the query of its records ("" for none).
  struct GroupQuery {
    int groupId = 0;
    QString query;
  };

  CSorvansGridCtrl();
  ~CSorvansGridCtrl() override;

  // The file whose records are shown; the grid registers with it. File is
  // null again once the file has gone (it detaches its grids).
  void SetAccountFile(AccountFile *file);
  AccountFile *File() const;

  // ---- Layout and loading ----

  // Columns, captions, widths, cell kinds and heading colours from the
  // file's column list.
  void SetUpColumns();
  // Ends any cell edit (saving it), then clears and fills the grid. False
  // when a query failed (the page tells the user once).
  bool LoadRows(const QList<GroupQuery> &groupQueries);
  const QList<GroupQuery> &GroupQueries() const { return groupQueries_; }
  // When the file's settings ask for it, fits the columns into the width.
  void FitColumns();

  RowKind KindOf(int row) const;
  bool IsNewRecordRow(int row) const { return KindOf(row) == RK_NEW; }
  bool IsHeaderRow(int row) const { return KindOf(row) == RK_HEADER; }
  bool IsRecordRow(int row) const { return KindOf(row) == RK_RECORD; }
  // The grid column of the key; -1 for the row heading.
  int KeyGridColumn() const { return keyGridColumn_; }

  // ---- RecordGrid ----

  QString CellText(int gridColumn, int gridRow) const override;
  int RowGroupId(int gridRow) const override;
  void ShowInsertedRow(int gridRow, const CRowItem &row) override;
  void RemoveShownRow(int gridRow, const CRowItem &row) override;
  void ShowUpdatedRow(int gridRow, const CRowItem &row) override;
  // The record row that shows row: gridRow when it does, else the nearest
  // record row of the same key and group; -1 when none does.
  int FindShownRow(int gridRow, const CRowItem &row) const;
  // An action of many rows reaches the view as one reset at its end.
  void BeginStoredChanges(int rowCount) override;
  void EndStoredChanges() override;

  // ---- Cell grid ----

  // Saves a change the user made: an update of a record row, or a new
  // record from the new-record row.
  void OnCellValueChanged(int col, int row, const QString &text) override;
  // No cell of a file opened read-only is edited.
  bool OnEditStart(int col, int row, QChar typed) override;
  QString DisplayText(int col, int row) const override;
  bool DrawsFocusRect(int col, int row) const override;
  void OnSelectionChanged() override;
  void OnRClicked(int col, int row, const QPoint &globalPos) override;

  // ---- Row sets and commands ----

  // Rows of the selected cells, ascending, each once.
  std::vector<int> SelectedRows() const;
  // Without new-record and header rows.
  std::vector<int> SelectedRecordRows() const;
  // Without header rows.
  std::vector<int> PasteTargetRows() const;

  // Asks "准备删除%d条记录！" and deletes the selected records as one
  // undoable action.
  void DeleteSelectedRows();
  // Asks "准备剪切%d条记录！", copies, then deletes as one action.
  void CutSelectedRows();
  // The selected records into the internal clipboard, the selected cells
  // as text onto the system clipboard.
  void CopySelectedRows();
  // Onto a new-record row alone: the copied records as new records of its
  // group. Elsewhere: the system clipboard's text into the editable cells
  // of the record rows, saving the rows changed.
  void PasteRows();
  // One step of a search through the selected columns (FindFlag bits);
  // whether a cell was found.
  bool FindNext(const QString &text, unsigned flags);
  const QList<CRowItem> &ClipboardRows() const { return clipboardRows_; }

  // ---- Selection summary ----

  const SelectionSummary &Summary() const { return summary_; }

  // Told after every change of the selection (the page updates its
  // commands and summary) and on a right click (the page shows its menu).
  std::function<void()> selectionChanged;
  std::function<void(const QPoint &)> contextMenuRequested;

private:
  // The field type of the column that grid column col shows.
  int ColumnTypeOf(int col) const;
  void ClearRows();
  int LoadGroupRows(int r, const GroupQuery &pair, bool *failed);
  void MakeHeaderRow(int row, int groupId);
  void AppendNewRecordRow(int row, int groupId);
  void MakeRecordRow(int row, int groupId, ColorRef band);
  void ShowRowValues(int row, const CRowItem &item);
  void BandRow(int row);
  ColorRef RowBand(int row) const;
  bool ShowsRecord(int gridRow, const CRowItem &row) const;
  int FindNewRecordRow(int groupId) const;
  void RowsInserted(int row);
  void RowsRemoved(int row);

  // The group of row when it still exists; null (after telling the user)
  // when it is gone.
  GroupNode *LiveGroup(int row) const;
  void SaveNewRecord(int col, int row, const QString &text);
  void SaveEditedRecord(int col, int row, const QString &text);
  // After a failed save: the row shows what the file holds again.
  void ShowStoredRow(int row, const CRowItem &item);
  void FillClipboardRows(const std::vector<int> &rows);
  // The records of the record rows among rows. asStored: the cells hold
  // the texts as stored (nothing was put into them since).
  QList<CRowItem> GatherRows(const std::vector<int> &rows, bool bottomUp,
                             bool asStored = true) const;
  void PasteRecordsAt(int row);
  void PasteText();
  bool CellMatches(int col, int row, const QString &text, bool wholeWord,
                   bool matchCase) const;

  AccountFile *accountFile_ = nullptr;
  QList<GroupQuery> groupQueries_;
  QList<CRowItem> clipboardRows_;
  SelectionSummary summary_;
  // The field type of every column of the list, by list position.
  std::vector<int> columnTypes_;
  int keyGridColumn_ = -1;
  // The load's band column (first date, else first automatic date) and the
  // band column of single rows (first date/time, date or automatic date),
  // as list positions; -1 for none.
  int loadBandColumn_ = -1;
  int rowBandColumn_ = -1;
  // Where the new-record row of each group was last seen; checked on use.
  mutable std::map<int, int> newRecordRows_;
  // Where the last record was found, so that changes made in order find
  // their rows nearby.
  mutable int lastFound_ = 0;
  // Nesting of BeginStoredChanges, and whether the outermost one holds the
  // view's updates back.
  int storedDepth_ = 0;
  bool batching_ = false;
};
