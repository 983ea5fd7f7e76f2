// Alter Table … Alter Column: SQLite cannot change a column's type, so the
// table is rebuilt in one transaction: a new table with the column's new
// definition, every row copied with that column's values converted the way
// Jet converts them, the old table dropped and the new one renamed, then the
// table's indexes and triggers made again. Other columns, their
// constraints, the rows (with their row ids) and the counter's next value
// are kept. If any value cannot be converted, or anything else fails,
// nothing changes; a value that cannot be converted is named in the error
// (ConversionFailureText with the column and kind names).
#pragma once

#include "db/jet_dialect.h"

#include <sqlite3.h>

bool RebuildWithColumn(sqlite3 *db, const JetTranslation &alter, QString *error);
// The first value of the altered column, in the order the rebuild copies
// the rows, that the column's new type cannot take, as its stored text;
// false when every value converts or the column cannot be read.
bool FirstUnconvertibleValue(sqlite3 *db, const JetTranslation &alter, QString &value);
// The message for a value of column that type cannot take:
// 备注列的值"12abc"无法转换为整型. A very long value is cut short.
QString ConversionFailureText(const QString &column, const QString &value,
                              const QString &type);
