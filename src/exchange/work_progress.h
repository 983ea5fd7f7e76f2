// How a long piece of exchange work (checking or storing the lines of a
// statement, writing records to a file) tells how far it got, and learns
// that the user cancelled it.
#pragma once

#include <functional>

// Told the number of lines done so far; false cancels.
using ExchangeProgress = std::function<bool(int done)>;
