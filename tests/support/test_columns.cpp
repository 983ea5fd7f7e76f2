// Column definitions for tests; see test_columns.h.
#include "support/test_columns.h"

ColumnDef TestColumn(const QString &field, const QString &title, int type,
                     const QString &options, bool enabled) {
  ColumnDef column;
  column.fieldName = field;
  column.title = title;
  column.type = type;
  column.options = options;
  column.enabled = enabled;
  return column;
}
