// Editing and writing the named views of the "视图" page.
#include "app/options/view_config.h"

namespace {

const QString kMainView = QStringLiteral("主视图");

} // namespace

int ViewConfig::IndexOf(const QString &name, int except) const {
  for (int i = 0; i < views_.size(); ++i)
    if (i != except && views_[i].name.compare(name, Qt::CaseInsensitive) == 0)
      return i;
  return -1;
}

bool ViewConfig::CanEdit(int index) const {
  return index >= 0 && index < views_.size() &&
         views_[index].name.compare(kMainView, Qt::CaseInsensitive) != 0;
}

bool ViewConfig::Add(const QString &name, const QString &sql) {
  if (name.isEmpty() || sql.isEmpty() || IndexOf(name) >= 0)
    return false;
  views_.append({name, sql});
  modified_ = true;
  return true;
}

bool ViewConfig::Remove(int index, const QString &name, const QString &sql) {
  if (!CanEdit(index) || name.isEmpty() || sql.isEmpty())
    return false;
  toDelete_.append(views_.takeAt(index));
  modified_ = true;
  return true;
}

bool ViewConfig::Change(int index, const QString &name, const QString &sql) {
  if (!CanEdit(index) || name.isEmpty() || sql.isEmpty())
    return false;
  if (IndexOf(name, index) >= 0 || name.compare(kMainView, Qt::CaseInsensitive) == 0)
    return false;
  toDelete_.append(views_.takeAt(index));
  views_.append({name, sql});
  modified_ = true;
  return true;
}

bool ViewConfig::Apply(CDBVisiter &session) {
  while (!toDelete_.isEmpty()) {
    if (!DeleteView(session, toDelete_.first().name))
      return false;
    toDelete_.removeFirst();
  }
  for (const ViewItem &view : views_)
    if (!SaveView(session, view))
      return false;
  return true;
}
