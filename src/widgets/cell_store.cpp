// The grid's cells without a window; see cell_store.h.
#include "widgets/cell_store.h"

#include "widgets/chunked_list.h"
#include "widgets/clipboard_text.h"
#include "widgets/compact_texts.h"

#include <algorithm>
#include <limits>

void CellFormat::Overlay(const CellFormat &above) {
  if (above.backColor != kNoColor)
    backColor = above.backColor;
  if (above.textColor != kNoColor)
    textColor = above.textColor;
  if (above.param != kUnsetParam)
    param = above.param;
  if (above.cellType != kUnset)
    cellType = above.cellType;
  if (above.readOnly != kUnset)
    readOnly = above.readOnly;
  if (above.alignment != 0)
    alignment = above.alignment;
}

// What only some cells of a row have: their own format, label or data.
struct CellStore::CellExtra {
  int col = 0;
  CellFormat format;
  QString label; // null when the cell has none of its own
  qint64 data = 0;
};

struct CellStore::Row {
  // Slot 0 is the row heading (column -1), slot c + 1 column c.
  CompactTexts texts;
  CellFormat format;
  qint64 headingData = 0;
  int tag = 0;
  // Rarely present: cells with formats of their own, and joins (first and
  // last column) of the row.
  struct Rare {
    std::vector<CellExtra> cells;
    std::vector<std::pair<int, int>> joins;
  };
  std::unique_ptr<Rare> rare;

  Rare &MakeRare() {
    if (!rare)
      rare = std::make_unique<Rare>();
    return *rare;
  }
};

class CellStore::RowList : public ChunkedList<std::unique_ptr<Row>> {};

CellStore::CellStore()
    : topHeading_(std::make_unique<Row>()), rows_(std::make_unique<RowList>()) {
}

CellStore::~CellStore() = default;

// ---- Notification ----

void CellStore::NotifyCells(const CellRange &range) {
  if (observer_ && !InUpdate())
    observer_->CellsChanged(range);
}

void CellStore::NotifyRows(int first, int last) {
  NotifyCells({-1, first, GetNumberCols() - 1, last});
}

void CellStore::NotifyLayout() {
  if (observer_ && !InUpdate())
    observer_->LayoutChanged();
}

void CellStore::NotifyCurrent() {
  if (observer_ && !InUpdate())
    observer_->CurrentCellChanged();
}

void CellStore::NotifySelection() {
  if (InUpdate()) {
    selectionDirty_ = true;
    return;
  }
  if (observer_)
    observer_->SelectionChanged();
  SelectionChangedHook();
}

void CellStore::BeginUpdate() {
  if (updateDepth_++ == 0 && observer_)
    observer_->BeginReset();
}

void CellStore::EndUpdate() {
  if (updateDepth_ == 0 || --updateDepth_ > 0)
    return;
  if (observer_)
    observer_->EndReset();
  if (selectionDirty_) {
    selectionDirty_ = false;
    SelectionChangedHook();
  }
}

// ---- Structure ----

std::unique_ptr<CellStore::Row> CellStore::NewRow() const {
  return std::make_unique<Row>();
}

CellStore::Row *CellStore::RowAt(int row) const {
  if (row == -1)
    return topHeading_.get();
  if (row < 0 || row >= GetNumberRows())
    return nullptr;
  return (*rows_)[size_t(row)].get();
}

CellStore::Row *CellStore::CellRow(int col, int row) const {
  return IsColumn(col) ? RowAt(row) : nullptr;
}

bool CellStore::IsCell(int col, int row) const {
  return col >= 0 && col < GetNumberCols() && row >= 0 &&
         row < GetNumberRows();
}

int CellStore::GetNumberRows() const { return int(rows_->size()); }

void CellStore::SetNumberCols(int count) {
  count = std::max(count, 0);
  if (count == GetNumberCols())
    return;
  const bool notify = observer_ && !InUpdate();
  if (notify)
    observer_->BeginReset();
  colFormats_.resize(size_t(count));
  colLabels_.resize(size_t(count));
  colWidths_.resize(size_t(count), 100);
  auto trim = [count](Row &row) {
    if (row.texts.Count() > count + 1)
      row.texts.Resize(count + 1);
    if (!row.rare)
      return;
    auto &cells = row.rare->cells;
    cells.erase(std::remove_if(cells.begin(), cells.end(),
                               [count](const CellExtra &extra) {
                                 return extra.col >= count;
                               }),
                cells.end());
    auto &joins = row.rare->joins;
    joins.erase(std::remove_if(joins.begin(), joins.end(),
                               [count](const std::pair<int, int> &join) {
                                 return join.second >= count;
                               }),
                joins.end());
  };
  trim(*topHeading_);
  rows_->for_each([&](std::unique_ptr<Row> &row) { trim(*row); });
  ranges_.clear();
  currentCol_ = std::clamp(currentCol_, 0, std::max(count - 1, 0));
  if (notify)
    observer_->EndReset();
}

