// A chart page's inputs from its window and set-up pane.
#include "analysis/ui/chart_set_up_source.h"

#include "analysis/ui/sorvan_bar_setup_pane.h"
#include "analysis/ui/sorvan_pie_setup_pane.h"
#include "window/document_window.h"

namespace {

// The window's part: active groups and filter.
ChartSetUp WindowScope(const DocumentWindow *window) {
  ChartSetUp setUp;
  if (!window)
    return setUp;
  setUp.groupWhere = GroupIdsWhere(window->ActiveGroupIds());
  setUp.filterOk = window->FilterWhere(setUp.filterWhere);
  return setUp;
}

// The pane's part both charts read.
void ReadPane(const CSorvanSetUpPane &pane, ChartSetUp &setUp) {
  setUp.sumField = pane.SumColumn();
  setUp.groupScope = pane.GroupScope();
  setUp.filterScope = pane.FilterScope();
}

} // namespace

ChartSetUp BarChartSetUp(const DocumentWindow *window) {
  ChartSetUp setUp = WindowScope(window);
  const CSorvanSetUpPane *pane = window ? window->BarSetUpPane() : nullptr;
  if (!pane)
    return setUp;
  ReadPane(*pane, setUp);
  setUp.setUpCondition.ok = pane->GetSetUpCondition(setUp.setUpCondition.text);
  return setUp;
}

ChartSetUp PieChartSetUp(const DocumentWindow *window) {
  ChartSetUp setUp = WindowScope(window);
  const CSorvanSetUpPane *pane = window ? window->PieSetUpPane() : nullptr;
  if (!pane)
    return setUp;
  ReadPane(*pane, setUp);
  setUp.expanded = pane->ExpandedColumns();
  return setUp;
}
