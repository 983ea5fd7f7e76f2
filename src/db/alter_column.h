// Alter Table … Alter Column: SQLite cannot change a column's type, so the
// table is rebuilt in one transaction: a new table with the column's new
// definition, every row copied with that column's values converted the way
// Jet converts them, the old table dropped and the new one renamed, then the
// table's indexes and triggers made again. Other columns, their
// constraints, the rows (with their row ids) and the counter's next value
// are kept. If any value cannot be converted, or anything else fails,
// nothing changes.
#pragma once

#include "db/jet_dialect.h"

#include <sqlite3.h>

bool RebuildWithColumn(sqlite3 *db, const JetTranslation &alter, QString *error);