void CellStore::SetNumberRows(int count) {
  count = std::max(count, 0);
  const int old = GetNumberRows();
  if (count > old) {
    const bool notify = observer_ && !InUpdate();
    if (notify)
      observer_->BeginInsertRows(old, count - 1);
    for (int r = old; r < count; ++r)
      rows_->push_back(NewRow());
    if (notify)
      observer_->EndInsertRows();
    return;
  }
  if (count < old)
    DeleteRows(count, old - count);
}

void CellStore::AppendRow() { InsertRow(GetNumberRows()); }

bool CellStore::InsertRow(int row) {
  if (row < 0 || row > GetNumberRows())
    return false;
  const bool notify = observer_ && !InUpdate();
  if (notify)
    observer_->BeginInsertRows(row, row);
  rows_->insert(size_t(row), NewRow());
  ShiftForInsert(row);
  if (notify)
    observer_->EndInsertRows();
  return true;
}

bool CellStore::DeleteRow(int row) { return DeleteRows(row, 1); }

bool CellStore::DeleteRows(int first, int count) {
  if (first < 0 || count <= 0 || first + count > GetNumberRows())
    return false;
  const bool notify = observer_ && !InUpdate();
  if (notify)
    observer_->BeginRemoveRows(first, first + count - 1);
  rows_->erase(size_t(first), size_t(count));
  const bool selectionMoved = ShiftForRemove(first, count);
  if (notify)
    observer_->EndRemoveRows();
  if (selectionMoved)
    NotifySelection();
  return true;
}

// Selection ranges and the current cell follow the rows they stand on.
void CellStore::ShiftForInsert(int row) {
  for (CellRange &range : ranges_) {
    if (range.firstRow >= row) {
      ++range.firstRow;
      ++range.lastRow;
    } else if (range.lastRow >= row) {
      ++range.lastRow;
    }
  }
  if (currentRow_ >= row && GetNumberRows() > 1)
    ++currentRow_;
}

bool CellStore::ShiftForRemove(int first, int count) {
  const int oldCurrent = currentRow_;
  bool touched = false;
  const int last = first + count - 1;
  auto shifted = [&](int r) {
    if (r > last)
      return r - count;
    return r >= first ? first : r;
  };
  std::vector<CellRange> kept;
  for (CellRange range : ranges_) {
    touched = touched || (range.firstRow <= last && range.lastRow >= first);
    if (range.firstRow >= first && range.lastRow <= last)
      continue;
    const bool endInside = range.lastRow >= first && range.lastRow <= last;
    range.firstRow = shifted(range.firstRow);
    range.lastRow = endInside ? first - 1 : shifted(range.lastRow);
    if (!range.IsEmpty())
      kept.push_back(range);
  }
  ranges_ = std::move(kept);
  currentRow_ =
      std::clamp(shifted(currentRow_), 0, std::max(GetNumberRows() - 1, 0));
  // Rows below the removed ones moving up is no change of what is selected.
  return touched || (oldCurrent >= first && oldCurrent <= last);
}

void CellStore::SetColWidth(int col, int width) {
  if (!IsColumn(col))
    return;
  width = std::max(width, 0);
  if (col == -1)
    sideHeadingWidth_ = width;
  else
    colWidths_[size_t(col)] = width;
  NotifyLayout();
}

int CellStore::GetColWidth(int col) const {
  if (col == -1)
    return sideHeadingWidth_;
  return IsColumn(col) ? colWidths_[size_t(col)] : 0;
}

void CellStore::SetTH_Height(int height) {
  topHeadingHeight_ = std::max(height, 0);
  NotifyLayout();
}

void CellStore::SetDefRowHeight(int height) {
  defRowHeight_ = std::max(height, 1);
  NotifyLayout();
}

// ---- Joined cells ----

bool CellStore::JoinCells(int col, int row, int lastCol, int lastRow) {
  if (lastRow != row || lastCol < col || !IsCell(col, row) ||
      !IsCell(lastCol, row))
    return false;
  Row &r = *RowAt(row);
  if (r.rare) {
    for (const auto &join : r.rare->joins)
      if (join.first <= lastCol && col <= join.second)
        return false;
  }
  r.MakeRare().joins.emplace_back(col, lastCol);
  NotifyLayout();
  return true;
}

