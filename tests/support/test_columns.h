// Column definitions made in a line, for tests that build a column list
// without an account file.
#pragma once

#include "model/column_list.h"

#include <QString>

ColumnDef TestColumn(const QString &field, const QString &title, int type,
                     const QString &options = QString(), bool enabled = true);
