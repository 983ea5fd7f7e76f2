// Whether a cell text is one number literal of the formula language, as
// the grammar reads it: an optional sign, digits with an optional point,
// an optional exponent, and nothing else, not even a space.
#pragma once

#include <QString>

// True when text is such a literal; *value is then the double the grammar
// would push for it.
bool ParsePlainNumber(const QString &text, double *value);
// Whether text is such a literal, its value not needed.
bool IsPlainNumber(const QString &text);
