// Reading the values of the fields no column shows; see hidden_fields.h.
#include "records/hidden_fields.h"

#include "db/db_visiter.h"
#include "model/column_list.h"
#include "model/column_store.h"
#include "records/record_file.h"
#include "records/row_item.h"

namespace {

const QString kGroupField = QStringLiteral("trelva_Group_ID");

// Queries the stored row of row; false when it is not there.
bool QueryStored(CDBVisiter &session, const ColumnList &columns,
                 const CRowItem &row) {
  return session.Query(QStringLiteral("Select * From Users Where [%1]=%2 "
                                      "And [%3]=%4")
                           .arg(columns.KeyFieldName())
                           .arg(row.KeyValue())
                           .arg(kGroupField)
                           .arg(row.groupId)) > 0;
}

// The columns the user switched off (and the bill number column, which
// the import adds switched off).
QList<ColumnDef> HiddenColumns(CDBVisiter &session) {
  QList<ColumnDef> hidden;
  if (session.Query(QStringLiteral(
          "SELECT * FROM TableStyle Where [启用]=false ORDER BY [编号]")) <= 0)
    return hidden;
  do {
    hidden.append(ReadColumnDef(session));
  } while (session.MoveNext());
  return hidden;
}

void Attach(CDBVisiter &session, const QList<ColumnDef> &hidden,
            CRowItem &row) {
  for (const ColumnDef &column : hidden) {
    if (row.Item(column.fieldName))
      continue;
    FieldValueItem item;
    item.type = column.type;
    item.fieldName = column.fieldName;
    item.text = session.GetString(column.fieldName);
    if (!item.text.isEmpty())
      row.items.append(item);
  }
}

} // namespace

void KeepHiddenFields(RecordFile &file, QList<CRowItem> &rows) {
  CDBVisiter *session = file.Session();
  if (!session || rows.isEmpty())
    return;
  const QList<ColumnDef> hidden = HiddenColumns(*session);
  for (CRowItem &row : rows)
    if (!hidden.isEmpty() && QueryStored(*session, file.Columns(), row))
      Attach(*session, hidden, row);
  session->CloseResult();
}
