// The common base of the pages of an account file's window.
#include "window/sorvan_base_view.h"

#include "window/document_window.h"
#include "document/account_file.h"
#include "print/print_job.h"

CSorvanBaseView::CSorvanBaseView(DocumentWindow *window, QWidget *parent)
    : QWidget(parent), window_(window) {}

CSorvanBaseView::~CSorvanBaseView() = default;

unsigned CSorvanBaseView::PageHintBits() const { return HINT_ALL; }

void CSorvanBaseView::OnChangeNotify(AccountFile &, unsigned hint) {
  if ((hint & PageHintBits()) == 0)
    return;
  ReloadOrMark();
}

void CSorvanBaseView::ReloadOrMark() {
  if (isActivePage_)
    Refresh();
  else
    reloadPending_ = true;
}

void CSorvanBaseView::Refresh() { reloadPending_ = false; }

bool CSorvanBaseView::GetSummaryText(QString &) const { return false; }

std::unique_ptr<PrintJob> CSorvanBaseView::MakePrintJob(bool) const {
  return nullptr;
}

void CSorvanBaseView::SetActivePage(bool active) {
  isActivePage_ = active;
  if (active && reloadPending_)
    Refresh();
}

AccountFile *CSorvanBaseView::File() const {
  return window_ ? window_->File() : nullptr;
}
