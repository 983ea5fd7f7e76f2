// A document window: the folder bar of the four side panes on the left,
// the caption bar with the file's main show message above the page host on
// the right. It listens to its account file and passes every change on in
// the dispatcher's order. Several windows may show one document.
#pragma once

#include "window/change_dispatcher.h"
#include "window/document_window.h"
#include "document/account_file.h"

#include <QWidget>

class CShowFilterPane;
class CSorvanBarChartView;
class CSorvanBarSetUpPane;
class CSorvanBudgetView;
class CSorvanGridView;
class CSorvanPieChartView;
class CSorvanPieSetUpPane;
class CSorvanGroupPane;
class CSorvanelDoc;
class CSorvanelView;
class QLabel;
class QPrinter;
class QSplitter;
class QToolBox;

class CChildFrame : public QWidget,
                    public DocumentWindow,
                    public AccountFileListener {
  Q_OBJECT

public:
  // Folders of the side bar, in order.
  enum Folder { kGroupFolder = 0, kFilterFolder, kPieFolder, kBarFolder };

  // Builds the window and starts listening to the document's file, so the
  // notification that ends the file's open reaches it.
  explicit CChildFrame(CSorvanelDoc &doc, QWidget *parent = nullptr);
  // Stops listening before anything of the window goes.
  ~CChildFrame() override;

  CSorvanelDoc &Doc() const { return doc_; }

  // DocumentWindow
  AccountFile *File() const override;
  QList<int> ActiveGroupIds() const override;
  bool FilterWhere(QString &where) const override;
  bool ReadChartSetUp(ChartKind kind, ChartSetUp &setUp) const override;
  void ShowRecordsNarrowedTo(const QList<FilterCondition> &conditions) override;
  CSorvanBarSetUpPane *BarSetUpPane() const { return barSetUp_; }
  CSorvanPieSetUpPane *PieSetUpPane() const { return pieSetUp_; }
  CSorvanGroupPane *GroupPane() const { return groupPane_; }
  CShowFilterPane *FilterPane() const { return filterPane_; }

  // AccountFileListener: runs the dispatcher.
  void Notify(AccountFile &file, unsigned hint) override;

  CSorvanelView *View() const { return view_; }
  QToolBox *FolderBar() const { return folders_; }
  QLabel *CaptionBar() const { return caption_; }
  QWidget *ActivePage() const;

  // The combined WHERE text of the active groups and the filter.
  QString ScopeWhere() const;
  // "筛选条件无效：类别未选择任何选项" while the filter cannot be built (the
  // pages then show no records); empty otherwise.
  QString FilterNote() const;
  // The caption of the active groups for the status bar.
  QString ActiveGroupCaption() const;
  // The summary of the active page's selection; empty when it has none.
  QString SummaryText() const;
  // The edit and refresh commands of the main window, run on the active
  // page (PageCommandId).
  void RunPageCommand(int command);
  bool CanRunPageCommand(int command) const;
  // 打印设置, 打印 and 打印预览 (PC_PRINT_SETUP, PC_PRINT, PC_PRINT_PREVIEW)
  // on the active page, with the main window's printer.
  void RunPrintCommand(int command, QPrinter &printer);
  // The records page handles the edit keys itself while it is shown.
  bool RecordsPageActive() const;
  CSorvanGridView *GridPage() const { return gridPage_; }
  CSorvanBudgetView *BudgetPage() const { return budgetPage_; }
  // Ends a cell edit in progress, so that it is stored before the window
  // goes.
  void EndEdit();

signals:
  // After every notification: the caption and the status texts may differ.
  void Changed();
  // A passing note for the status bar ("餐饮本月已超出预算 120.00 元").
  void StatusNote(const QString &text);

private:
  void BuildPanes();
  void BuildPages();
  void OnPageSelected(QWidget *page, int kind);
  void UpdateCaption();

  CSorvanelDoc &doc_;
  ChangeDispatcher dispatcher_;
  QSplitter *splitter_;
  QToolBox *folders_;
  QLabel *caption_;
  CSorvanelView *view_;
  CSorvanGroupPane *groupPane_ = nullptr;
  CShowFilterPane *filterPane_ = nullptr;
  CSorvanPieSetUpPane *pieSetUp_ = nullptr;
  CSorvanBarSetUpPane *barSetUp_ = nullptr;
  CSorvanGridView *gridPage_ = nullptr;
  CSorvanPieChartView *piePage_ = nullptr;
  CSorvanBarChartView *barPage_ = nullptr;
  CSorvanBudgetView *budgetPage_ = nullptr;
};
