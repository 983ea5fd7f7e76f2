// Record rows kept compactly while they wait in the undo history.
//
// What differs between the rows of one action is little: the texts of the
// items, whether each applies its default, the group and where the row
// was shown. That is packed into one byte array (the texts as UTF-8). The
// rest, the file, the key position and each item's field name, type and
// default formula, is the row's shape: one row with empty texts, shared by
// every row of that layout.
#pragma once

#include "records/row_item.h"

#include <QByteArray>

#include <memory>

using RowShape = std::shared_ptr<const CRowItem>;

// Whether both rows have one layout: file, key position, column count and
// each item's field name, type and default formula.
bool SameLayout(const CRowItem &a, const CRowItem &b);
// shape when row has its layout, else a new shape made of row.
RowShape ShapeFor(const CRowItem &row, const RowShape &shape);

// What row holds besides its shape.
QByteArray PackRow(const CRowItem &row);
// The row of shape that bytes (from PackRow of a row of that layout) hold.
CRowItem UnpackRow(const CRowItem &shape, const QByteArray &bytes);
