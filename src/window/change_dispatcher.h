// The order in which a document window passes a change notification on:
// the side panes whose bits are set (group 0x08, filter 0x20, bar set-up
// 0x40, pie set-up 0x80), then every page (records, pie, bar; each tests its
// own bit), and the caption bar last, so the caption is composed from the
// panes' new state.
#pragma once

#include <functional>
#include <vector>

class ChangeDispatcher {
public:
  using PaneRebuild = std::function<void()>;
  using PageNotify = std::function<void(unsigned hint)>;
  using CaptionUpdate = std::function<void()>;

  // Panes are rebuilt in the order they were added.
  void AddPane(unsigned bit, PaneRebuild rebuild);
  // Pages are told in the order they were added.
  void AddPage(PageNotify notify);
  void SetCaption(CaptionUpdate update);

  void Dispatch(unsigned hint) const;

private:
  struct Pane {
    unsigned bit;
    PaneRebuild rebuild;
  };
  std::vector<Pane> panes_;
  std::vector<PageNotify> pages_;
  CaptionUpdate caption_;
};
