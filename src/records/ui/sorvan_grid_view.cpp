// The records page: queries, reloading, commands and the selection summary.
#include "records/ui/sorvan_grid_view.h"

#include "window/document_window.h"
#include "base/prompt.h"
#include "document/account_file.h"
#include "records/command_history.h"
#include "records/records_query.h"
#include "records/row_item.h"
#include "records/ui/find_dialog.h"
#include "records/ui/records_print_job.h"
#include "records/ui/grid_commands.h"
#include "widgets/cell_grid_view.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>

namespace {

constexpr unsigned kRecordEditHint = HINT_PIE_SERIES | HINT_BAR_SERIES; // 6

} // namespace

CSorvanGridView::CSorvanGridView(DocumentWindow *window, QWidget *parent)
    : CSorvanBaseView(window, parent) {
  grid_.SetAccountFile(File());
  view_ = new CellGridView(grid_, this);
  view_->setObjectName(QStringLiteral("records-grid"));
  view_->setAccessibleName(QStringLiteral("表格"));
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  setFocusProxy(view_);

  MakeActions();
  menu_ = new QMenu(this);
  menu_->addActions(actions_);

  grid_.selectionChanged = [this] { OnSelectionChanged(); };
  grid_.contextMenuRequested = [this](const QPoint &pos) {
    UpdateCommands();
    menu_->popup(pos);
  };
  UpdateCommands();
}

CSorvanGridView::~CSorvanGridView() {
  grid_.selectionChanged = nullptr;
  grid_.contextMenuRequested = nullptr;
  // The window shows the grid; it goes before the grid does.
  delete view_;
}

unsigned CSorvanGridView::PageHintBits() const { return HINT_RECORDS; }

// ---- Loading ----

void CSorvanGridView::OnChangeNotify(AccountFile &file, unsigned hint) {
  CSorvanBaseView::OnChangeNotify(file, hint);
  // Undo and redo may have become possible through another window.
  UpdateCommands();
}

void CSorvanGridView::Refresh() {
  CSorvanBaseView::Refresh();
  // The new columns and the new rows reach the view as one reset.
  CellStore::ScopedUpdate batch(grid_);
  grid_.SetAccountFile(File());
  grid_.SetUpColumns();
  Requery();
}

void CSorvanGridView::Requery() {
  DocumentWindow *window = Window();
  AccountFile *file = File();
  if (!window || !file)
    return;
  const QString keyField = file->Columns().KeyFieldName();
  QString filter;
  // A filter that cannot be built shows no records rather than a part of
  // it: the groups keep their header and new-record rows.
  const bool filtered = window->FilterWhere(filter);
  QList<CSorvansGridCtrl::GroupQuery> queries;
  for (int groupId : window->ActiveGroupIds()) {
    CSorvansGridCtrl::GroupQuery pair;
    pair.groupId = groupId;
    if (filtered)
      pair.query = GroupRecordsQueryText(groupId, filter, keyField);
    queries.append(pair);
  }
  if (!grid_.LoadRows(queries))
    ShowMessage(QStringLiteral("查询失败！"));
  UpdateCommands();
  emit summaryChanged();
}

void CSorvanGridView::resizeEvent(QResizeEvent *event) {
  CSorvanBaseView::resizeEvent(event);
  grid_.FitColumns();
}

// ---- Summary ----

bool CSorvanGridView::GetSummaryText(QString &text) const {
  return grid_.Summary().Text(text);
}

void CSorvanGridView::OnSelectionChanged() {
  UpdateCommands();
  emit summaryChanged();
}

// ---- Commands ----

QAction *CSorvanGridView::AddAction(int commandId, const QString &text,
                                    const QList<QKeySequence> &keys) {
  auto *action = new QAction(text, this);
  action->setData(commandId);
  action->setShortcuts(keys);
  action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(action, &QAction::triggered, this,
          [this, commandId] { RunCommand(commandId); });
  addAction(action);
  actions_.append(action);
  return action;
}

