// A value bound to a prepared INSERT: none, a text, or a number literal.
#pragma once

#include <QString>

struct BoundValue {
  enum Kind : unsigned char { Null, Text, Number };
  Kind kind = Null;
  // Text: the text to store. Number: the text of the number literal.
  QString text;
};

// Whether text, a number bound to an insert, is a whole number that fits 64
// bits, and its value: such a number is bound as an integer, never read
// through a double.
bool BoundWholeNumber(const QString &text, qint64 *value);
