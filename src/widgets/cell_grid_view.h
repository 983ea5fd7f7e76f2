// The window of a cell grid: a QTableView over a CellGridModel. The row
// heading is the grid's column -1 and the corner shows the text of cell
// (-1, -1). Heading, side-heading and corner clicks do nothing and rows are
// never sorted; column widths and the row height come from the grid and
// the user may resize columns. The grid's selection and current cell are
// the truth: the view shows them and reports what the user selects.
//
// Events go to the grid's notifications: clicks, keys (OnKeyDown first),
// the context menu (OnRClicked) and the editors, whose result reaches the
// grid after the editor has closed.
#pragma once

#include "widgets/cell_grid.h"
#include "widgets/cell_grid_delegate.h"

#include <QPointer>
#include <QTableView>
#include <QVariant>

class CellGridModel;

class CellGridView : public QTableView,
                     public CellEditorHost,
                     private CellEditorSink {
  Q_OBJECT

public:
  // Shows grid (not owned; it must outlive the view) and becomes its
  // editor host.
  explicit CellGridView(CellGrid &grid, QWidget *parent = nullptr);
  ~CellGridView() override;

  CellGrid &Grid() const { return grid_; }
  CellGridModel *GridModel() const { return model_; }

  // CellEditorHost
  bool StartEdit(int col, int row, QChar first) override;
  QWidget *ActiveEditor() const override { return editor_; }
  void EndEdit(bool commit) override;
  void EnsureVisible(int col, int row) override;
  void FitToWindow(int firstCol, int lastCol) override;
  int VisibleWidth() const override;

  // CellEditorSink: the delegate's editors.
  void SetPendingCommit(CommitKind kind, const QVariant &value) override;
  void SetActiveEditor(QWidget *editor) override { editor_ = editor; }

protected:
  bool edit(const QModelIndex &index, EditTrigger trigger,
            QEvent *event) override;
  void closeEditor(QWidget *editor,
                   QAbstractItemDelegate::EndEditHint hint) override;
  void keyPressEvent(QKeyEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  void contextMenuEvent(QContextMenuEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void ApplyLayout();
  void ShowStoreSelection();
  void ReportSelection();
  void PaintCorner(QWidget *corner);

  CellGrid &grid_;
  CellGridModel *model_;
  QPointer<QWidget> editor_;
  QPointer<QWidget> corner_;
  // The cell being edited and what its editor left when it closed.
  int editCol_ = -1;
  int editRow_ = -1;
  // The character a StartEdit types into the editor it opens.
  QChar startTyped_;
  bool hasPending_ = false;
  CommitKind pendingKind_ = CommitKind::Text;
  QVariant pendingValue_;
  // Set while the view itself changes the selection or the layout, so that
  // it does not report back what it just showed.
  bool syncing_ = false;
  // The scroll position kept across a reset.
  QPoint savedScroll_;
  bool restoreScroll_ = false;
};
