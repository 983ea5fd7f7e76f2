// Reading a chart page's inputs from the window that hosts it: the active
// groups and the filter text of the window, and the sum column, scope boxes
// and set-up condition or expanded columns of the chart's set-up pane. A
// window without the pane gives no sum column, so the chart stays empty.
#pragma once

#include "analysis/chart_set_up.h"
#include "window/document_window.h"

class CSorvanBarSetUpPane;
class CSorvanPieSetUpPane;

ChartSetUp BarChartSetUp(const DocumentWindow *window);
ChartSetUp PieChartSetUp(const DocumentWindow *window);

// A window's ReadChartSetUp over its two set-up panes: adds the part of the
// pane of the chart of kind; false when that pane is null.
bool ReadSetUpPanes(const CSorvanBarSetUpPane *bar,
                    const CSorvanPieSetUpPane *pie, ChartKind kind,
                    ChartSetUp &setUp);
