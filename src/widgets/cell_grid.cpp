// The grid control's default notifications, editing and clipboard.
#include "widgets/cell_grid.h"

#include "base/date_text.h"

#include <QClipboard>
#include <QGuiApplication>

CellGrid::~CellGrid() = default;

bool CellGrid::OnEditStart(int, int, QChar) { return true; }

void CellGrid::OnEditFinish(int col, int row, const QString &text,
                            bool cancelled) {
  if (cancelled || TextView(col, row) == text)
    return;
  OnCellValueChanged(col, row, text);
}

void CellGrid::OnCellValueChanged(int col, int row, const QString &text) {
  QuickSetText(col, row, text);
}

void CellGrid::OnDropListSelect(int col, int row, const QString &text) {
  if (TextView(col, row) == text)
    return;
  OnCellValueChanged(col, row, text);
}

void CellGrid::OnDatePicked(int col, int row, const QDate &date) {
  if (!date.isValid() || CellDate(col, row) == date)
    return;
  OnCellValueChanged(col, row, DayText(date));
}

void CellGrid::OnCheckChanged(int col, int row, bool checked) {
  const QString text = checked ? QStringLiteral("1") : QStringLiteral("0");
  if (TextView(col, row) == text)
    return;
  OnCellValueChanged(col, row, text);
}

QDate CellGrid::CellDate(int col, int row) const {
  DateTextParts parts;
  return ReadDateText(QuickGetText(col, row), parts) ? parts.date : QDate();
}

QString CellGrid::DisplayText(int col, int row) const {
  switch (QuickGetCellType(col, row)) {
  case CT_DATETIME: {
    const QString text = QuickGetText(col, row);
    DateTextParts parts;
    return ReadDateText(text, parts) ? DayText(parts.date) : text;
  }
  case CT_CHECKBOX:
    return {};
  default:
    return QuickGetText(col, row);
  }
}

bool CellGrid::StartEdit(int col, int row, QChar first) {
  if (!editorHost_ || IsReadOnly(col, row) || col < 0 || row < 0)
    return false;
  return editorHost_->StartEdit(col, row, first);
}

bool CellGrid::StartEdit(QChar first) {
  return StartEdit(GetCurrentCol(), GetCurrentRow(), first);
}

QWidget *CellGrid::ActiveEditor() const {
  return editorHost_ ? editorHost_->ActiveEditor() : nullptr;
}

void CellGrid::EndEdit() {
  if (IsEditing())
    editorHost_->EndEdit(true);
}

void CellGrid::CancelEdit() {
  if (IsEditing())
    editorHost_->EndEdit(false);
}

void CellGrid::CopySelected() const {
  if (QClipboard *clipboard = QGuiApplication::clipboard())
    clipboard->setText(CopySelectedText());
}

std::vector<int> CellGrid::Paste(
    const std::function<bool(int, int)> &canWrite) {
  QClipboard *clipboard = QGuiApplication::clipboard();
  if (!clipboard)
    return {};
  return PasteText(clipboard->text(), canWrite);
}

bool CellGrid::GotoCellShown(int col, int row) {
  if (!GotoCell(col, row))
    return false;
  if (editorHost_)
    editorHost_->EnsureVisible(col, row);
  return true;
}

void CellGrid::FitToWindow(int firstCol, int lastCol) {
  if (editorHost_)
    editorHost_->FitToWindow(firstCol, lastCol);
}

int CellGrid::VisibleWidth() const {
  return editorHost_ ? editorHost_->VisibleWidth() : 0;
}

void CellGrid::RedrawCell(int col, int row) {
  if (Observer() && !InUpdate())
    Observer()->CellsChanged({col, row, col, row});
}

void CellGrid::RedrawRow(int row) {
  if (Observer() && !InUpdate())
    Observer()->CellsChanged({-1, row, GetNumberCols() - 1, row});
}

void CellGrid::RedrawAll() {
  if (Observer() && !InUpdate())
    Observer()->CellsChanged(
        {-1, -1, GetNumberCols() - 1, GetNumberRows() - 1});
}
