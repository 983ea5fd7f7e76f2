// The cell grid's window; see cell_grid_view.h.
#include "widgets/cell_grid_view.h"

#include "widgets/cell_grid_model.h"
#include "widgets/fixed_size_header.h"
#include "widgets/item_view_accessible.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

CellGridView::CellGridView(CellGrid &grid, QWidget *parent)
    : QTableView(parent), grid_(grid), model_(new CellGridModel(grid, this)) {
  UseLazyAccessibleTable(this);
  setHorizontalHeader(new FixedSizeHeader(Qt::Horizontal, this));
  setVerticalHeader(new FixedSizeHeader(Qt::Vertical, this));
  setModel(model_);
  setItemDelegate(new CellGridDelegate(grid_, *this, this));
  grid_.SetEditorHost(this);

  setSortingEnabled(false);
  setCornerButtonEnabled(false);
  setSelectionBehavior(SelectItems);
  setSelectionMode(grid_.GetMultiSelectMode() ? ExtendedSelection
                                              : SingleSelection);
  setEditTriggers(DoubleClicked | AnyKeyPressed | EditKeyPressed);
  setHorizontalScrollMode(ScrollPerPixel);
  setWordWrap(false);
  for (QHeaderView *header : {horizontalHeader(), verticalHeader()}) {
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
  }
  verticalHeader()->setMinimumSectionSize(8);
  verticalHeader()->setDefaultAlignment(Qt::AlignCenter);

  corner_ = findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly);
  if (corner_)
    corner_->installEventFilter(this);

  connect(model_, &CellGridModel::gridLayoutChanged, this,
          &CellGridView::ApplyLayout);
  connect(model_, &CellGridModel::currentCellChanged, this,
          &CellGridView::ShowStoreSelection);
  connect(model_, &CellGridModel::gridSelectionChanged, this,
          &CellGridView::ShowStoreSelection);
  // The side heading is painted again as a whole, which costs only the
  // rows in sight.
  connect(model_, &CellGridModel::rowHeadingsChanged, this,
          [this] { verticalHeader()->viewport()->update(); });
  connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
    // A reset drops any open editor without a result.
    editor_ = nullptr;
    editCol_ = editRow_ = -1;
    hasPending_ = false;
    // A batch of changes is one reset: the view stays where it was.
    savedScroll_ = {horizontalScrollBar()->value(),
                    verticalScrollBar()->value()};
  });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    restoreScroll_ = true;
  });
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &CellGridView::ReportSelection);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          &CellGridView::ReportSelection);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this,
          [this](int col, int, int width) {
            if (syncing_)
              return;
            syncing_ = true;
            grid_.SetColWidth(col, width);
            syncing_ = false;
          });
  ApplyLayout();
  ShowStoreSelection();
}

CellGridView::~CellGridView() {
  if (grid_.EditorHost() == this)
    grid_.SetEditorHost(nullptr);
}

// ---- Layout ----

void CellGridView::ApplyLayout() {
  if (syncing_)
    return;
  syncing_ = true;
  setSelectionMode(grid_.GetMultiSelectMode() ? ExtendedSelection
                                              : SingleSelection);
  // Each size is set only when it changed: Qt resizes every row again for
  // a default row height set, even to the same value.
  for (int col = 0; col < grid_.GetNumberCols(); ++col)
    if (columnWidth(col) != grid_.GetColWidth(col))
      setColumnWidth(col, grid_.GetColWidth(col));
  const int sideWidth = grid_.GetSH_Width();
  if (verticalHeader()->minimumWidth() != sideWidth ||
      verticalHeader()->maximumWidth() != sideWidth)
    verticalHeader()->setFixedWidth(sideWidth);
  const int topHeight = grid_.GetTH_Height();
  if (horizontalHeader()->minimumHeight() != topHeight ||
      horizontalHeader()->maximumHeight() != topHeight)
    horizontalHeader()->setFixedHeight(topHeight);
  if (verticalHeader()->defaultSectionSize() != grid_.GetDefRowHeight())
    verticalHeader()->setDefaultSectionSize(grid_.GetDefRowHeight());
  clearSpans();
  for (const CellRange &join : grid_.Joins())
    setSpan(join.firstRow, join.firstCol, 1, join.lastCol - join.firstCol + 1);
  if (corner_) {
    corner_->setAccessibleName(grid_.GetText(-1, -1));
    corner_->update();
  }
  syncing_ = false;
}

