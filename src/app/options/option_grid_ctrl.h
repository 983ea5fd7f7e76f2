// The grid of the options sheet's "配置" page: one row per column
// definition of TableStyle (disabled ones too, with their stored widths)
// and a last row "*" for a new one, with every rule of editing them. It is
// a cell grid, so the rules run and are tested without a window; a
// CellGridView shows it on the page.
//
// The edits are kept in a PendingColumnChanges and written only when the
// page is applied, all in one unit of work.
#pragma once

#include "model/pending_column_changes.h"
#include "widgets/cell_grid.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class CDBVisiter;

class COptionGridCtrl : public CellGrid {
public:
  // Grid columns: the fields of TableStyle without 选项.
  enum Col {
    kId = 0, kOrder, kField, kTitle, kEnabled, kType, kReadOnly, kWidth,
    kDefault, kColumnCount
  };

  COptionGridCtrl() = default;

  // Loads the definitions (PendingColumnChanges::Load) into the grid and
  // appends the "*" row. False when the query fails.
  bool Load(CDBVisiter &session);
  // Where the grid asks whether a column that holds values may change its
  // type in a way that loses them: the number of Users rows with a value
  // in the field. Null: never asks.
  void SetValueCounter(std::function<int(const QString &field)> counter) {
    valueCounter_ = std::move(counter);
  }

  bool Modified() const { return modified_; }
  const PendingColumnChanges &Pending() const { return pending_; }

  // The help text of a grid column; the general text for other columns.
  static QString HelpText(int col);
  static QString GeneralHelp();

  // The definition shown in a row; false for the "*" row and rows outside.
  bool RowDefinition(int row, ColumnDef &def) const;
  int MarkerRow() const { return GetNumberRows() - 1; }

  // ---- Option values of an option column ----
  // Selects the row whose options the option controls show: the ID of its
  // definition when its type is "可选型", else none (-1).
  void SelectOptionRow(int row);
  int OptionColumnId() const { return optionId_; }
  QStringList OptionValues() const;
  // "添加": false (nothing done) for an empty text or one listed already.
  bool AddOption(const QString &text);
  // "删除": the entry at index.
  bool DeleteOption(int index);

  // Deletes the rows (the context menu's "删除"): refused with a message
  // when one is the key column, asked "准备删除%d列数据！" otherwise.
  bool DeleteRows(QList<int> rows);

  // Writes the pending changes (PendingColumnChanges::Apply); false, with
  // the page to stay open, when they were refused or failed.
  bool Apply(CDBVisiter &session) { return pending_.Apply(session); }

  // CellGrid
  void OnCellValueChanged(int col, int row, const QString &text) override;
  void OnCheckChanged(int col, int row, bool checked) override;

  void OnLClicked(int col, int row) override;
  void OnRClicked(int col, int row, const QPoint &globalPos) override;
  void OnSelectionChanged() override;

  // Called when the option controls must follow (a row was selected, its
  // options changed, rows were deleted).
  std::function<void()> optionsChanged;
  // A click on a cell of grid column col: the page shows its help.
  std::function<void(int col)> cellClicked;
  // A right click: the page offers its pop-up menu there.
  std::function<void(const QPoint &globalPos)> menuAsked;
  // The rows of the selection (the current row when nothing is selected).
  QList<int> SelectedRows() const;

private:
  void AddRow(const ColumnDef &def);
  void AppendMarkerRow();
  void FormatRow(int row);
  bool CheckEdit(int col, int row, const QString &text);
  bool LosesValues(int row, int newType);
  void RecordRow(int row);
  int LargestOrder() const;
  // The width a new column gets: the one typed, else its caption's.
  int ReadableWidth(int row) const;
  int TypeRow(const QString &typeName) const;
  // Stores values as the options of the selected option column.
  bool SetOptions(const QStringList &values);
  void TellOptions();

  PendingColumnChanges pending_;
  int optionId_ = -1;
  bool modified_ = false;
  std::function<int(const QString &)> valueCounter_;
};
