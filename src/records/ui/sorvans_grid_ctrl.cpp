// The records grid: layout, loading, showing stored changes and saving the
// user's edits.
#include "records/ui/sorvans_grid_ctrl.h"

#include "base/prompt.h"
#include "formula/evaluate_row.h"
#include "groups/group_tree.h"
#include "document/account_file.h"
#include "records/command_history.h"
#include "records/new_record.h"
#include "records/record_cell_text.h"
#include "records/record_key.h"
#include "records/records_query.h"
#include "records/typed_value.h"

#include <optional>

namespace {

constexpr int kLeftAligned = Qt::AlignLeft | Qt::AlignVCenter;

// The text shown when an edit reaches a group that was deleted meanwhile.
QString GroupGoneText() { return QStringLiteral("该组已不存在！"); }

// The format of a record cell of a column of type (column layer).
CellFormat RecordColumnFormat(const ColumnDef &column) {
  CellFormat format;
  format.alignment = kLeftAligned;
  format.textColor = CSorvansGridCtrl::kBlack;
  format.readOnly = column.readOnly ? 1 : 0;
  if (column.type == FT_KEY) {
    // An edited key would make the update address another record.
    format.cellType = CT_TEXT;
    format.param = CUGGridBase::kTextCellMark;
    format.readOnly = 1;
  } else if (column.type == FT_OPTION) {
    format.cellType = CT_DROPLIST;
    format.param = CUGGridBase::kDropListCellMark;
  } else if (IsDatePickerType(column.type)) {
    format.cellType = CT_DATETIME;
    format.param = 0;
  } else {
    format.cellType = CT_TEXT;
    format.param = CUGGridBase::kTextCellMark;
  }
  return format;
}

// The lines of an option column's drop-down list.
QString DropListLabel(const QString &options) {
  QString label = options;
  label.replace(QLatin1Char('|'), QLatin1Char('\n'));
  return label + QLatin1Char('\n');
}

// Whether two dates count as the same for the bands: both valid and equal,
// or both null; two invalid dates differ.
bool SameBandDate(const DateValue &a, const DateValue &b) {
  if (a.IsNull() && b.IsNull())
    return true;
  return a.IsValid() && b.IsValid() && a == b;
}

} // namespace

CSorvansGridCtrl::CSorvansGridCtrl() {
  CellFormat heading;
  heading.backColor = kHeadingColor;
  SetHeadingDefault(heading);
}

CSorvansGridCtrl::~CSorvansGridCtrl() = default;

void CSorvansGridCtrl::SetAccountFile(AccountFile *file) {
  accountFile_ = file;
  AttachFile(file);
}

AccountFile *CSorvansGridCtrl::File() const {
  return AttachedFile() == accountFile_ ? accountFile_ : nullptr;
}

// ---- Layout ----

void CSorvansGridCtrl::SetUpColumns() {
  AccountFile *file = File();
  if (!file)
    return;
  const ColumnList &columns = file->Columns();
  SetNumberCols(std::max(columns.Size() - 1, 0));
  columnTypes_.assign(size_t(columns.Size()), FT_TEXT);
  for (int i = 0; i < columns.Size(); ++i) {
    const ColumnDef &column = columns.At(i);
    columnTypes_[size_t(i)] = column.type;
    SetColWidth(i - 1, column.width);
    QuickSetText(i - 1, -1, column.title);
    if (i == 0)
      continue;
    SetColFormat(i - 1, RecordColumnFormat(column));
    SetColLabelText(i - 1, column.type == FT_OPTION
                               ? DropListLabel(column.options)
                               : QString());
  }
  keyGridColumn_ = columns.KeyPosition() - 1;
  loadBandColumn_ = -1;
  for (int type : {int(FT_DATE), int(FT_AUTODATE)}) {
    QString name;
    if (loadBandColumn_ < 0 && columns.FirstFieldOfType(type, name))
      loadBandColumn_ = columns.PositionOf(name);
  }
  rowBandColumn_ = columns.DatePosition();
  RedrawRow(-1);
}

