// Runs the postfix operation list of a finished formula without machine
// code: the evaluator on processors without a code generator, and the
// reference the tests hold the machine code to. It computes in long double,
// which on x86-64 is the x87 extended format the machine code uses, so both
// give the same bits there.
#pragma once

#include "formula/formula_step.h"

// The value of a finished list for the argument x; 0 for a list that does
// not leave exactly one value.
long double InterpretSteps(const FormulaSteps &list, float x);
