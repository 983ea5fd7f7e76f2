// The main window: menus, the toolbar "标准", the status bar with the
// active-group pane (103) and the selection-summary pane (104), and the
// tabbed area of document windows. It shows the open documents (their list
// and rules are OpenDocuments) and runs the document commands: new, open,
// save, save as, close, close all.
#pragma once

#include "app/open_documents.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class CChildFrame;
class CSorvanelDoc;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class QTabBar;
class RecentFileList;
class StartupSettings;

// The rich text of status pane 103 for the caption of the active groups
// (escaped: a title may hold "<" or "&").
QString GroupPaneText(const QString &caption);

class CMainFrame : public QMainWindow {
  Q_OBJECT

public:
  // settings: the start-up settings of this copy of the program.
  CMainFrame(StartupSettings &settings, RecentFileList &recent,
             QWidget *parent = nullptr);
  ~CMainFrame() override;

  // Opens path in a new document window; an open file only comes forward.
  // A file that does not open leaves no window and no recent entry.
  bool OpenDocument(const QString &path);
  // The new command: the start-up choice while no document window is open,
  // else the new-file choice.
  bool NewDocument();
  // Closes a document: ends its edits, destroys its windows, then closes
  // and compacts its file.
  void CloseDocument(CSorvanelDoc *doc);
  void CloseAllDocuments();
  // Closes one document window; the last window of a document closes the
  // document.
  void CloseWindow(CChildFrame *child);
  // Saves the active document under path (save as without the dialog).
  bool SaveActiveAs(const QString &path);

  CChildFrame *ActiveChild() const;
  QList<CChildFrame *> Children() const;
  QList<CSorvanelDoc *> Documents() const;
  // The document of a path (compared canonically), or null.
  CSorvanelDoc *DocumentOf(const QString &path) const;
  QMdiArea *MdiArea() const { return mdi_; }
  QLabel *GroupPaneLabel() const { return groupPane_; }
  QLabel *SummaryPaneLabel() const { return summaryPane_; }
  // A command by its text without "&" and key ("保存", "关闭其它页").
  QAction *Command(const QString &text) const;

  // The folder of the template account files (the program folder's
  // "system" unless set).
  void SetSystemFolder(const QString &folder) { systemFolder_ = folder; }

  // The printer of the print commands, made when first asked for; its page
  // set-up holds while the program runs.
  QPrinter &Printer();

  // Brings the status panes, the title and the commands up to date.
  void UpdateUi();

public slots:
  void OnNew();
  void OnOpen();
  void OnClose();
  void OnSave();
  void OnSaveAs();
  void OnCloseOthers();
  void OnNewWindow();
  void OnCopyFilePath();
  void OnRestoreBackup();
  void OnImport();
  void OnImportRules();
  void OnExport();
  void OnExportReport();
  void OnRecurring();
  void OnOptions();
  void OnAbout();
  // 帮助 → 使用说明 (F1): the user guide at the section of the page in front.
  void OnHelp();

protected:
  void closeEvent(QCloseEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  // Undo and redo keys that no widget took (the focus in the group pane,
  // or nowhere after a dialog closed) run 撤消 and 重做 while they are
  // enabled: the records page leaves its keys to itself only inside it.
  void keyPressEvent(QKeyEvent *event) override;

private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  void LoadStyleSheet();
  void UpdateRecentMenu();
  void UpdateTabTips();
  void ShowTabMenu(const QPoint &globalPos, bool onTab);

  // The start-up choice: the default file or the start-up dialog.
  bool StartupChoice();
  // The new-file wizard and the template copy; the new file's path or
  // empty text.
  QString MakeNewFile(const QString &folder);

  CChildFrame *AddWindow(CSorvanelDoc &doc, bool show);
  void OnSubWindowGone(CSorvanelDoc *doc);
  void PageCommand(int command);
  // 打印设置, 打印 and 打印预览 on the active page.
  void PrintCommand(int command);

  StartupSettings &settings_;
  RecentFileList &recent_;
  QMdiArea *mdi_;
  QLabel *groupPane_;
  QLabel *summaryPane_;
  QLabel *filterNotePane_; // why a filter cannot be built, while it cannot
  QMenu *recentMenu_ = nullptr;
  QMenu *editMenu_ = nullptr;
  QMenu *windowMenu_ = nullptr;
  QList<QAction *> actions_;
  OpenDocuments documents_;
  QString systemFolder_;
  std::unique_ptr<QPrinter> printer_;
};
