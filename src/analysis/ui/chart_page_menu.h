// The pop-up menu of a chart page. Its entry "保存图片…" saves the chart as
// a PNG, SVG or PDF picture drawn by the chart's own painting code.
#pragma once

#include <functional>

class QMenu;
class QWidget;

// The menu of page, owned by it; "保存图片…" calls saveImage.
QMenu *MakeChartPageMenu(QWidget *page, const std::function<void()> &saveImage);
