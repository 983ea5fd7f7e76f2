// What a record cell shows for the text stored in it.
//
// The records grid keeps every cell's stored text and only formats what it
// shows: date columns show the date part, time columns the time as
// "H:M:S" without leading zeros. Statements are always built from the
// stored texts, so showing a value never changes it.
#pragma once

#include "base/date_text.h"

#include <QString>

// A stored date text as the grid reads it for showing and for its date
// bands: a time alone (which lies on 1899/12/30) or any date before 1900 is
// moved to the year 1999 with its month, day and time; an empty text is
// 1999/12/30 0:00:00; an unreadable text is an invalid value.
DateValue ShownDate(const QString &stored);

// The text a record cell of a column of fieldType shows for stored. Empty
// and unreadable date and time texts are shown as they are stored.
QString ShownCellText(int fieldType, const QString &stored);

// Whether the field type shows in a date picker cell (date and time, date,
// automatic date).
bool IsDatePickerType(int fieldType);
// Whether the field type shows its time part only (time, automatic time).
bool IsTimeOnlyType(int fieldType);
