// The in-place editors of the cell grid: a line editor for text cells, a
// drop-down list for list cells (cell kind CT_DROPLIST or mark 109), a date
// line editor with a calendar for date cells, starting on the stored text.
// What an editor holds when it closes is handed to the view, which reports
// it to the grid once the editor is gone: a typed date as an edited text.
#pragma once

#include <QStyledItemDelegate>
#include <QVariant>

class CellGrid;

// Where the delegate reports its editors: the view it edits for.
class CellEditorSink {
public:
  // How an editor's result is reported to the grid.
  enum class CommitKind { Text, DropList };
  // An editor was opened.
  virtual void SetActiveEditor(QWidget *editor) = 0;
  // What the closing editor held, for the grid once the editor is gone.
  virtual void SetPendingCommit(CommitKind kind, const QVariant &value) = 0;

protected:
  ~CellEditorSink() = default;
};

class CellGridDelegate : public QStyledItemDelegate {
  Q_OBJECT

public:
  // Edits the cells of grid for sink (both must outlive the delegate).
  CellGridDelegate(const CellGrid &grid, CellEditorSink &sink, QObject *parent);

  QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                        const QModelIndex &index) const override;
  void setEditorData(QWidget *editor, const QModelIndex &index) const override;
  void setModelData(QWidget *editor, QAbstractItemModel *model,
                    const QModelIndex &index) const override;
  void paint(QPainter *painter, const QStyleOptionViewItem &option,
             const QModelIndex &index) const override;
  void updateEditorGeometry(QWidget *editor,
                            const QStyleOptionViewItem &option,
                            const QModelIndex &index) const override;

private:
  const CellGrid &grid_;
  CellEditorSink &sink_;
};
