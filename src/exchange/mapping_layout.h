// The layout of a statement as a mapping reads it ("保存为账单格式…"): the
// header's columns with the roles the mapping gives them, its side form,
// its channel and where its rows end. Kept as one of the user's own
// layouts, it makes the statements of that layout known bills.
#pragma once

#include "exchange/bill_layouts.h"

#include <QString>
#include <QStringList>

class ColumnList;
struct ImportMapping;

// The layout of the statement of headers as mapping reads it into the
// columns of a file, called name.
BillLayout LayoutOfMapping(const ColumnList &columns,
                           const ImportMapping &mapping,
                           const QStringList &headers, const QString &name);
