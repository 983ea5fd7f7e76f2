// The grid control: a CellStore with the notifications a grid sends while
// the user works in it, as virtual functions that a concrete grid (the
// records grid, the options grid) overrides. A CellGridView shows the grid
// and calls them; tests call them directly, without a window.
//
// Editing: the view asks OnEditStart before it opens an editor on a cell
// that is not read-only; when the editor closes it reports OnEditFinish,
// which (unless cancelled or unchanged) calls OnCellValueChanged, the one
// hook through which every change the user makes to a cell arrives. A date
// cell's editor reports a typed or picked date as an edited text. The
// drop-down list and check box cells report through their own hooks, which
// end in OnCellValueChanged too.
#pragma once

#include "widgets/cell_store.h"

#include <QDate>
#include <QPoint>

class QWidget;

// What the grid asks of the view that shows it; the view implements it.
class CellEditorHost {
public:
  virtual ~CellEditorHost() = default;
  // Opens the editor on (col, row), typing first into it when given.
  virtual bool StartEdit(int col, int row, QChar first) = 0;
  // The open editor, or null.
  virtual QWidget *ActiveEditor() const = 0;
  // Closes the open editor, keeping (commit) or dropping its text.
  virtual void EndEdit(bool commit) = 0;
  // Scrolls so that the cell is seen.
  virtual void EnsureVisible(int col, int row) = 0;
  // Sets the widths of columns firstCol to lastCol so that together they
  // fill the visible width, in the ratio of their widths so far.
  virtual void FitToWindow(int /*firstCol*/, int /*lastCol*/) {}
  // The width of the cell area in pixels; 0 while nothing is shown.
  virtual int VisibleWidth() const { return 0; }
};

class CellGrid : public CellStore {
public:
  CellGrid() = default;
  ~CellGrid() override;

  void SetEditorHost(CellEditorHost *host) { editorHost_ = host; }
  CellEditorHost *EditorHost() const { return editorHost_; }

  // ---- Notifications ----

  // Before an editor opens on a cell that is not read-only: true lets it
  // open. typed is the character that started the edit, or null for a
  // double click or F2.
  virtual bool OnEditStart(int col, int row, QChar typed);
  // The editor closed. Unless cancelled, a text that differs from the
  // cell's goes to OnCellValueChanged.
  virtual void OnEditFinish(int col, int row, const QString &text,
                            bool cancelled);
  // A change the user made to a cell; puts the text into it.
  virtual void OnCellValueChanged(int col, int row, const QString &text);
  // An entry picked in a drop-down list cell; a text that differs from the
  // cell's goes to OnCellValueChanged.
  virtual void OnDropListSelect(int col, int row, const QString &text);
  // A date picked in a date cell: when it is not the date the cell shows,
  // the date as "yyyy/M/d" goes to OnCellValueChanged.
  virtual void OnDatePicked(int col, int row, const QDate &date);
  // A check box cell ticked or unticked: "1" or "0" goes to
  // OnCellValueChanged.
  virtual void OnCheckChanged(int col, int row, bool checked);
  // The selection or the current cell changed.
  virtual void OnSelectionChanged() {}
  // Clicks on a cell (row or column -1 for the headings, both for the
  // corner); they change nothing by themselves. globalPos is in screen
  // coordinates.
  virtual void OnLClicked(int /*col*/, int /*row*/) {}
  virtual void OnDClicked(int /*col*/, int /*row*/) {}
  virtual void OnRClicked(int /*col*/, int /*row*/, const QPoint & /*pos*/) {}
  // A key pressed while the grid (not an editor) has the focus: true when
  // handled, so that the view does nothing more with it.
  virtual bool OnKeyDown(int /*key*/, Qt::KeyboardModifiers /*modifiers*/) {
    return false;
  }

  // The text a cell shows: its stored text, except that a date cell shows
  // the date part of a readable date and a check box cell nothing.
  virtual QString DisplayText(int col, int row) const;
  // The date a date cell holds; invalid when its text is not a date.
  QDate CellDate(int col, int row) const;

  // ---- Editing ----

  // Opens the editor on (col, row) (see OnEditStart); false when there is
  // no view, the cell is read-only or the edit was refused.
  bool StartEdit(int col, int row, QChar first = QChar());
  // StartEdit on the current cell.
  bool StartEdit(QChar first = QChar());
  bool IsEditing() const { return ActiveEditor() != nullptr; }
  QWidget *ActiveEditor() const;
  // Ends the edit in progress, keeping its text; nothing when none is.
  void EndEdit();
  void CancelEdit();

  // ---- Clipboard ----

  // The selected cells onto the system clipboard (CopySelectedText).
  void CopySelected() const;
  // The system clipboard's text into the cells from the current cell on
  // (PasteText); the rows written.
  std::vector<int> Paste(const std::function<bool(int col, int row)> &canWrite = {});

  // Whether the line editor widens itself to fit its text.
  void SetEditorAutoSize(bool on) { editorAutoSize_ = on; }
  bool EditorAutoSize() const { return editorAutoSize_; }

  // Whether the current cell at (col, row) is drawn with a focus
  // rectangle; true unless overridden.
  virtual bool DrawsFocusRect(int /*col*/, int /*row*/) const { return true; }

  // ---- Navigation and window ----

  // GotoCell that also scrolls the cell into sight.
  bool GotoCellShown(int col, int row);
  // See CellEditorHost::FitToWindow; nothing without a view.
  void FitToWindow(int firstCol, int lastCol);
  int VisibleWidth() const;
  // Redraws cells whose looks depend on more than the store (a changed
  // DisplayText or DrawsFocusRect).
  void RedrawCell(int col, int row);
  void RedrawRow(int row);
  void RedrawAll();

protected:
  void SelectionChangedHook() override { OnSelectionChanged(); }

private:
  CellEditorHost *editorHost_ = nullptr;
  bool editorAutoSize_ = false;
};