void CSorvansGridCtrl::FitColumns() {
  AccountFile *file = File();
  if (!file || !file->Settings().expandColumnsToFit || VisibleWidth() <= 0)
    return;
  FitToWindow(0, GetNumberCols() - 1);
}

void CSorvansGridCtrl::ClearRows() {
  for (const CellRange &join : Joins())
    UnJoinCells(join.firstCol, join.firstRow);
  SetNumberRows(0);
  newRecordRows_.clear();
  lastFound_ = 0;
}

bool CSorvansGridCtrl::LoadRows(const QList<GroupQuery> &groupQueries) {
  // Text typed into a cell is saved to the row it was typed in before the
  // rows change under it.
  EndEdit();
  groupQueries_ = groupQueries;
  bool failed = false;
  BeginUpdate();
  ClearRows();
  int r = 0;
  for (const GroupQuery &pair : groupQueries_)
    r += LoadGroupRows(r, pair, &failed);
  if (AccountFile *file = File())
    SetEditorAutoSize(file->Settings().gridAutoSize);
  if (GetNumberRows() > 0 && GetNumberCols() > 0) {
    // "First line" is the first row below the first group's header: a
    // current header row would be drawn in the selection colour.
    const bool last = File() && File()->Settings().showLastLine;
    const int first = KindOf(0) == RK_HEADER && GetNumberRows() > 1 ? 1 : 0;
    GotoCell(0, last ? GetNumberRows() - 1 : first);
  }
  EndUpdate();
  FitColumns();
  if (GetNumberRows() > 0)
    GotoCellShown(GetCurrentCol(), GetCurrentRow());
  return !failed;
}

int CSorvansGridCtrl::LoadGroupRows(int r, const GroupQuery &pair,
                                    bool *failed) {
  AccountFile *file = File();
  CDBVisiter *session = file ? file->Session() : nullptr;
  std::optional<RecordsQuery> query;
  int n = 0;
  if (session && !pair.query.isEmpty()) {
    query.emplace(*session, file->Columns());
    n = query->Run(pair.query);
    if (query->Failed())
      *failed = true;
  }
  SetNumberRows(r + n + 1);
  MakeHeaderRow(r, pair.groupId);
  DateValue previous = DateValue::MakeInvalid();
  QString previousText;
  ColorRef band = kBandColor2;
  for (int k = 0; k < n; ++k) {
    const int row = r + 1 + k;
    query->ReadRow();
    SetRowTexts(row, query->Chars(), query->Ends());
    if (loadBandColumn_ >= 0) {
      const QStringView text = query->Text(loadBandColumn_);
      // Equal texts give equal dates; only a valid one counts as same.
      const bool same = k > 0 && previous.IsValid() && text == previousText;
      if (!same) {
        previousText = text.toString();
        const DateValue date = ShownDate(previousText);
        if (!SameBandDate(date, previous)) {
          band = band == kBandColor1 ? kBandColor2 : kBandColor1;
          previous = date;
        }
      }
    } else {
      band = band == kBandColor1 ? kBandColor2 : kBandColor1;
    }
    MakeRecordRow(row, pair.groupId, band);
  }
  AppendNewRecordRow(r + n + 1, pair.groupId);
  return n + 2;
}

void CSorvansGridCtrl::MakeHeaderRow(int row, int groupId) {
  SetRowTag(row, RK_HEADER);
  QuickSetCellData(-1, row, groupId);
  AccountFile *file = File();
  const GroupNode *group = file ? FindGroupNode(file->Root(), groupId) : nullptr;
  QuickSetText(0, row, group ? group->title : QString());
  CellFormat format;
  format.backColor = kHeaderRowColor;
  format.textColor = kWhite;
  format.alignment = Qt::AlignCenter;
  format.param = kHeaderRowMark;
  format.cellType = CT_TEXT;
  format.readOnly = 1;
  SetRowFormat(row, format);
  if (GetNumberCols() > 1)
    JoinCells(0, row, GetNumberCols() - 1, row);
}

void CSorvansGridCtrl::MakeRecordRow(int row, int groupId, ColorRef band) {
  SetRowTag(row, RK_RECORD);
  QuickSetCellData(-1, row, groupId);
  CellFormat format;
  format.backColor = band;
  format.textColor = kBlack;
  SetRowFormat(row, format);
}

