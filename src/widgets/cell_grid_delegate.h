// The in-place editors of the cell grid: a line editor for text cells, a
// drop-down list for list cells (cell kind CT_DROPLIST or mark 109), a date
// line editor with a calendar for date cells, starting on the stored text.
// What an editor holds when it closes is handed to the view, which reports
// it to the grid once the editor is gone: a typed date as an edited text.
#pragma once

#include <QStyledItemDelegate>

class CellGridView;

class CellGridDelegate : public QStyledItemDelegate {
  Q_OBJECT

public:
  explicit CellGridDelegate(CellGridView &view);

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
  CellGridView &view_;
};
