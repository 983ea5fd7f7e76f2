// What the "视图" page of the options sheet does with the named views: a
// working copy edited by "添加->", "<-删除" and "更改->", written when the
// page is applied. Names compare ignoring case, as the engine compares
// them; "主视图" can be neither changed nor deleted.
#pragma once

#include "model/view_list.h"

class CDBVisiter;

class ViewConfig {
public:
  explicit ViewConfig(const QList<ViewItem> &views) : views_(views) {}

  const QList<ViewItem> &Views() const { return views_; }
  const QList<ViewItem> &ToDelete() const { return toDelete_; }
  bool Modified() const { return modified_; }

  // Whether the entry at index may be deleted or changed.
  bool CanEdit(int index) const;
  // Appends the view; false (nothing done) when a field is empty or the
  // name is listed already.
  bool Add(const QString &name, const QString &sql);
  // Removes the entry at index (the selected one); false when nothing is
  // selected, a field is empty or the entry is "主视图".
  bool Remove(int index, const QString &name, const QString &sql);
  // Replaces the entry at index by (name, sql), appended at the end; checks
  // that the add can succeed before it deletes anything.
  bool Change(int index, const QString &name, const QString &sql);
  // Deletes the views on the delete list, then writes every view of the
  // working copy in order; false at the first failure.
  bool Apply(CDBVisiter &session);

private:
  int IndexOf(const QString &name, int except = -1) const;

  QList<ViewItem> views_;
  QList<ViewItem> toDelete_;
  bool modified_ = false;
};