bool CellStore::UnJoinCells(int col, int row) {
  Row *r = RowAt(row);
  if (!r || row < 0 || !r->rare)
    return false;
  auto &joins = r->rare->joins;
  for (auto it = joins.begin(); it != joins.end(); ++it) {
    if (col >= it->first && col <= it->second) {
      joins.erase(it);
      NotifyLayout();
      return true;
    }
  }
  return false;
}

bool CellStore::GetJoinRange(int col, int row, CellRange *range) const {
  const Row *r = row >= 0 ? RowAt(row) : nullptr;
  if (!r || !r->rare)
    return false;
  for (const auto &join : r->rare->joins) {
    if (col >= join.first && col <= join.second) {
      if (range)
        *range = {join.first, row, join.second, row};
      return true;
    }
  }
  return false;
}

std::vector<CellRange> CellStore::Joins() const {
  std::vector<CellRange> joins;
  for (int row = 0; row < GetNumberRows(); ++row) {
    const Row &r = *(*rows_)[size_t(row)];
    if (!r.rare)
      continue;
    for (const auto &join : r.rare->joins)
      joins.push_back({join.first, row, join.second, row});
  }
  return joins;
}

// ---- Cells ----

void CellStore::QuickSetText(int col, int row, const QString &text) {
  Row *r = CellRow(col, row);
  if (!r)
    return;
  if (r->texts.At(col + 1) == text)
    return;
  r->texts.Set(col + 1, text, GetNumberCols() + 1);
  NotifyCells({col, row, col, row});
}

QString CellStore::QuickGetText(int col, int row) const {
  return TextView(col, row).toString();
}

QStringView CellStore::TextView(int col, int row) const {
  const Row *r = CellRow(col, row);
  return r ? r->texts.At(col + 1) : QStringView();
}

void CellStore::SetRowTexts(int row, const QStringList &texts) {
  Row *r = RowAt(row);
  if (!r)
    return;
  if (texts.size() > GetNumberCols() + 1)
    r->texts.Assign(texts.mid(0, GetNumberCols() + 1));
  else
    r->texts.Assign(texts);
  NotifyRows(row, row);
}

void CellStore::SetRowTexts(int row, QStringView chars,
                            std::vector<quint32> ends) {
  Row *r = RowAt(row);
  if (!r)
    return;
  if (ends.size() > size_t(GetNumberCols() + 1))
    ends.resize(size_t(GetNumberCols() + 1));
  r->texts.Assign(chars, ends);
  NotifyRows(row, row);
}

CellStore::CellExtra *CellStore::FindExtra(int col, int row) const {
  const Row *r = CellRow(col, row);
  if (!r || !r->rare)
    return nullptr;
  for (CellExtra &extra : r->rare->cells)
    if (extra.col == col)
      return &extra;
  return nullptr;
}

CellStore::CellExtra &CellStore::Extra(int col, int row) {
  if (CellExtra *extra = FindExtra(col, row))
    return *extra;
  auto &cells = RowAt(row)->MakeRare().cells;
  cells.push_back(CellExtra{col, {}, QString(), 0});
  return cells.back();
}

void CellStore::QuickSetCellData(int col, int row, qint64 data) {
  Row *r = CellRow(col, row);
  if (!r)
    return;
  if (col == -1 && row >= 0)
    r->headingData = data;
  else
    Extra(col, row).data = data;
}

qint64 CellStore::QuickGetCellData(int col, int row) const {
  const Row *r = CellRow(col, row);
  if (!r)
    return 0;
  if (col == -1 && row >= 0)
    return r->headingData;
  const CellExtra *extra = FindExtra(col, row);
  return extra ? extra->data : 0;
}

CellFormat CellStore::GetFormat(int col, int row) const {
  if (!CellRow(col, row))
    return {};
  CellFormat format;
  if (col == -1 || row == -1) {
    format = gridDefault_;
    format.Overlay(headingDefault_);
  } else {
    format = gridDefault_;
    format.Overlay(colFormats_[size_t(col)]);
    format.Overlay(RowAt(row)->format);
  }
  if (const CellExtra *extra = FindExtra(col, row))
    format.Overlay(extra->format);
  return format;
}

