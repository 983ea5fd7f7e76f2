// The grid's in-place editors; see cell_grid_delegate.h.
#include "widgets/cell_grid_delegate.h"

#include "base/date_text.h"
#include "widgets/cell_grid_model.h"
#include "widgets/cell_grid.h"
#include "widgets/date_line_edit.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

enum class EditorKind { Text, DropList, Date };

constexpr int kDropListMark = 109;

EditorKind KindOf(const CellGrid &grid, int col, int row) {
  const CellType type = grid.QuickGetCellType(col, row);
  if (type == CT_DROPLIST || grid.GetParam(col, row) == kDropListMark)
    return EditorKind::DropList;
  if (type == CT_DATETIME)
    return EditorKind::Date;
  return EditorKind::Text;
}

// The entries of a drop-down list: the label's lines without empty ones.
QStringList ListEntries(const QString &label) {
  return label.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

CellGridDelegate::CellGridDelegate(const CellGrid &grid, CellEditorSink &sink,
                                   QObject *parent)
    : QStyledItemDelegate(parent), grid_(grid), sink_(sink) {}

QWidget *CellGridDelegate::createEditor(QWidget *parent,
                                        const QStyleOptionViewItem &,
                                        const QModelIndex &index) const {
  const CellGrid &grid = grid_;
  const int col = index.column(), row = index.row();
  QWidget *editor = nullptr;
  switch (KindOf(grid, col, row)) {
  case EditorKind::DropList: {
    auto *combo = new QComboBox(parent);
    combo->addItems(ListEntries(grid.GetLabelText(col, row)));
    auto *self = const_cast<CellGridDelegate *>(this);
    // Picking an entry is the end of the edit.
    connect(combo, &QComboBox::activated, self, [self, combo] {
      emit self->commitData(combo);
      emit self->closeEditor(combo, QAbstractItemDelegate::SubmitModelCache);
    });
    editor = combo;
    break;
  }
  case EditorKind::Date: {
    auto *dateEdit = new DateLineEdit(parent);
    dateEdit->setFrame(false);
    auto *self = const_cast<CellGridDelegate *>(this);
    // Picking a day is the end of the edit.
    connect(dateEdit, &DateLineEdit::DayPicked, self, [self, dateEdit] {
      emit self->commitData(dateEdit);
      emit self->closeEditor(dateEdit, QAbstractItemDelegate::SubmitModelCache);
    });
    editor = dateEdit;
    break;
  }
  case EditorKind::Text: {
    auto *lineEdit = new QLineEdit(parent);
    lineEdit->setFrame(false);
    if (grid.EditorAutoSize()) {
      // The editor widens with its text, never below the cell.
      connect(lineEdit, &QLineEdit::textChanged, lineEdit,
              [lineEdit](const QString &text) {
                const int wanted =
                    lineEdit->fontMetrics().horizontalAdvance(text) + 12;
                if (wanted > lineEdit->width())
                  lineEdit->resize(wanted, lineEdit->height());
              });
    }
    editor = lineEdit;
    break;
  }
  }
  editor->setAccessibleName(
      index.model()->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString());
  sink_.SetActiveEditor(editor);
  return editor;
}

void CellGridDelegate::setEditorData(QWidget *editor,
                                     const QModelIndex &index) const {
  const CellGrid &grid = grid_;
  const int col = index.column(), row = index.row();
  if (auto *combo = qobject_cast<QComboBox *>(editor)) {
    combo->setCurrentIndex(combo->findText(grid.QuickGetText(col, row)));
    return;
  }
  if (auto *lineEdit = qobject_cast<QLineEdit *>(editor))
    lineEdit->setText(grid.QuickGetText(col, row));
}

void CellGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *,
                                    const QModelIndex &) const {
  if (auto *combo = qobject_cast<QComboBox *>(editor)) {
    if (combo->currentIndex() >= 0)
      sink_.SetPendingCommit(CellEditorSink::CommitKind::DropList,
                             combo->currentText());
    return;
  }
  // A date in any form it reads in is handed on in the form the grid
  // shows; a text that is no date as it was typed, for the grid to refuse.
  if (auto *dateEdit = qobject_cast<DateLineEdit *>(editor)) {
    const QString typed = dateEdit->text().trimmed();
    const QString date = TypedDateText(typed);
    sink_.SetPendingCommit(CellEditorSink::CommitKind::Text,
                           date.isEmpty() ? typed : date);
    return;
  }
  if (auto *lineEdit = qobject_cast<QLineEdit *>(editor))
    sink_.SetPendingCommit(CellEditorSink::CommitKind::Text, lineEdit->text());
}

void CellGridDelegate::paint(QPainter *painter,
                             const QStyleOptionViewItem &option,
                             const QModelIndex &index) const {
  QStyleOptionViewItem shown = option;
  if (!grid_.DrawsFocusRect(index.column(), index.row()))
    shown.state &= ~QStyle::State_HasFocus;
  QStyledItemDelegate::paint(painter, shown, index);
}

void CellGridDelegate::updateEditorGeometry(QWidget *editor,
                                            const QStyleOptionViewItem &option,
                                            const QModelIndex &) const {
  editor->setGeometry(option.rect);
}
