// The records of an import; see import_records.h.
#include "exchange/import_records.h"

#include "document/account_file.h"
#include "exchange/bill_number_column.h"
#include "exchange/import_mapping.h"
#include "formula/evaluate_row.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"
#include "model/field_type.h"

RecordStart StartOfRecords(AccountFile &file, int groupId) {
  return {CRowItem::EmptyRow(file, groupId), QString(), QString()};
}

CRowItem MakeRecord(const AccountFile &file, const ImportMapping &mapping,
                    const QStringList &texts, int key,
                    const RecordStart &start, bool *finite) {
  CRowItem row = start.empty;
  for (qsizetype i = 0; i < row.items.size() && i < texts.size(); ++i)
    row.items[i].text = texts.at(i);
  row.FillNewRowDefaults(key, start.date, start.time);
  // Mapped values win over defaults.
  const int method = file.Columns().PositionOf(mapping.methodField);
  for (qsizetype i = 0; i < row.items.size() && i < texts.size(); ++i) {
    if (texts.at(i).isEmpty() && i != method)
      continue;
    row.items[i].text = texts.at(i);
    row.items[i].applyingDefault = false;
  }
  const bool allFinite = EvaluateRow(row.items);
  if (finite)
    *finite = allFinite;
  return row;
}

void SetBillNumber(CRowItem &record, const QString &number) {
  if (FieldValueItem *item = record.Item(BillNumberField())) {
    item->text = number;
    return;
  }
  FieldValueItem item;
  item.type = FT_TEXT;
  item.fieldName = BillNumberField();
  item.text = number;
  record.items.append(item);
}

bool ValidImportGroup(AccountFile &file, int groupId, QString *error) {
  const GroupNode *group = FindGroupNode(file.Root(), groupId);
  if (group && group->IsGroup())
    return true;
  *error = QStringLiteral("目标分组不存在！");
  return false;
}