void CellStore::ClearCellFormat(int col, int row) {
  Row *r = CellRow(col, row);
  if (!r || !r->rare)
    return;
  auto &cells = r->rare->cells;
  cells.erase(std::remove_if(cells.begin(), cells.end(),
                             [col](const CellExtra &extra) {
                               return extra.col == col;
                             }),
              cells.end());
  NotifyCells({col, row, col, row});
}

void CellStore::SetParam(int col, int row, int param) {
  if (!CellRow(col, row))
    return;
  Extra(col, row).format.param = std::max(param, 0);
  NotifyCells({col, row, col, row});
}

int CellStore::GetParam(int col, int row) const {
  const int param = GetFormat(col, row).param;
  return param == CellFormat::kUnsetParam ? 0 : param;
}

void CellStore::SetCellType(int col, int row, CellType type) {
  if (!CellRow(col, row))
    return;
  Extra(col, row).format.cellType = type;
  NotifyCells({col, row, col, row});
}

CellType CellStore::QuickGetCellType(int col, int row) const {
  const qint8 type = GetFormat(col, row).cellType;
  return type == CellFormat::kUnset ? CT_TEXT : CellType(type);
}

void CellStore::SetLabelText(int col, int row, const QString &text) {
  if (!CellRow(col, row))
    return;
  // A null label means "none of its own"; an empty one is a real label.
  Extra(col, row).label = text.isNull() ? QStringLiteral("") : text;
  NotifyCells({col, row, col, row});
}

QString CellStore::GetLabelText(int col, int row) const {
  if (const CellExtra *extra = FindExtra(col, row))
    if (!extra->label.isNull())
      return extra->label;
  if (col >= 0 && row >= 0 && col < GetNumberCols())
    return colLabels_[size_t(col)];
  return {};
}

void CellStore::SetReadOnly(int col, int row, bool readOnly) {
  if (!CellRow(col, row))
    return;
  Extra(col, row).format.readOnly = readOnly ? 1 : 0;
  NotifyCells({col, row, col, row});
}

bool CellStore::IsReadOnly(int col, int row) const {
  return GetFormat(col, row).readOnly == 1;
}

void CellStore::QuickSetAlignment(int col, int row, CellAlignment alignment) {
  if (!CellRow(col, row))
    return;
  Extra(col, row).format.alignment = qint16(alignment);
  NotifyCells({col, row, col, row});
}

CellAlignment CellStore::GetAlignment(int col, int row) const {
  return GetFormat(col, row).alignment;
}

void CellStore::QuickSetBackColor(int col, int row, ColorRef color) {
  if (!CellRow(col, row))
    return;
  Extra(col, row).format.backColor = color;
  NotifyCells({col, row, col, row});
}

void CellStore::QuickSetTextColor(int col, int row, ColorRef color) {
  if (!CellRow(col, row))
    return;
  Extra(col, row).format.textColor = color;
  NotifyCells({col, row, col, row});
}

ColorRef CellStore::GetBackColor(int col, int row) const {
  return GetFormat(col, row).backColor;
}

ColorRef CellStore::GetTextColor(int col, int row) const {
  return GetFormat(col, row).textColor;
}

void CellStore::SetRowFormat(int row, const CellFormat &format) {
  Row *r = row >= 0 ? RowAt(row) : nullptr;
  if (!r)
    return;
  r->format = format;
  NotifyRows(row, row);
}

CellFormat CellStore::RowFormat(int row) const {
  const Row *r = row >= 0 ? RowAt(row) : nullptr;
  return r ? r->format : CellFormat();
}

void CellStore::SetRowBackColor(int row, ColorRef color) {
  CellFormat format = RowFormat(row);
  format.backColor = color;
  SetRowFormat(row, format);
}

void CellStore::SetRowTextColor(int row, ColorRef color) {
  CellFormat format = RowFormat(row);
  format.textColor = color;
  SetRowFormat(row, format);
}

void CellStore::SetRowTag(int row, int tag) {
  if (Row *r = row >= 0 ? RowAt(row) : nullptr)
    r->tag = tag;
}

int CellStore::GetRowTag(int row) const {
  const Row *r = row >= 0 ? RowAt(row) : nullptr;
  return r ? r->tag : 0;
}

void CellStore::SetColFormat(int col, const CellFormat &format) {
  if (col < 0 || col >= GetNumberCols())
    return;
  colFormats_[size_t(col)] = format;
  NotifyCells({col, 0, col, GetNumberRows() - 1});
}

CellFormat CellStore::ColFormat(int col) const {
  if (col < 0 || col >= GetNumberCols())
    return {};
  return colFormats_[size_t(col)];
}

