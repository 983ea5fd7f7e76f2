// The hidden column of Users that keeps the number a bill gives each
// payment (交易订单号, 交易单号, 交易号), so that the same payment never
// imports twice, whichever bill or group it comes in. The import adds the
// column to a file that lacks it, disabled in TableStyle so the grid does
// not show it; a record made from a bill carries its number as an item of
// its own, so undo and redo keep it.
#pragma once

#include <QSet>
#include <QString>

class CDBVisiter;

// "BillNumber", captioned "交易单号".
QString BillNumberField();

bool HasBillNumberColumn(CDBVisiter &session);
// Adds the column (TableStyle row and Users column) as one unit of work.
bool AddBillNumberColumn(CDBVisiter &session);
// The numbers kept by the records of every group.
QSet<QString> StoredBillNumbers(CDBVisiter &session);
