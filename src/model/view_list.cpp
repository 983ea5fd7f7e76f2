// Loading, saving and deleting the named views of ViewMap.
#include "model/view_list.h"

#include "db/db_visiter.h"
#include "model/sql_text.h"

namespace {

// Moves view to the end of the history (dropping its first earlier entry)
// and makes it current.
void MakeCurrent(ViewList &list, const ViewItem &view) {
  const qsizetype earlier = list.history.indexOf(view);
  if (earlier >= 0)
    list.history.removeAt(earlier);
  list.history.append(view);
  list.current = int(list.history.size()) - 1;
}

bool ViewExists(CDBVisiter &session, const QString &name) {
  return session.Query(QString::asprintf(
             "Select * From ViewMap Where ItemName='%s'",
             QuotedSqlArg(name).constData())) != 0;
}

// The highest SortIndex; 0 for an empty table, whose maximum is null.
// False when the maximum can't be read.
bool LargestSortIndex(CDBVisiter &session, int &largest) {
  if (session.Query(QStringLiteral("SELECT max(SortIndex) FROM ViewMap")) == 0)
    return false;
  largest = session.GetString(0).isEmpty() ? 0 : session.GetInt(0);
  return true;
}

} // namespace

void LoadViews(CDBVisiter &session, ViewList &list) {
  list.views.clear();
  const QString sql = QStringLiteral("Select * From ViewMap Order By SortIndex");
  if (session.Query(sql) > 0) {
    do {
      ViewItem view;
      view.sql = session.GetString(QStringLiteral("ItemSql"));
      view.name = session.GetString(QStringLiteral("ItemName"));
      list.views.append(view);
    } while (session.MoveNext());
  }
  if (!list.views.isEmpty())
    MakeCurrent(list, list.views.first());
}

bool SaveView(CDBVisiter &session, const ViewItem &view) {
  QString statement;
  if (ViewExists(session, view.name)) {
    statement = QString::asprintf(
        "Update ViewMap Set ItemSql='%s' Where ItemName='%s'",
        QuotedSqlArg(view.sql).constData(), QuotedSqlArg(view.name).constData());
  } else {
    int largest = 0;
    if (!LargestSortIndex(session, largest))
      return false;
    statement = QString::asprintf(
        "Insert Into ViewMap (SortIndex,ItemSql,ItemName) Values (%d,'%s','%s')",
        largest + 1, QuotedSqlArg(view.sql).constData(),
        QuotedSqlArg(view.name).constData());
  }
  return session.Execute(statement);
}

bool DeleteView(CDBVisiter &session, const QString &name) {
  return session.Execute(
      QString::asprintf("DELETE * FROM ViewMap WHERE ItemName='%s'",
                        QuotedSqlArg(name).constData()));
}