void CellStore::SetColLabelText(int col, const QString &text) {
  if (col < 0 || col >= GetNumberCols())
    return;
  colLabels_[size_t(col)] = text;
}

void CellStore::SetGridDefault(const CellFormat &format) {
  gridDefault_ = format;
  NotifyCells({-1, -1, GetNumberCols() - 1, GetNumberRows() - 1});
}

void CellStore::SetHeadingDefault(const CellFormat &format) {
  headingDefault_ = format;
  NotifyCells({-1, -1, GetNumberCols() - 1, GetNumberRows() - 1});
}

// ---- Navigation and selection ----

bool CellStore::HasCurrentCell() const {
  return IsCell(currentCol_, currentRow_);
}

bool CellStore::GotoCell(int col, int row) {
  if (!IsCell(col, row))
    return false;
  currentCol_ = col;
  currentRow_ = row;
  ranges_.clear();
  NotifyCurrent();
  NotifySelection();
  return true;
}

bool CellStore::GotoRow(int row) {
  const int col = std::clamp(currentCol_, 0, std::max(GetNumberCols() - 1, 0));
  return GotoCell(col, row);
}

void CellStore::SetMultiSelectMode(bool on) {
  multiSelect_ = on;
  if (!on && !ranges_.empty()) {
    ranges_.clear();
    NotifySelection();
  }
}

// Cuts every range to the grid's cells and drops the empty ones.
void CellStore::CutRanges() {
  const int lastCol = GetNumberCols() - 1;
  const int lastRow = GetNumberRows() - 1;
  std::vector<CellRange> kept;
  for (CellRange range : ranges_) {
    range.firstCol = std::max(range.firstCol, 0);
    range.firstRow = std::max(range.firstRow, 0);
    range.lastCol = std::min(range.lastCol, lastCol);
    range.lastRow = std::min(range.lastRow, lastRow);
    if (!range.IsEmpty())
      kept.push_back(range);
  }
  ranges_ = std::move(kept);
}

void CellStore::SelectRange(int col, int row, int lastCol, int lastRow) {
  if (!multiSelect_)
    return;
  ranges_.push_back(CellRange::Spanning(col, row, lastCol, lastRow));
  CutRanges();
  NotifySelection();
}

void CellStore::SelectAll() {
  if (!multiSelect_)
    return;
  ranges_ = {{0, 0, GetNumberCols() - 1, GetNumberRows() - 1}};
  CutRanges();
  NotifySelection();
}

void CellStore::ClearSelections() {
  if (ranges_.empty())
    return;
  ranges_.clear();
  NotifySelection();
}

void CellStore::SetSelection(const std::vector<CellRange> &ranges,
                             int currentCol, int currentRow) {
  ranges_.clear();
  if (multiSelect_) {
    for (const CellRange &range : ranges)
      ranges_.push_back(CellRange::Spanning(range.firstCol, range.firstRow,
                                            range.lastCol, range.lastRow));
    CutRanges();
  }
  const bool moved = currentCol != currentCol_ || currentRow != currentRow_;
  if (IsCell(currentCol, currentRow)) {
    currentCol_ = currentCol;
    currentRow_ = currentRow;
  }
  if (moved)
    NotifyCurrent();
  NotifySelection();
}

std::vector<CellRange> CellStore::EffectiveSelection() const {
  if (!ranges_.empty())
    return ranges_;
  if (!HasCurrentCell())
    return {};
  return {{currentCol_, currentRow_, currentCol_, currentRow_}};
}

bool CellStore::IsSelected(int col, int row) const {
  if (ranges_.empty())
    return HasCurrentCell() && col == currentCol_ && row == currentRow_;
  for (const CellRange &range : ranges_)
    if (range.Contains(col, row))
      return true;
  return false;
}

namespace {

// Whether (col, row) lies in one of the ranges before index.
bool InEarlierRange(const std::vector<CellRange> &ranges, size_t index,
                    int col, int row) {
  for (size_t k = 0; k < index; ++k)
    if (ranges[k].Contains(col, row))
      return true;
  return false;
}

} // namespace

bool CellStore::EnumFirstSelected(int *col, int *row) const {
  if (ranges_.empty()) {
    enumRange_ = 1;
    if (!HasCurrentCell())
      return false;
    *col = currentCol_;
    *row = currentRow_;
    return true;
  }
  enumRange_ = 0;
  enumCol_ = ranges_[0].firstCol;
  enumRow_ = ranges_[0].firstRow;
  *col = enumCol_;
  *row = enumRow_;
  return true;
}