void CSorvansGridCtrl::AppendNewRecordRow(int row, int groupId) {
  if (row >= GetNumberRows()) {
    if (row > GetNumberRows())
      row = GetNumberRows();
    AppendRow();
  } else {
    InsertRow(row);
    RowsInserted(row);
  }
  SetRowTag(row, RK_NEW);
  QuickSetCellData(-1, row, groupId);
  CellFormat format;
  format.backColor = kWhite;
  format.textColor = kBlack;
  SetRowFormat(row, format);
  // Every cell but the key's opens its editor as a record's does (an
  // option's drop-down list, a date's picker); the insert fills in the key
  // and what was left empty.
  for (int i = 1; i < int(columnTypes_.size()); ++i) {
    const int type = columnTypes_[size_t(i)];
    const bool option = type == FT_OPTION;
    const bool date = IsDatePickerType(type);
    SetCellType(i - 1, row, option ? CT_DROPLIST : date ? CT_DATETIME : CT_TEXT);
    SetParam(i - 1, row,
             option ? kDropListCellMark : date ? 0 : kTextCellMark);
    SetReadOnly(i - 1, row, type == FT_KEY);
    QuickSetAlignment(i - 1, row, kLeftAligned);
  }
  newRecordRows_[groupId] = row;
}

CSorvansGridCtrl::RowKind CSorvansGridCtrl::KindOf(int row) const {
  if (row < 0 || row >= GetNumberRows())
    return RK_NONE;
  return RowKind(GetRowTag(row));
}

// ---- Cells ----

QString CSorvansGridCtrl::CellText(int gridColumn, int gridRow) const {
  if (KindOf(gridRow) == RK_HEADER)
    return QString();
  return QuickGetText(gridColumn, gridRow);
}

int CSorvansGridCtrl::RowGroupId(int gridRow) const {
  if (KindOf(gridRow) == RK_NONE)
    return 0;
  return int(QuickGetCellData(-1, gridRow));
}

QString CSorvansGridCtrl::DisplayText(int col, int row) const {
  if (row < 0)
    return QuickGetText(col, row);
  const RowKind kind = KindOf(row);
  if (col == -1 && kind == RK_HEADER)
    return QStringLiteral("+");
  if (col == -1 && kind == RK_NEW)
    return QStringLiteral("*");
  if (kind != RK_RECORD)
    return QuickGetText(col, row);
  return ShownCellText(ColumnTypeOf(col), QuickGetText(col, row));
}

// Grid column col shows column col + 1 of the list (the key is the row
// heading).
int CSorvansGridCtrl::ColumnTypeOf(int col) const {
  const size_t position = size_t(col + 1);
  return position < columnTypes_.size() ? columnTypes_[position] : int(FT_TEXT);
}

bool CSorvansGridCtrl::DrawsFocusRect(int, int row) const {
  return KindOf(row) != RK_HEADER;
}

void CSorvansGridCtrl::OnSelectionChanged() {
  // Records only: a group header or the new-record row is no amount, and
  // counting them would lower the average of a whole column (Ctrl+A).
  summary_ = SelectionSummary();
  ForEachSelected([this](int col, int row) {
    if (KindOf(row) == RK_RECORD)
      summary_.Add(TextView(col, row), IsNumericType(ColumnTypeOf(col)));
  });
  if (selectionChanged)
    selectionChanged();
}

void CSorvansGridCtrl::OnRClicked(int, int, const QPoint &globalPos) {
  if (contextMenuRequested)
    contextMenuRequested(globalPos);
}

// ---- Showing stored changes ----

void CSorvansGridCtrl::RowsInserted(int row) {
  for (auto &entry : newRecordRows_)
    if (entry.second >= row)
      ++entry.second;
}

void CSorvansGridCtrl::RowsRemoved(int row) {
  for (auto &entry : newRecordRows_)
    if (entry.second > row)
      --entry.second;
}

