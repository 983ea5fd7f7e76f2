// The texts the chart widgets show: the bar chart's title, the bar tip, the
// pie slice names and the slice shares.
#pragma once

#include <QString>

struct BarSeries;

// "按月汇总", followed by the side summed and the note of the series'
// unreadable dates when there are some: "按月汇总（支出；2 条记录的日期无法
// 识别）".
QString BarChartTitle(const BarSeries &series);

// "%s\n%0.04f\n%0.02f%%\n": the label, the value and the value as a
// percentage of the largest bar value; 0.00% when the largest value is 0.
QString BarTipText(const QString &label, double value, double maxValue);
// The value as a percentage of the largest bar value; 0 when that is 0.
double BarPercent(double value, double maxValue);

// "%s[%.2f]": Food with 1234.5 gives "Food[1234.50]".
QString PieSliceName(const QString &label, double sum);
// The share of a slice in the accepted total, "%.2f%%"; 0.00% for a zero
// total.
QString PieShareText(double value, double total);
