// Passing a notification to panes, pages and the caption bar in order.
#include "window/change_dispatcher.h"

void ChangeDispatcher::AddPane(unsigned bit, PaneRebuild rebuild) {
  panes_.push_back({bit, std::move(rebuild)});
}

void ChangeDispatcher::AddPage(PageNotify notify) {
  pages_.push_back(std::move(notify));
}

void ChangeDispatcher::SetCaption(CaptionUpdate update) {
  caption_ = std::move(update);
}

void ChangeDispatcher::Dispatch(unsigned hint) const {
  for (const Pane &pane : panes_)
    if ((hint & pane.bit) && pane.rebuild)
      pane.rebuild();
  for (const PageNotify &page : pages_)
    if (page)
      page(hint);
  if (caption_)
    caption_();
}
