// How many decimals a result computed from a formula text is shown with:
// the longest run of characters after the first point of any token, where
// tokens are split at "+-*/() ". Everything after the point counts, letters
// included, so 1.5e-3 (tokens 1.5e and 3) gives 2.
#pragma once

#include <QString>

int CountDecimals(const QString &text);
