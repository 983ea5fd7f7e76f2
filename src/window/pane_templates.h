// The named templates of one kind of pane, as read from the account file:
// reloading, saving under a name (overwriting a template of that name) and
// deleting. The list changes only after the file did, so a failed write
// leaves it as it was.
#pragma once

#include "groups/filter_set.h"

#include <QList>
#include <QStringList>

class CDBVisiter;

class PaneTemplates {
public:
  explicit PaneTemplates(int classId = 0) : classId_(classId) {}

  int ClassId() const { return classId_; }
  void SetClassId(int classId) { classId_ = classId; }

  const QList<FilterSet> &Sets() const { return sets_; }
  int Size() const { return int(sets_.size()); }
  const FilterSet &At(int i) const { return sets_.at(i); }
  QStringList Titles() const;
  // The template of that exact title; -1 when there is none.
  int IndexOf(const QString &title) const;

  // Reads the templates of the class in file order; empty without a session.
  void Reload(CDBVisiter *session);
  // Stores conditions under title, in the template of that title or a new
  // one at the end; the template's index, or -1 when the file refused the
  // write (the list is then unchanged).
  int Save(CDBVisiter &session, const QString &title,
           const QList<FilterCondition> &conditions);
  // Deletes template i from the file and the list; false when the file
  // refused (the list is then unchanged).
  bool Remove(CDBVisiter &session, int i);

private:
  int classId_;
  QList<FilterSet> sets_;
};
