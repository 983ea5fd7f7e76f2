// SQL functions a session's connection needs beyond SQLite's own.
//
// sorvanel_convert(value, from_kind, to_kind) converts a stored value the
// way Jet converts a column's values when its type changes (the kinds are
// ColumnKind numbers); a value that cannot be converted raises "Data type
// conversion error." so the statement using it fails as a whole.
//
// jet_integer(value) is what a column declared as an integer stores of a
// value written into it (the adapter wraps the values of INSERT and UPDATE):
// fractions rounded half to even, number texts read as numbers, blank text
// as no value; other texts fail with "Data type mismatch in criteria
// expression.".
//
// jet_number(text) is the number a bound number text stands for, read as
// SQLite reads a number literal of that text (see insert_statements.h).
//
// Jet's own functions that users write in their queries (the main show
// message holds queries typed by the user): Nz, Year, Month, Day, Hour,
// Minute, Second, Int, Fix, CLng, CDbl, CStr, Val, and jet_left/jet_right
// for Left and Right (keywords in SQLite; the adapter renames them, and Mid,
// Len, UCase, LCase to SQLite's substr, length, upper, lower). IIf is
// SQLite's own iif.
#pragma once

#include "db/jet_types.h"

#include <QByteArray>

#include <sqlite3.h>

// Registers the functions on db; they live as long as the connection and
// are never stored in the file's schema.
void RegisterJetFunctions(sqlite3 *db);

// The conversion of one value; false when it cannot be converted.
struct ConvertedValue {
  enum Type { Null, Integer, Float, Text, Blob } type = Null;
  qint64 integer = 0;
  double real = 0.0;
  QByteArray bytes;
};
bool ConvertJetValue(sqlite3_value *value, ColumnKind from, ColumnKind to,
                     ConvertedValue &out);
