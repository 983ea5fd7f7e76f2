// Reading a chart page's inputs from the window that hosts it: the active
// groups and the filter text of the window, and the sum column, scope boxes
// and set-up condition or expanded columns of the chart's set-up pane. A
// window without the pane gives no sum column, so the chart stays empty.
#pragma once

#include "analysis/chart_set_up.h"
#include "window/document_window.h"

class CSorvanSetUpPane;

ChartSetUp BarChartSetUp(const DocumentWindow *window);
ChartSetUp PieChartSetUp(const DocumentWindow *window);

// The pane's part of the inputs of the chart of kind, for a window's
// ReadChartSetUp.
void ReadSetUpPane(const CSorvanSetUpPane &pane, ChartKind kind,
                   ChartSetUp &setUp);
