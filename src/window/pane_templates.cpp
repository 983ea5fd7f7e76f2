// Saved templates of a pane.
#include "window/pane_templates.h"

#include "groups/filter_set_store.h"

QStringList PaneTemplates::Titles() const {
  QStringList titles;
  for (const FilterSet &set : sets_)
    titles.append(set.title);
  return titles;
}

int PaneTemplates::IndexOf(const QString &title) const {
  for (int i = 0; i < sets_.size(); ++i)
    if (sets_.at(i).title == title)
      return i;
  return -1;
}

void PaneTemplates::Reload(CDBVisiter *session) {
  sets_.clear();
  if (session)
    sets_ = LoadFilterSets(*session, classId_);
}

int PaneTemplates::Save(CDBVisiter &session, const QString &title,
                        const QList<FilterCondition> &conditions) {
  int i = IndexOf(title);
  FilterSet set;
  if (i >= 0) {
    set = sets_.at(i);
  } else {
    set.classId = classId_;
    set.title = title;
  }
  set.conditions = conditions;
  if (!SaveFilterSet(session, set))
    return -1;
  if (i < 0) {
    sets_.append(set);
    return int(sets_.size()) - 1;
  }
  sets_[i] = set;
  return i;
}

bool PaneTemplates::Remove(CDBVisiter &session, int i) {
  if (i < 0 || i >= sets_.size())
    return false;
  if (!DeleteFilterSet(session, sets_.at(i).id))
    return false;
  sets_.removeAt(i);
  return true;
}
