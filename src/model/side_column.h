// The side column of a ledger: an option column whose options include 支出
// and 收入 (the template 收支账本 has 收支). In a ledger with one, amounts
// are kept positive and the column says whether a record is spending or
// income; sums must then take one side at a time.
#pragma once

#include <QString>

class ColumnList;
struct ColumnDef;

// The option values of the two sides.
QString SpendingSide(); // "支出"
QString IncomeSide();   // "收入"

// The first option column whose options include both sides (hidden or
// not: its values still tell the sides apart); null when there is none.
const ColumnDef *SideColumnOf(const ColumnList &columns);
