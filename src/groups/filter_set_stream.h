// The byte layout of a saved filter set in column FilterMemory.flValue.
//
// The stream is the class-library archive format, little-endian throughout:
// int32 as 4 bytes, double as 8 bytes IEEE 754, and texts as the tag
// FF FE FF, a length in UTF-16 code units (one byte below 255; else FF and a
// 16-bit word below 0xFFFE; else FF FF FF and a 32-bit length) and the code
// units. A set is: int32 1, title, int32 count, the conditions. A condition
// is: int32 1, enabled, kind, field name, int32 n and n texts, int32 m and m
// doubles, int32 k and k int32s. The leading 1s are written always and never
// examined when read.
#pragma once

#include <QByteArray>

struct FilterSet;

// The stream of set's title and conditions.
QByteArray WriteFilterSetStream(const FilterSet &set);

// Reads a stream into set's title and conditions (the ID and class stay).
// False, with set unchanged, when the stream ends early or holds a length or
// count that can't be right; never reads past bytes. A text without the tag
// is one byte per character, read as Latin-1. Bytes after the last
// condition are ignored.
bool ReadFilterSetStream(const QByteArray &bytes, FilterSet &set);
