// The fields of a record that no column of the file shows: a column the
// user switched off, or the number a bill gave an imported record. The grid
// holds only the shown columns, so a record deleted from it would lose these
// values on undo; they are read from the file before the delete and travel
// with the record.
#pragma once

#include <QList>

class CRowItem;
class RecordFile;

// Appends to each of rows the values it has stored in fields that the file's
// columns do not show (empty values are left out: the row stores none).
// One query when the file has no such columns.
void KeepHiddenFields(RecordFile &file, QList<CRowItem> &rows);
