// Number text with at most a given number of decimals, trailing zeros and a
// bare point removed: 12.5 with 2 decimals gives "12.5", 12 gives "12".
#pragma once

#include <QString>

QString FormatDecimal(double value, int decimals);
