// The column definitions of an account file (table TableStyle): loading the
// enabled ones, the three changes the options page makes to a column, each
// pairing a TableStyle statement with an ALTER TABLE on Users, and what a
// change of type meets in Users.
#pragma once

#include <QString>

class CDBVisiter;
class ColumnList;
struct ColumnDef;

// Replaces the contents of columns by the enabled columns in 编号 order;
// the list stays empty when the query fails or finds none.
void LoadColumns(CDBVisiter &session, ColumnList &columns);
// Adds the TableStyle row, then the column of Users. A failure of the second
// step leaves the TableStyle row in place.
bool InsertColumn(CDBVisiter &session, const ColumnDef &column);
// Rewrites the TableStyle row of column.id (inserting the column when there
// is no such row); a changed type also re-types the Users column, whose
// stored values the engine converts. When a value does not convert,
// nothing of the change is stored.
bool UpdateColumn(CDBVisiter &session, const ColumnDef &column);
// Why the type of column cannot change to column.type, naming its caption,
// the first stored value the new type cannot take and the type:
// 备注列的值"12abc"无法转换为整型. Empty when the type stays or every
// value converts. Writes nothing.
QString TypeChangeRefusal(CDBVisiter &session, const ColumnDef &column);
// The number of Users rows with a value in the column fieldName.
int CountStoredValues(CDBVisiter &session, const QString &fieldName);
// Drops the Users column, then the TableStyle row; nothing changes when the
// drop fails.
bool DeleteColumn(CDBVisiter &session, const ColumnDef &column);

// The definition read from the current row of a TableStyle query, with the
// width minimum applied.
ColumnDef ReadColumnDef(CDBVisiter &session);
