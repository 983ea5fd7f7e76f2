// The common base of the pages of an account file's window: the records
// page and the two chart pages.
//
// A page reloads itself when a change notification concerns it. While it is
// not the selected tab it only marks itself, and reloads once when it is
// shown again, however many changes arrived meanwhile. The window that hosts
// the page gives it the file and the scope it works on (DocumentWindow).
#pragma once

#include <QString>
#include <QWidget>

#include <memory>

class AccountFile;
class DocumentWindow;
class PrintJob;

class CSorvanBaseView : public QWidget {
  Q_OBJECT

public:
  // The kinds GetPageKind answers.
  enum PageKind { BasePage = 0, RecordsPage = 1, BarChartPage = 2,
                  PieChartPage = 3, BudgetPage = 4 };

  explicit CSorvanBaseView(DocumentWindow *window, QWidget *parent = nullptr);
  ~CSorvanBaseView() override;

  virtual int GetPageKind() const { return BasePage; }
  // A change notification of the file. Reacts when the hint shares a bit
  // with PageHintBits(): refreshes at once while the page is showing,
  // otherwise marks it for reload.
  virtual void OnChangeNotify(AccountFile &file, unsigned hint);
  // Reloads the page now; the base only clears the pending mark.
  virtual void Refresh();
  // The note on the page's current selection for the status bar; false
  // when there is none to show.
  virtual bool GetSummaryText(QString &text) const;

  // Printing: what the page prints, as it shows it now. A page that prints
  // answers CanPrint and makes a job; selectedOnly asks for the selected
  // records alone ("仅打印选中的记录"), which HasPrintSelection offers. The
  // base prints nothing.
  virtual bool CanPrint() const { return false; }
  // Why a page that prints has nothing to print now (a chart that shows
  // only its hint), said instead of printing; empty when it prints.
  virtual QString NothingToPrint() const { return QString(); }
  virtual bool HasPrintSelection() const { return false; }
  virtual std::unique_ptr<PrintJob> MakePrintJob(bool selectedOnly) const;

  // Set by the page tabs: true while this page is the selected tab. A page
  // that becomes active with a reload pending reloads now.
  void SetActivePage(bool active);
  bool IsActivePage() const { return isActivePage_; }
  bool IsReloadPending() const { return reloadPending_; }

  DocumentWindow *Window() const { return window_; }
  // The window's file; null without a window or file.
  AccountFile *File() const;

signals:
  // The text GetSummaryText gives (or whether it gives one) may have changed.
  void summaryChanged();

protected:
  // The hint bits this page reloads on; the base reacts to every hint.
  virtual unsigned PageHintBits() const;
  // Refreshes now when the page is showing, else marks it for reload.
  void ReloadOrMark();
  void SetReloadPending(bool pending) { reloadPending_ = pending; }

private:
  DocumentWindow *window_;
  bool isActivePage_ = false;
  bool reloadPending_ = false;
};
