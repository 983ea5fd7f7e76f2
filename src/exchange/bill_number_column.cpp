// The bill number column; see bill_number_column.h.
#include "exchange/bill_number_column.h"

#include "db/db_visiter.h"
#include "model/column_def.h"
#include "model/column_store.h"
#include "model/field_type.h"

QString BillNumberField() { return QStringLiteral("BillNumber"); }

bool HasBillNumberColumn(CDBVisiter &session) {
  const bool found =
      session.Query(QStringLiteral("Select ID From TableStyle Where "
                                   "[字段名]='BillNumber'")) > 0;
  session.CloseResult();
  return found;
}

bool AddBillNumberColumn(CDBVisiter &session) {
  ColumnDef column;
  if (session.Query(QStringLiteral("Select Max(ID) As Id, Max([编号]) As "
                                   "Position From TableStyle")) > 0) {
    column.id = session.GetInt(QStringLiteral("Id")) + 1;
    column.order = session.GetInt(QStringLiteral("Position")) + 1;
  }
  session.CloseResult();
  column.fieldName = BillNumberField();
  column.title = QStringLiteral("交易单号");
  column.type = FT_TEXT;
  column.enabled = false;
  column.width = 160;
  return InsertColumn(session, column);
}

QSet<QString> StoredBillNumbers(CDBVisiter &session) {
  QSet<QString> numbers;
  if (session.Query(QStringLiteral("Select [BillNumber] From Users Where "
                                   "[BillNumber]<>''")) <= 0)
    return numbers;
  do {
    numbers.insert(session.GetString(0));
  } while (session.MoveNext());
  session.CloseResult();
  return numbers;
}
