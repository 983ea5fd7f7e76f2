// The records grid's edit commands: the rows a selection touches, delete,
// cut, copy and paste of whole records, and find.
//
// Each command works on the rows of the selected cells and goes through
// the command history as one group, so one undo takes it back. Copy and
// cut fill two clipboards: the system clipboard gets the selected cells as
// text, the grid's own clipboard the whole records. Pasting onto a
// new-record row adds the copied records to that row's group (with new
// keys); pasting elsewhere puts the clipboard text into the cells.
#include "records/ui/sorvans_grid_ctrl.h"

#include "base/prompt.h"
#include "groups/group_node.h"
#include "document/account_file.h"
#include "records/command_history.h"
#include "records/hidden_fields.h"
#include "records/record_key.h"
#include "records/ui/grid_commands.h"

#include <QDateTime>

#include <algorithm>

std::vector<int> CSorvansGridCtrl::SelectedRows() const {
  return SelectedRowList();
}

std::vector<int> CSorvansGridCtrl::SelectedRecordRows() const {
  std::vector<int> rows = SelectedRows();
  std::erase_if(rows, [this](int row) { return !IsRecordRow(row); });
  return rows;
}

std::vector<int> CSorvansGridCtrl::PasteTargetRows() const {
  std::vector<int> rows = SelectedRows();
  std::erase_if(rows, [this](int row) {
    return !IsRecordRow(row) && !IsNewRecordRow(row);
  });
  return rows;
}

QList<CRowItem> CSorvansGridCtrl::GatherRows(const std::vector<int> &rows,
                                             bool bottomUp,
                                             bool asStored) const {
  QList<CRowItem> items;
  items.reserve(qsizetype(rows.size()));
  const auto gather = [&](int row) {
    if (!IsRecordRow(row))
      return;
    items.append(CRowItem::ReadFromGrid(*File(), row, this));
    items.last().textsAsStored = asStored;
  };
  if (bottomUp)
    std::for_each(rows.rbegin(), rows.rend(), gather);
  else
    std::for_each(rows.begin(), rows.end(), gather);
  return items;
}

void CSorvansGridCtrl::FillClipboardRows(const std::vector<int> &rows) {
  clipboardRows_ = GatherRows(rows, false);
}

void CSorvansGridCtrl::DeleteSelectedRows() {
  const std::vector<int> rows = SelectedRecordRows();
  if (rows.empty() || !File())
    return;
  if (!CurrentPrompt().AskYesNo(
          QStringLiteral("准备删除%1条记录！").arg(rows.size())))
    return;
  // From the bottom up, so that undo inserts them again top down, each at
  // the row it had.
  File()->History().DeleteRows(GatherRows(rows, true));
}

void CSorvansGridCtrl::CutSelectedRows() {
  const std::vector<int> rows = SelectedRecordRows();
  if (rows.empty() || !File())
    return;
  if (!CurrentPrompt().AskYesNo(
          QStringLiteral("准备剪切%1条记录！").arg(rows.size())))
    return;
  FillClipboardRows(rows);
  // Records moved by cut and paste take along what no column shows (the
  // number a bill gave them, so that the bill does not import them again).
  KeepHiddenFields(*File(), clipboardRows_);
  CopySelected();
  File()->History().DeleteRows(GatherRows(rows, true));
  ClearSelections();
}

void CSorvansGridCtrl::CopySelectedRows() {
  const std::vector<int> rows = SelectedRecordRows();
  if (rows.empty() || !File())
    return;
  FillClipboardRows(rows);
  CopySelected();
}

void CSorvansGridCtrl::PasteRows() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty() || !File())
    return;
  EndEdit();
  if (rows.size() == 1 && IsNewRecordRow(rows.front())) {
    PasteRecordsAt(rows.front());
    return;
  }
  PasteText();
}

void CSorvansGridCtrl::PasteRecordsAt(int row) {
  if (clipboardRows_.isEmpty())
    return;
  GroupNode *group = LiveGroup(row);
  if (!group)
    return;
  // One moment for all records.
  const QDateTime now = QDateTime::currentDateTime();
  const QString date = QStringLiteral("%1/%2/%3")
                           .arg(now.date().year())
                           .arg(now.date().month())
                           .arg(now.date().day());
  const QString time = QStringLiteral("%1:%2:%3")
                           .arg(now.time().hour())
                           .arg(now.time().minute())
                           .arg(now.time().second());
  int k = 0;
  for (CRowItem &item : clipboardRows_) {
    item.SetKeyValue(TakeNewKey(group));
    item.SetAutomaticDate(date);
    item.SetAutomaticTime(time);
    item.gridRow = row + k++;
    item.groupId = group->id;
    item.gridNumber = GridNumber();
  }
  File()->History().AddRows(clipboardRows_);
}

void CSorvansGridCtrl::PasteText() {
  // Only editable cells of record rows take text: never a header or
  // new-record row, a key or a read-only cell.
  const std::vector<int> written = Paste([this](int col, int row) {
    return IsRecordRow(row) && col != keyGridColumn_ && col >= 0 &&
           RowGroupId(row) != 0;
  });
  if (written.empty())
    return;
  QList<CRowItem> rows = GatherRows(written, false, false);
  File()->History().UpdateRows(rows);
  // Rows whose update failed show what the file holds again; the others
  // show it already.
  for (const CRowItem &item : rows) {
    const int shown = FindShownRow(item.gridRow, item);
    if (shown >= 0)
      ShowStoredRow(shown, item);
  }
}

bool CSorvansGridCtrl::CellMatches(int col, int row, const QString &text,
                                   bool wholeWord, bool matchCase) const {
  if (IsHeaderRow(row))
    return false;
  const QString shown = DisplayText(col, row);
  const Qt::CaseSensitivity cs =
      matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
  return wholeWord ? shown.compare(text, cs) == 0 : shown.contains(text, cs);
}

bool CSorvansGridCtrl::FindNext(const QString &text, unsigned flags) {
  const std::vector<int> columns = SelectedColList();
  const std::vector<int> rows = SelectedRows();
  if (columns.empty() || rows.empty())
    return false;
  const bool wholeWord = flags & FR_WHOLEWORD;
  const bool matchCase = flags & FR_MATCHCASE;
  bool found = false;
  for (int col : columns) {
    if (flags & FR_DOWN) {
      for (int row = rows.front() + 1; row < GetNumberRows(); ++row) {
        if (CellMatches(col, row, text, wholeWord, matchCase)) {
          GotoCellShown(col, row);
          found = true;
          break;
        }
      }
    } else {
      for (int row = rows.back() - 1; row >= 0; --row) {
        if (CellMatches(col, row, text, wholeWord, matchCase)) {
          GotoCellShown(col, row);
          found = true;
          break;
        }
      }
    }
  }
  return found;
}