bool CellStore::EnumNextSelected(int *col, int *row) const {
  while (enumRange_ < ranges_.size()) {
    const CellRange &range = ranges_[enumRange_];
    if (++enumCol_ > range.lastCol) {
      enumCol_ = range.firstCol;
      ++enumRow_;
    }
    if (enumRow_ > range.lastRow) {
      if (++enumRange_ == ranges_.size())
        return false;
      enumCol_ = ranges_[enumRange_].firstCol;
      enumRow_ = ranges_[enumRange_].firstRow;
    }
    if (InEarlierRange(ranges_, enumRange_, enumCol_, enumRow_))
      continue;
    *col = enumCol_;
    *row = enumRow_;
    return true;
  }
  return false;
}

void CellStore::ForEachSelected(
    const std::function<void(int, int)> &visit) const {
  const std::vector<CellRange> ranges = EffectiveSelection();
  for (size_t k = 0; k < ranges.size(); ++k) {
    const CellRange &range = ranges[k];
    for (int row = range.firstRow; row <= range.lastRow; ++row)
      for (int col = range.firstCol; col <= range.lastCol; ++col)
        if (k == 0 || !InEarlierRange(ranges, k, col, row))
          visit(col, row);
  }
}

long long CellStore::SelectedCellCount() const {
  const std::vector<CellRange> ranges = EffectiveSelection();
  if (ranges.size() == 1)
    return ranges[0].CellCount();
  long long count = 0;
  ForEachSelected([&count](int, int) { ++count; });
  return count;
}

namespace {

// The integers covered by the intervals, ascending, each once.
std::vector<int> UnionOf(std::vector<std::pair<int, int>> intervals) {
  std::sort(intervals.begin(), intervals.end());
  std::vector<int> values;
  int next = std::numeric_limits<int>::min();
  for (const auto &[first, last] : intervals)
    for (int v = std::max(first, next); v <= last; ++v) {
      values.push_back(v);
      next = v + 1;
    }
  return values;
}

} // namespace

std::vector<int> CellStore::SelectedRowList() const {
  std::vector<std::pair<int, int>> intervals;
  for (const CellRange &range : EffectiveSelection())
    intervals.emplace_back(range.firstRow, range.lastRow);
  return UnionOf(std::move(intervals));
}

std::vector<int> CellStore::SelectedColList() const {
  std::vector<std::pair<int, int>> intervals;
  for (const CellRange &range : EffectiveSelection())
    intervals.emplace_back(range.firstCol, range.lastCol);
  return UnionOf(std::move(intervals));
}

// ---- Clipboard text ----

QString CellStore::CopySelectedText() const {
  const std::vector<CellRange> ranges = EffectiveSelection();
  if (ranges.empty())
    return {};
  CellRange box = ranges[0];
  for (const CellRange &range : ranges) {
    box.firstCol = std::min(box.firstCol, range.firstCol);
    box.firstRow = std::min(box.firstRow, range.firstRow);
    box.lastCol = std::max(box.lastCol, range.lastCol);
    box.lastRow = std::max(box.lastRow, range.lastRow);
  }
  QString text;
  for (int row = box.firstRow; row <= box.lastRow; ++row) {
    if (row > box.firstRow)
      text += QStringLiteral("\r\n");
    for (int col = box.firstCol; col <= box.lastCol; ++col) {
      if (col > box.firstCol)
        text += QLatin1Char('\t');
      if (IsSelected(col, row))
        text += QuoteClipboardCell(QuickGetText(col, row));
    }
  }
  return text;
}

std::vector<int> CellStore::PasteText(
    const QString &text, const std::function<bool(int, int)> &canWrite) {
  std::vector<int> written;
  if (!HasCurrentCell())
    return written;
  const std::vector<QStringList> rows = ParseClipboardText(text);
  for (size_t i = 0; i < rows.size(); ++i) {
    const int row = currentRow_ + int(i);
    if (row >= GetNumberRows())
      break;
    bool any = false;
    for (qsizetype j = 0; j < rows[i].size(); ++j) {
      const int col = currentCol_ + int(j);
      if (col >= GetNumberCols())
        break;
      if (IsReadOnly(col, row) || (canWrite && !canWrite(col, row)))
        continue;
      QuickSetText(col, row, rows[i].at(j));
      any = true;
    }
    if (any)
      written.push_back(row);
  }
  return written;
}