// ---- Selection ----

void CellGridView::ShowStoreSelection() {
  if (syncing_ || !selectionModel())
    return;
  syncing_ = true;
  QItemSelection selection;
  for (const CellRange &range : grid_.EffectiveSelection())
    selection.select(model_->index(range.firstRow, range.firstCol),
                     model_->index(range.lastRow, range.lastCol));
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  if (grid_.HasCurrentCell())
    selectionModel()->setCurrentIndex(
        model_->index(grid_.GetCurrentRow(), grid_.GetCurrentCol()),
        QItemSelectionModel::NoUpdate);
  if (restoreScroll_) {
    restoreScroll_ = false;
    updateGeometries();
    horizontalScrollBar()->setValue(savedScroll_.x());
    verticalScrollBar()->setValue(savedScroll_.y());
    // ... unless the current cell is out of sight from there.
    if (currentIndex().isValid())
      scrollTo(currentIndex());
  }
  syncing_ = false;
}

void CellGridView::ReportSelection() {
  if (syncing_)
    return;
  std::vector<CellRange> ranges;
  for (const QItemSelectionRange &range : selectionModel()->selection())
    ranges.push_back(
        {range.left(), range.top(), range.right(), range.bottom()});
  const QModelIndex current = currentIndex();
  syncing_ = true;
  grid_.SetSelection(ranges, current.isValid() ? current.column() : -1,
                     current.isValid() ? current.row() : -1);
  syncing_ = false;
}

void CellGridView::EnsureVisible(int col, int row) {
  scrollTo(model_->index(row, col));
}

void CellGridView::FitToWindow(int firstCol, int lastCol) {
  firstCol = std::max(firstCol, 0);
  lastCol = std::min(lastCol, grid_.GetNumberCols() - 1);
  const int available = VisibleWidth();
  if (available <= 0 || lastCol < firstCol)
    return;
  int others = 0, fitted = 0;
  for (int col = 0; col < grid_.GetNumberCols(); ++col)
    (col >= firstCol && col <= lastCol ? fitted : others) +=
        grid_.GetColWidth(col);
  const int room = std::max(available - others, lastCol - firstCol + 1);
  const int count = lastCol - firstCol + 1;
  int used = 0;
  for (int col = firstCol; col <= lastCol; ++col) {
    const int share = fitted > 0
                          ? int(qint64(grid_.GetColWidth(col)) * room / fitted)
                          : room / count;
    // The last column takes what rounding left over.
    grid_.SetColWidth(col, col == lastCol ? room - used : share);
    used += share;
  }
}

int CellGridView::VisibleWidth() const {
  return isVisible() ? viewport()->width() : 0;
}

// ---- Editing ----

bool CellGridView::edit(const QModelIndex &index, EditTrigger trigger,
                        QEvent *event) {
  const bool opens = index.isValid() && trigger != NoEditTriggers &&
                     (trigger == AllEditTriggers || (trigger & editTriggers()));
  if (!opens || !(model_->flags(index) & Qt::ItemIsEditable) ||
      (index == currentIndex() && editor_))
    return QTableView::edit(index, trigger, event);
  QChar typed = startTyped_;
  if (trigger == AnyKeyPressed && event && event->type() == QEvent::KeyPress) {
    const QString text = static_cast<QKeyEvent *>(event)->text();
    if (text.isEmpty() || !text.at(0).isPrint())
      return false;
    typed = text.at(0);
  }
  if (!grid_.OnEditStart(index.column(), index.row(), typed))
    return false;
  editCol_ = index.column();
  editRow_ = index.row();
  hasPending_ = false;
  if (QTableView::edit(index, trigger, event))
    return true;
  editCol_ = editRow_ = -1;
  return false;
}

bool CellGridView::StartEdit(int col, int row, QChar first) {
  const QModelIndex index = model_->index(row, col);
  if (!index.isValid())
    return false;
  if (editor_)
    EndEdit(true);
  setCurrentIndex(index);
  startTyped_ = first;
  const bool started = edit(index, AllEditTriggers, nullptr);
  startTyped_ = QChar();
  if (!started)
    return false;
  if (auto *lineEdit = qobject_cast<QLineEdit *>(editor_.data());
      lineEdit && !first.isNull())
    lineEdit->setText(QString(first));
  if (editor_)
    editor_->setFocus();
  return true;
}