void CSorvansGridCtrl::ShowRowValues(int row, const CRowItem &item) {
  QStringList texts;
  texts.reserve(int(columnTypes_.size()));
  const ColumnList *columns = File() ? &File()->Columns() : nullptr;
  for (int i = 0; i < int(columnTypes_.size()); ++i) {
    // By field name, should the row come from another layout.
    const QString name = columns ? columns->FieldName(i) : QString();
    QString text;
    if (i < item.items.size() &&
        item.items[i].fieldName.compare(name, Qt::CaseInsensitive) == 0) {
      text = item.items[i].text;
    } else {
      for (const FieldValueItem &field : item.items)
        if (field.fieldName.compare(name, Qt::CaseInsensitive) == 0)
          text = field.text;
    }
    texts.append(text);
  }
  const bool wasNew = KindOf(row) == RK_NEW;
  SetRowTexts(row, texts);
  if (wasNew)
    for (int col = 0; col < GetNumberCols(); ++col)
      ClearCellFormat(col, row);
  MakeRecordRow(row, item.groupId, RowBand(row));
}

ColorRef CSorvansGridCtrl::RowBand(int row) const {
  if (rowBandColumn_ < 0 || !IsRecordRow(row - 1))
    return kBandColor1;
  const ColorRef above = RowFormat(row - 1).backColor;
  const DateValue mine = ShownDate(QuickGetText(rowBandColumn_ - 1, row));
  const DateValue theirs =
      ShownDate(QuickGetText(rowBandColumn_ - 1, row - 1));
  if (SameBandDate(mine, theirs))
    return above;
  return above == kBandColor1 ? kBandColor2 : kBandColor1;
}

void CSorvansGridCtrl::BandRow(int row) {
  CellFormat format = RowFormat(row);
  format.backColor = RowBand(row);
  SetRowFormat(row, format);
}

bool CSorvansGridCtrl::ShowsRecord(int gridRow, const CRowItem &row) const {
  return IsRecordRow(gridRow) && RowGroupId(gridRow) == row.groupId &&
         KeyFromText(QuickGetText(keyGridColumn_, gridRow)) == row.KeyValue();
}

int CSorvansGridCtrl::FindShownRow(int gridRow, const CRowItem &row) const {
  if (ShowsRecord(gridRow, row))
    return gridRow;
  // Outward from the hint, or from where the last record was found.
  const int count = GetNumberRows();
  const int start = gridRow >= 0 && gridRow < count
                        ? gridRow
                        : std::min(lastFound_, count - 1);
  if (start < 0)
    return -1;
  for (int distance = 0; distance < count; ++distance) {
    const int up = start - distance, down = start + distance;
    if (up < 0 && down >= count)
      break;
    if (up >= 0 && ShowsRecord(up, row))
      return lastFound_ = up;
    if (down < count && distance > 0 && ShowsRecord(down, row))
      return lastFound_ = down;
  }
  return -1;
}

int CSorvansGridCtrl::FindNewRecordRow(int groupId) const {
  const auto known = newRecordRows_.find(groupId);
  if (known != newRecordRows_.end() && IsNewRecordRow(known->second) &&
      RowGroupId(known->second) == groupId)
    return known->second;
  for (int row = GetNumberRows() - 1; row >= 0; --row) {
    if (IsNewRecordRow(row) && RowGroupId(row) == groupId) {
      newRecordRows_[groupId] = row;
      return row;
    }
  }
  return -1;
}

void CSorvansGridCtrl::ShowInsertedRow(int gridRow, const CRowItem &row) {
  const bool sameGroup =
      gridRow >= 0 && gridRow < GetNumberRows() &&
      RowGroupId(gridRow) == row.groupId;
  if (sameGroup && IsNewRecordRow(gridRow)) {
    // The new-record row becomes the record; a fresh one follows it.
    ShowRowValues(gridRow, row);
    AppendNewRecordRow(gridRow + 1, row.groupId);
    return;
  }
  int at = sameGroup && IsRecordRow(gridRow) ? gridRow : -1;
  if (at < 0)
    at = FindNewRecordRow(row.groupId);
  if (at < 0)
    return; // the grid does not show that group
  InsertRow(at);
  RowsInserted(at);
  SetRowTag(at, RK_RECORD);
  ShowRowValues(at, row);
}

