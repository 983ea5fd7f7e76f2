// What the pages and panes of an account file's window ask of that window:
// the file, the scope the records page and the charts work on, and the
// panes whose state the pages read. The document window implements it;
// tests give a page a small fake.
#pragma once

#include <QList>
#include <QString>

class AccountFile;
class CSorvanBarSetUpPane;
class CSorvanPieSetUpPane;

class DocumentWindow {
public:
  virtual ~DocumentWindow() = default;

  virtual AccountFile *File() const = 0;

  // IDs of the active groups of the group pane, in tree order.
  virtual QList<int> ActiveGroupIds() const = 0;
  // The filter pane's WHERE text (empty when nothing filters). False when it
  // cannot be built; pages then show nothing rather than a partial filter.
  virtual bool FilterWhere(QString &where) const = 0;

  // The chart set-up panes of the window; null while there are none.
  virtual CSorvanBarSetUpPane *BarSetUpPane() const { return nullptr; }
  virtual CSorvanPieSetUpPane *PieSetUpPane() const { return nullptr; }
};
