// What the pages and panes of an account file's window ask of that window:
// the file, the scope the records page and the charts work on, and the
// chart set-up its panes hold. The document window implements it; tests
// give a page a small fake.
#pragma once

#include "analysis/chart_set_up.h"
#include "groups/filter_set.h"

#include <QList>
#include <QString>

class AccountFile;

enum class ChartKind { Bar, Pie };

class DocumentWindow {
public:
  virtual ~DocumentWindow() = default;

  virtual AccountFile *File() const = 0;

  // IDs of the active groups of the group pane, in tree order.
  virtual QList<int> ActiveGroupIds() const = 0;
  // The filter pane's WHERE text (empty when nothing filters). False when it
  // cannot be built; pages then show nothing rather than a partial filter.
  virtual bool FilterWhere(QString &where) const = 0;

  // Adds what the set-up pane of the chart of kind holds to setUp (the sum
  // column, the scope boxes, the bar chart's condition or the pie chart's
  // expanded columns). False while the window has no such pane.
  virtual bool ReadChartSetUp(ChartKind kind, ChartSetUp &setUp) const {
    (void)kind;
    (void)setUp;
    return false;
  }

  // Shows the records page with the filter narrowed by conditions (each
  // replacing the filter's condition on its column; the others stay), so
  // that the user sees the filter and can clear it.
  virtual void ShowRecordsNarrowedTo(const QList<FilterCondition> &conditions) {
    (void)conditions;
  }
};
