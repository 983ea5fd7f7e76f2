// Record keys: reading a key from its text, and numbering new records.
//
// A new record gets the largest key of its group plus one, and the group's
// largest key is advanced at that moment, before the record is stored. Keys
// are never given back while the file is open: a failed insert, a deleted
// record or an undone insert leaves the largest key where it is.
#pragma once

#include <QString>

struct GroupNode;

// The integer at the start of text, read the way the C library's atoi does
// (leading blanks, an optional sign, decimal digits); 0 when there is none.
// Values beyond the 32-bit range are clamped to it.
int KeyFromText(const QString &text);

// Advances the group's largest key by one and returns it; 0 when group is
// null. When the largest key is already the greatest integer there is no
// next key: 0 is returned and the group is left as it is.
int TakeNewKey(GroupNode *group);
