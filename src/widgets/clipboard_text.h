// The text layout of cells on the clipboard: cells separated by tabs, rows
// by "\r\n"; a cell holding a tab, a line break or a double quote stands in
// double quotes with its quotes doubled. Spreadsheets read and write the
// same layout, so cells move between them and the grid.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// One cell's text as it stands on the clipboard.
QString QuoteClipboardCell(const QString &text);
// The rows of cells of a clipboard text. A final line break ends the last
// row rather than starting an empty one; "\n" alone also ends a row.
std::vector<QStringList> ParseClipboardText(const QString &text);
