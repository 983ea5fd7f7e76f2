// Finding the side column of a ledger.
#include "model/side_column.h"

#include "model/column_list.h"
#include "model/field_type.h"

QString SpendingSide() { return QStringLiteral("支出"); }

QString IncomeSide() { return QStringLiteral("收入"); }

const ColumnDef *SideColumnOf(const ColumnList &columns) {
  for (const ColumnDef &column : columns.All()) {
    if (column.type != FT_OPTION)
      continue;
    const QStringList options = column.Choices();
    if (options.contains(SpendingSide()) && options.contains(IncomeSide()))
      return &column;
  }
  return nullptr;
}
