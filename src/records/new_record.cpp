// A new record as the new-record row makes it.
#include "records/new_record.h"

#include "base/prompt.h"
#include "formula/evaluate_row.h"
#include "groups/group_node.h"
#include "records/record_key.h"
#include "records/row_item.h"

#include <climits>

bool CompleteNewRecord(CRowItem &row, GroupNode &group, const QDateTime &now) {
  if (group.largestKey == INT_MAX) {
    ShowMessage(QStringLiteral("分组“%1”的编号已用尽").arg(group.title));
    return false;
  }
  row.FillNewRowDefaults(TakeNewKey(&group), now);
  return EvaluateRow(row.items);
}
