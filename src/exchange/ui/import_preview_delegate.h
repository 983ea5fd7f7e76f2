// The cell editors of the import dialog's table: a drop-down list of the
// column's options for an option column (its text may still be typed), a
// line editor for the rest.
#pragma once

#include <QStyledItemDelegate>

class ColumnList;
class ImportPreviewModel;

class ImportPreviewDelegate : public QStyledItemDelegate {
  Q_OBJECT

public:
  ImportPreviewDelegate(const ImportPreviewModel &model,
                        const ColumnList &columns, QObject *parent);

  QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                        const QModelIndex &index) const override;
  void setEditorData(QWidget *editor, const QModelIndex &index) const override;
  void setModelData(QWidget *editor, QAbstractItemModel *model,
                    const QModelIndex &index) const override;
  // A drop-down list is at least as wide as its longest option.
  void updateEditorGeometry(QWidget *editor,
                            const QStyleOptionViewItem &option,
                            const QModelIndex &index) const override;

private:
  const ImportPreviewModel &model_;
  const ColumnList &columns_;
};
