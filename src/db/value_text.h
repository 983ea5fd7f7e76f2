// Conversions of stored values to the texts and numbers the session's
// readers give: numbers as Jet shows them, numbers read from text, and the
// rounding Jet applies when a fraction becomes an integer.
#pragma once

#include <QByteArrayView>
#include <QString>

// Decimal digits with a leading minus; no grouping, whatever the locale.
QString FormatJetInteger(qint64 value);
// Up to 15 significant digits, no trailing zeros, an exponent as "1E+20";
// negative zero shows as "0".
QString FormatJetDouble(double value);
// The same texts appended to out, without a string of their own.
void AppendJetInteger(qint64 value, QString &out);
void AppendJetDouble(double value, QString &out);

// Reads a decimal number from the start of text the way the C library does
// (blanks, sign, digits, point, exponent; stops at the first other
// character), independent of the locale. ok is false when no digit was read.
double LeadingNumber(QByteArrayView text, bool *ok = nullptr);

// True when the whole text (blanks aside) is one decimal number.
bool WholeNumber(QByteArrayView text, double &value);

// Rounds half to even, as Jet does when it stores a fraction in an integer.
double RoundHalfEven(double value);

// value rounded half to even and limited to the range of int.
int ClampToInt(double value);
int ClampToInt(qint64 value);
