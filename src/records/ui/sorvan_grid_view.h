// The records page ("表格") of an account file's window: one records grid
// showing the active groups of the window, narrowed by its filter and
// ordered by key; the edit commands of menu, pop-up menu and keys; and the
// summary of the selected cells for the status bar.
//
// The page reloads on the hints 0x01 (7 after groups or the filter changed,
// 0xFFFF after opening), not on 6: the grid already shows each stored
// change. A frame hosts it as any widget: it adds Actions() to its 编辑
// menu (the actions carry their keys and command IDs as data), passes the
// file's hints to OnChangeNotify, tells the page when its tab is selected
// (SetActivePage) and shows GetSummaryText when summaryChanged is emitted.
#pragma once

#include "records/ui/find_dialog.h"
#include "window/sorvan_base_view.h"
#include "records/ui/sorvans_grid_ctrl.h"

#include <QList>
#include <QPointer>

class CellGridView;
class QAction;
class QMenu;

class CSorvanGridView : public CSorvanBaseView {
  Q_OBJECT

public:
  explicit CSorvanGridView(DocumentWindow *window, QWidget *parent = nullptr);
  ~CSorvanGridView() override;

  int GetPageKind() const override { return RecordsPage; }
  void OnChangeNotify(AccountFile &file, unsigned hint) override;
  // Sets up the columns and runs Requery.
  void Refresh() override;
  // "统计=%d 求和=%s 平均=%s" for two or more selected cells.
  bool GetSummaryText(QString &text) const override;
  // Prints the records as the grid shows them; a selection of cells in
  // record rows (not just the current cell) offers "仅打印选中的记录".
  bool CanPrint() const override { return true; }
  bool HasPrintSelection() const override;
  std::unique_ptr<PrintJob> MakePrintJob(bool selectedOnly) const override;
  // One query per active group, then the grid is loaded.
  void Requery();

  // The page's commands in menu order (separators included), each with its
  // command ID as data and its keys.
  const QList<QAction *> &Actions() const { return actions_; }
  QAction *Action(int commandId) const;
  // Runs a command (RecordsCommandId); false when it is not enabled.
  bool RunCommand(int commandId);
  bool IsCommandEnabled(int commandId) const;
  // Brings the enabled state of the commands up to date.
  void UpdateCommands();

  CSorvansGridCtrl &Grid() { return grid_; }
  CellGridView *GridView() const { return view_; }
  QMenu *PopupMenu() const { return menu_; }
  // The find dialog opened last, while it is open.
  CFindDialog *FindDialog() const { return findDialog_; }

signals:
  // "设为定期记录" on the record (key, groupId): the shell makes a
  // recurring record of it.
  void makeRecurringRequested(int key, int groupId);

protected:
  unsigned PageHintBits() const override;
  void resizeEvent(QResizeEvent *event) override;

private:
  void MakeActions();
  QAction *AddAction(int commandId, const QString &text,
                     const QList<QKeySequence> &keys);
  // The open cell editor's line editor, or null.
  QWidget *Editor() const;
  void RunOnEditor(int commandId);
  void OpenFindDialog();
  void OnSelectionChanged();

  CSorvansGridCtrl grid_;
  CellGridView *view_;
  QMenu *menu_;
  QList<QAction *> actions_;
  QPointer<CFindDialog> findDialog_;
};