void CellGridView::EndEdit(bool commit) {
  QWidget *editor = editor_;
  if (!editor)
    return;
  if (commit)
    commitData(editor);
  closeEditor(editor, commit ? QAbstractItemDelegate::SubmitModelCache
                             : QAbstractItemDelegate::RevertModelCache);
}

void CellGridView::SetPendingCommit(CommitKind kind, const QVariant &value) {
  hasPending_ = true;
  pendingKind_ = kind;
  pendingValue_ = value;
}

void CellGridView::closeEditor(QWidget *editor,
                               QAbstractItemDelegate::EndEditHint hint) {
  // Finishing an edit never moves on to edit another cell.
  if (hint == QAbstractItemDelegate::EditNextItem ||
      hint == QAbstractItemDelegate::EditPreviousItem)
    hint = QAbstractItemDelegate::NoHint;
  const int col = editCol_, row = editRow_;
  const bool committed = hasPending_;
  const CommitKind kind = pendingKind_;
  const QVariant value = pendingValue_;
  editCol_ = editRow_ = -1;
  hasPending_ = false;
  if (editor == editor_)
    editor_ = nullptr;
  QTableView::closeEditor(editor, hint);
  if (col < 0 || row < 0)
    return;
  setFocus();
  // The editor is gone: the grid may now change the cell, insert rows or
  // reload.
  if (!committed) {
    grid_.OnEditFinish(col, row, QString(), true);
    return;
  }
  switch (kind) {
  case CommitKind::Text:
    grid_.OnEditFinish(col, row, value.toString(), false);
    break;
  case CommitKind::DropList:
    grid_.OnDropListSelect(col, row, value.toString());
    break;
  }
}

// ---- Events ----

void CellGridView::keyPressEvent(QKeyEvent *event) {
  if (!editor_ && grid_.OnKeyDown(event->key(), event->modifiers())) {
    event->accept();
    return;
  }
  // Copying takes every selected cell, not only the current one.
  if (event->matches(QKeySequence::Copy)) {
    grid_.CopySelected();
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

void CellGridView::mousePressEvent(QMouseEvent *event) {
  QTableView::mousePressEvent(event);
  const QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid() && event->button() == Qt::LeftButton)
    grid_.OnLClicked(index.column(), index.row());
}

void CellGridView::mouseDoubleClickEvent(QMouseEvent *event) {
  QTableView::mouseDoubleClickEvent(event);
  const QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid() && event->button() == Qt::LeftButton)
    grid_.OnDClicked(index.column(), index.row());
}

void CellGridView::contextMenuEvent(QContextMenuEvent *event) {
  const QModelIndex index = indexAt(event->pos());
  if (!index.isValid())
    return;
  // A right click outside the selection first makes the clicked cell the
  // selection.
  if (!grid_.IsSelected(index.column(), index.row()))
    grid_.GotoCell(index.column(), index.row());
  grid_.OnRClicked(index.column(), index.row(), event->globalPos());
  event->accept();
}

bool CellGridView::eventFilter(QObject *watched, QEvent *event) {
  if (watched == corner_ && event->type() == QEvent::Paint) {
    PaintCorner(corner_);
    return true;
  }
  return QTableView::eventFilter(watched, event);
}

// The corner cell as a heading cell holding the text of (-1, -1).
void CellGridView::PaintCorner(QWidget *corner) {
  QPainter painter(corner);
  const QRect rect = corner->rect();
  const ColorRef back = grid_.GetBackColor(-1, -1);
  painter.fillRect(rect, back == kNoColor ? palette().button().color()
                                          : ToQColor(back));
  painter.setPen(palette().mid().color());
  painter.drawLine(rect.topRight(), rect.bottomRight());
  painter.drawLine(rect.bottomLeft(), rect.bottomRight());
  const ColorRef text = grid_.GetTextColor(-1, -1);
  painter.setPen(text == kNoColor ? palette().buttonText().color()
                                  : ToQColor(text));
  painter.setFont(horizontalHeader()->font());
  painter.drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignCenter,
                   grid_.GetText(-1, -1));
}
