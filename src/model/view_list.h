// The named views of an account file (table ViewMap) and the history of the
// views made current.
#pragma once

#include <QList>
#include <QString>

class CDBVisiter;

struct ViewItem {
  QString name; // ItemName
  QString sql;  // ItemSql
  bool operator==(const ViewItem &other) const = default;
};

struct ViewList {
  QList<ViewItem> views;   // in SortIndex order
  QList<ViewItem> history; // views made current, the most recent last
  int current = -1;        // position of the current view in history
};

// Replaces the views by "Select * From ViewMap Order By SortIndex" and makes
// the first one current; the history stays.
void LoadViews(CDBVisiter &session, ViewList &list);
// Updates the view of that name or appends a new one.
bool SaveView(CDBVisiter &session, const ViewItem &view);
bool DeleteView(CDBVisiter &session, const QString &name);
