// Runs the postfix operation list of a finished formula without machine
// code: the evaluator on processors without a code generator, and the
// reference the tests hold the machine code to. It computes in long double,
// which on x86-64 is the x87 extended format the machine code uses, so both
// give the same bits there.
#pragma once

class FormulaCode;

// The value of the finished code for the argument x; 0 when it is not
// finished.
long double InterpretFormula(const FormulaCode &code, float x);
