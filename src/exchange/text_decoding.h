// The character encoding of a statement file: detected from its first bytes
// and changeable by name. Decoding goes through Qt's converters, which reach
// ICU for GB18030 and GBK.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The names offered for a statement: "UTF-8", "UTF-16LE", "UTF-16BE",
// "GB18030", "GBK".
QStringList StatementEncodings();

// A byte order mark names its encoding; otherwise text that reads as UTF-8
// (or mostly so, with a few broken bytes) is UTF-8 and anything else GB18030 (a superset of GBK, as Chinese banks
// write). head is the start of the file; a character cut at its end is not
// held against UTF-8.
QString DetectEncoding(const QByteArray &head);

// The length of the byte order mark of encoding at the start of bytes, or 0.
int ByteOrderMarkLength(const QByteArray &bytes, const QString &encoding);

// Whether Qt can decode encoding here.
bool IsKnownEncoding(const QString &encoding);
