// The document window of the group pane benchmarks: the group pane and
// the records page as the selected tab, every hint passed to both.
#pragma once

#include "window/document_window.h"
#include "groups/ui/sorvan_group_pane.h"
#include "document/account_file.h"
#include "records/ui/sorvan_grid_view.h"

#include <QList>

#include <memory>

// A document window with the group pane and the records page as the
// selected tab; its dispatcher passes every hint to both. Without the pane
// the active groups are the ones set by hand.
class GroupPaneWindow : public DocumentWindow, public AccountFileListener {
public:
  GroupPaneWindow(AccountFile &file, bool withPane) : file_(file) {
    file_.AddListener(this);
    if (withPane)
      pane = std::make_unique<CSorvanGroupPane>(this);
    page = std::make_unique<CSorvanGridView>(this);
    page->resize(900, 600);
    page->SetActivePage(true);
  }
  ~GroupPaneWindow() override { file_.RemoveListener(this); }

  AccountFile *File() const override { return &file_; }
  QList<int> ActiveGroupIds() const override {
    return pane ? pane->ActiveGroupIds() : groups;
  }
  bool FilterWhere(QString &where) const override {
    where.clear();
    return true;
  }
  void Notify(AccountFile &file, unsigned hint) override {
    if (pane)
      pane->OnChangeNotify(hint);
    if (page)
      page->OnChangeNotify(file, hint);
    if (hint & HINT_RECORDS)
      ++reloads;
  }

  std::unique_ptr<CSorvanGroupPane> pane;
  std::unique_ptr<CSorvanGridView> page;
  QList<int> groups;
  long reloads = 0;

private:
  AccountFile &file_;
};
