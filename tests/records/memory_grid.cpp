// The in-memory records grid of the tests.
#include "memory_grid.h"

#include "groups/group_node.h"
#include "records/row_item.h"

namespace {

QStringList Texts(const CRowItem &row) {
  QStringList texts;
  for (const FieldValueItem &item : row.items)
    texts.append(item.text);
  return texts;
}

QString Call(const char *what, const CRowItem &row, int gridRow) {
  return QStringLiteral("%1 %2/%3 @%4")
      .arg(QLatin1String(what))
      .arg(row.groupId)
      .arg(row.KeyValue())
      .arg(gridRow);
}

} // namespace

int MemoryGrid::AppendRow(const QStringList &cells, GroupNode *group) {
  rows_.append(Row{cells, group});
  return int(rows_.size()) - 1;
}

QString MemoryGrid::CellText(int gridColumn, int gridRow) const {
  if (gridRow < 0 || gridRow >= rows_.size())
    return QString();
  return rows_[gridRow].cells.value(gridColumn + 1);
}

int MemoryGrid::RowGroupId(int gridRow) const {
  if (gridRow < 0 || gridRow >= rows_.size() || !rows_[gridRow].group)
    return 0;
  return rows_[gridRow].group->id;
}

void MemoryGrid::ShowInsertedRow(int gridRow, const CRowItem &row) {
  calls.append(Call("insert", row, gridRow));
  const QPair<int, int> id(row.groupId, row.KeyValue());
  if (shown.contains(id))
    faults.append(QStringLiteral("inserted twice: ") + calls.last());
  shown.insert(id, Texts(row));
}

void MemoryGrid::RemoveShownRow(int gridRow, const CRowItem &row) {
  calls.append(Call("remove", row, gridRow));
  if (shown.remove(QPair<int, int>(row.groupId, row.KeyValue())) == 0)
    faults.append(QStringLiteral("removed while not shown: ") + calls.last());
}

void MemoryGrid::ShowUpdatedRow(int gridRow, const CRowItem &row) {
  calls.append(Call("update", row, gridRow));
  const QPair<int, int> id(row.groupId, row.KeyValue());
  if (!shown.contains(id)) {
    faults.append(QStringLiteral("updated while not shown: ") + calls.last());
    return;
  }
  shown.insert(id, Texts(row));
}
