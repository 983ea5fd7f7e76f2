// A chart page's inputs from its window and set-up pane.
#include "analysis/ui/chart_set_up_source.h"

#include "analysis/ui/sorvan_bar_setup_pane.h"
#include "analysis/ui/sorvan_pie_setup_pane.h"

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

} // namespace

bool ReadSetUpPanes(const CSorvanBarSetUpPane *bar,
                    const CSorvanPieSetUpPane *pie, ChartKind kind,
                    ChartSetUp &setUp) {
  const CSorvanSetUpPane *pane = kind == ChartKind::Bar
                                     ? static_cast<const CSorvanSetUpPane *>(bar)
                                     : pie;
  if (!pane)
    return false;
  setUp.sumField = pane->SumColumn();
  setUp.groupScope = pane->GroupScope();
  setUp.filterScope = pane->FilterScope();
  setUp.side = pane->Side();
  if (kind == ChartKind::Bar)
    setUp.setUpCondition.ok = pane->GetSetUpCondition(setUp.setUpCondition.text);
  else
    setUp.expanded = pane->ExpandedColumns();
  return true;
}

ChartSetUp BarChartSetUp(const DocumentWindow *window) {
  ChartSetUp setUp = WindowScope(window);
  if (window)
    window->ReadChartSetUp(ChartKind::Bar, setUp);
  return setUp;
}

ChartSetUp PieChartSetUp(const DocumentWindow *window) {
  ChartSetUp setUp = WindowScope(window);
  if (window)
    window->ReadChartSetUp(ChartKind::Pie, setUp);
  return setUp;
}