void CSorvansGridCtrl::RemoveShownRow(int gridRow, const CRowItem &row) {
  const int shown = FindShownRow(gridRow, row);
  if (shown < 0)
    return;
  DeleteRow(shown);
  RowsRemoved(shown);
}

void CSorvansGridCtrl::ShowUpdatedRow(int gridRow, const CRowItem &row) {
  const int shown = FindShownRow(gridRow, row);
  if (shown < 0)
    return;
  ShowRowValues(shown, row);
}

// From this many rows on, the view is told once at the end of an action:
// row by row, every insert or removal would walk all its rows.
constexpr int kRowsShownAtOnce = 64;

void CSorvansGridCtrl::BeginStoredChanges(int rowCount) {
  if (storedDepth_++ > 0)
    return;
  batching_ = rowCount >= kRowsShownAtOnce;
  if (batching_)
    BeginUpdate();
}

void CSorvansGridCtrl::EndStoredChanges() {
  if (storedDepth_ == 0 || --storedDepth_ > 0 || !batching_)
    return;
  batching_ = false;
  EndUpdate();
  if (HasCurrentCell())
    GotoCellShown(GetCurrentCol(), GetCurrentRow());
}

// ---- Saving the user's edits ----

GroupNode *CSorvansGridCtrl::LiveGroup(int row) const {
  AccountFile *file = File();
  GroupNode *group =
      file ? FindGroupNode(file->Root(), RowGroupId(row)) : nullptr;
  if (!group || !group->IsGroup() || group == &file->Root()) {
    ShowMessage(GroupGoneText());
    return nullptr;
  }
  return group;
}

bool CSorvansGridCtrl::OnEditStart(int col, int row, QChar typed) {
  if (File() && File()->IsReadOnly())
    return false;
  return CUGGridBase::OnEditStart(col, row, typed);
}

void CSorvansGridCtrl::OnCellValueChanged(int col, int row,
                                          const QString &text) {
  AccountFile *file = File();
  if (!file || !file->IsOpen() || col < 0 || col >= GetNumberCols())
    return;
  // A date that is no date, a number that is none, stores nothing and is
  // said once; the cell keeps what it holds.
  const QString refusal = TypedValueRefusal(file->Columns(), col + 1, text);
  if (!refusal.isEmpty()) {
    ShowMessage(refusal);
    return;
  }
  switch (KindOf(row)) {
  case RK_RECORD:
    SaveEditedRecord(col, row, text);
    break;
  case RK_NEW:
    SaveNewRecord(col, row, text);
    break;
  default:
    break; // header rows hold no record
  }
}

void CSorvansGridCtrl::SaveEditedRecord(int col, int row,
                                        const QString &text) {
  if (!LiveGroup(row))
    return;
  const QString before = QuickGetText(col, row);
  QuickSetText(col, row, text);
  CRowItem item = CRowItem::ReadFromGrid(*File(), row, this);
  // A result that is no number is refused like a failed store.
  if (RecalculateDependents(item.items, col + 1) &&
      File()->History().UpdateRows({item}) > 0)
    return;
  // After a failure the cell shows what the file holds.
  QuickSetText(col, row, before);
  ShowStoredRow(row, item);
}

void CSorvansGridCtrl::ShowStoredRow(int row, const CRowItem &item) {
  CRowItem stored = item;
  if (stored.LoadFromDatabase(item.KeyValue(), item.groupId))
    ShowRowValues(row, stored);
}

void CSorvansGridCtrl::SaveNewRecord(int col, int row, const QString &text) {
  // An empty text stores nothing.
  if (text.isEmpty())
    return;
  GroupNode *group = LiveGroup(row);
  if (!group)
    return;
  QuickSetText(col, row, text);
  CRowItem item = CRowItem::ReadFromGrid(*File(), row, this);
  // A result that is no number, like a failed store, leaves the typed text
  // in the new-record row.
  if (!CompleteNewRecord(item, *group, QDateTime::currentDateTime()) ||
      File()->History().AddRows({item}) == 0)
    return;
  // Typing goes on in the fresh new-record row below the new record.
  const int next = FindNewRecordRow(item.groupId);
  if (next >= 0 && GetCurrentRow() == row)
    GotoCellShown(col, next);
}
