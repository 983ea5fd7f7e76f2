// The column each chart's set-up pane last summed, remembered per account
// file and per user in the program's settings, group "ChartSum<kind>"
// (kind 2 the bar chart, 3 the pie chart), one entry per file path. A new
// window on the file starts on it instead of the default choice.
#pragma once

#include <QString>

// The field name last chosen for the file's chart of paneKind; empty when
// none was.
QString RememberedSumColumn(const QString &filePath, int paneKind);
void RememberSumColumn(const QString &filePath, int paneKind,
                       const QString &fieldName);
