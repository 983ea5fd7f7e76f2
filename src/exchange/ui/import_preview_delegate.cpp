// The import table's cell editors; see import_preview_delegate.h.
#include "exchange/ui/import_preview_delegate.h"

#include "exchange/ui/import_preview_model.h"
#include "model/column_list.h"
#include "model/field_type.h"

#include <QComboBox>

ImportPreviewDelegate::ImportPreviewDelegate(const ImportPreviewModel &model,
                                             const ColumnList &columns,
                                             QObject *parent)
    : QStyledItemDelegate(parent), model_(model), columns_(columns) {}

QWidget *ImportPreviewDelegate::createEditor(QWidget *parent,
                                             const QStyleOptionViewItem &option,
                                             const QModelIndex &index) const {
  const int position = model_.PositionAt(index.column());
  if (position < 0 || columns_.Type(position) != FT_OPTION)
    return QStyledItemDelegate::createEditor(parent, option, index);
  auto *combo = new QComboBox(parent);
  combo->setEditable(true);
  combo->addItems(columns_.At(position).Choices());
  combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  combo->setAccessibleName(columns_.Title(position));
  return combo;
}

void ImportPreviewDelegate::setEditorData(QWidget *editor,
                                          const QModelIndex &index) const {
  auto *combo = qobject_cast<QComboBox *>(editor);
  if (!combo) {
    QStyledItemDelegate::setEditorData(editor, index);
    return;
  }
  const QString text = index.data(Qt::EditRole).toString();
  const int choice = combo->findText(text);
  if (choice >= 0)
    combo->setCurrentIndex(choice);
  else
    combo->setCurrentText(text);
}

void ImportPreviewDelegate::setModelData(QWidget *editor,
                                         QAbstractItemModel *model,
                                         const QModelIndex &index) const {
  auto *combo = qobject_cast<QComboBox *>(editor);
  if (!combo) {
    QStyledItemDelegate::setModelData(editor, model, index);
    return;
  }
  model->setData(index, combo->currentText(), Qt::EditRole);
}

void ImportPreviewDelegate::updateEditorGeometry(
    QWidget *editor, const QStyleOptionViewItem &option,
    const QModelIndex &index) const {
  if (!qobject_cast<QComboBox *>(editor)) {
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    return;
  }
  QRect rect = option.rect;
  rect.setWidth(qMax(rect.width(), editor->sizeHint().width()));
  editor->setGeometry(rect);
}