void CSorvanGridView::MakeActions() {
  const auto separator = [this] {
    auto *action = new QAction(this);
    action->setSeparator(true);
    actions_.append(action);
  };
  AddAction(ID_EDIT_UNDO, QStringLiteral("撤消(&U)\tCtrl+Z"),
            {QKeySequence(Qt::CTRL | Qt::Key_Z),
             QKeySequence(Qt::ALT | Qt::Key_Backspace)});
  AddAction(ID_EDIT_REDO, QStringLiteral("重做(&R)\tCtrl+Y"),
            {QKeySequence(Qt::CTRL | Qt::Key_Y)});
  separator();
  AddAction(ID_EDIT_CUT, QStringLiteral("剪切(&T)\tCtrl+X"),
            {QKeySequence(Qt::CTRL | Qt::Key_X),
             QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
  AddAction(ID_EDIT_COPY, QStringLiteral("复制(&C)\tCtrl+C"),
            {QKeySequence(Qt::CTRL | Qt::Key_C),
             QKeySequence(Qt::CTRL | Qt::Key_Insert)});
  AddAction(ID_EDIT_PASTE, QStringLiteral("粘贴(&P)\tCtrl+V"),
            {QKeySequence(Qt::CTRL | Qt::Key_V),
             QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
  AddAction(ID_EDIT_DELETE, QStringLiteral("删除(&D)\tDel"),
            {QKeySequence(Qt::Key_Delete)});
  separator();
  AddAction(ID_GRID_REFRESH, QStringLiteral("刷新(&S)\tF5"),
            {QKeySequence(Qt::Key_F5)});
  AddAction(ID_EDIT_FIND, QStringLiteral("查找(&F)\tCtrl+F"),
            {QKeySequence(Qt::CTRL | Qt::Key_F),
             QKeySequence(Qt::CTRL | Qt::Key_F3)});
  separator();
  AddAction(ID_MAKE_RECURRING, QStringLiteral("设为定期记录(&M)…"), {});
}

QAction *CSorvanGridView::Action(int commandId) const {
  for (QAction *action : actions_)
    if (!action->isSeparator() && action->data().toInt() == commandId)
      return action;
  return nullptr;
}

bool CSorvanGridView::IsCommandEnabled(int commandId) const {
  AccountFile *file = File();
  if (!file || !file->IsOpen())
    return false;
  // A file opened read-only is only viewed and copied from.
  const bool changes = commandId == ID_EDIT_UNDO || commandId == ID_EDIT_REDO ||
                       commandId == ID_EDIT_CUT || commandId == ID_EDIT_DELETE ||
                       commandId == ID_EDIT_PASTE ||
                       commandId == ID_MAKE_RECURRING;
  if (changes && file->IsReadOnly())
    return false;
  switch (commandId) {
  case ID_EDIT_UNDO:
    return file->History().CanUndo();
  case ID_EDIT_REDO:
    return file->History().CanRedo();
  case ID_EDIT_CUT:
  case ID_EDIT_COPY:
  case ID_EDIT_DELETE:
    return Editor() || !grid_.SelectedRecordRows().empty();
  case ID_EDIT_PASTE:
    return Editor() || !grid_.PasteTargetRows().empty();
  case ID_GRID_REFRESH:
    return true;
  case ID_EDIT_FIND:
    return !grid_.SelectedRows().empty();
  case ID_MAKE_RECURRING:
    return !grid_.IsEditing() && !grid_.SelectedRecordRows().empty();
  default:
    return false;
  }
}

void CSorvanGridView::UpdateCommands() {
  for (QAction *action : actions_)
    if (!action->isSeparator())
      action->setEnabled(IsCommandEnabled(action->data().toInt()));
}

QWidget *CSorvanGridView::Editor() const {
  QWidget *editor = grid_.ActiveEditor();
  if (!editor)
    return nullptr;
  if (auto *line = qobject_cast<QLineEdit *>(editor))
    return line;
  return editor->findChild<QLineEdit *>();
}

void CSorvanGridView::RunOnEditor(int commandId) {
  auto *line = qobject_cast<QLineEdit *>(Editor());
  if (!line)
    return;
  switch (commandId) {
  case ID_EDIT_UNDO:
    line->undo();
    break;
  case ID_EDIT_CUT:
    line->cut();
    break;
  case ID_EDIT_COPY:
    line->copy();
    break;
  case ID_EDIT_PASTE:
    line->paste();
    break;
  case ID_EDIT_DELETE: {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(line, &press);
    break;
  }
  default:
    break; // redo does nothing in the editor
  }
}

bool CSorvanGridView::RunCommand(int commandId) {
  if (!IsCommandEnabled(commandId))
    return false;
  AccountFile *file = File();
  const bool editing = grid_.IsEditing();
  switch (commandId) {
  case ID_EDIT_UNDO:
    if (editing)
      RunOnEditor(commandId);
    else if (file->History().Undo())
      file->Notify(kRecordEditHint);
    break;
  case ID_EDIT_REDO:
    if (!editing && file->History().Redo())
      file->Notify(kRecordEditHint);
    break;
  case ID_EDIT_CUT:
    editing ? RunOnEditor(commandId) : grid_.CutSelectedRows();
    break;
  case ID_EDIT_COPY:
    editing ? RunOnEditor(commandId) : grid_.CopySelectedRows();
    break;
  case ID_EDIT_PASTE:
    editing ? RunOnEditor(commandId) : grid_.PasteRows();
    break;
  case ID_EDIT_DELETE:
    editing ? RunOnEditor(commandId) : grid_.DeleteSelectedRows();
    break;
  case ID_GRID_REFRESH:
    Requery();
    break;
  case ID_EDIT_FIND:
    OpenFindDialog();
    break;
  case ID_MAKE_RECURRING: {
    const CRowItem row = CRowItem::ReadFromGrid(
        *file, grid_.SelectedRecordRows().front(), &grid_);
    emit makeRecurringRequested(row.KeyValue(), row.groupId);
    break;
  }
  default:
    return false;
  }
  UpdateCommands();
  emit summaryChanged();
  return true;
}

void CSorvanGridView::OpenFindDialog() {
  // Every use opens a new dialog.
  if (findDialog_)
    findDialog_->close();
  findDialog_ = new CFindDialog(this);
  findDialog_->setAttribute(Qt::WA_DeleteOnClose);
  connect(findDialog_, &CFindDialog::findNext, this,
          [this](const QString &text, unsigned flags) {
            grid_.FindNext(text, flags);
          });
  findDialog_->show();
}

bool CSorvanGridView::HasPrintSelection() const {
  return !grid_.SelectedRanges().empty() && !grid_.SelectedRecordRows().empty();
}

std::unique_ptr<PrintJob> CSorvanGridView::MakePrintJob(bool selectedOnly) const {
  return std::make_unique<RecordsPrintJob>(grid_, selectedOnly);
}
