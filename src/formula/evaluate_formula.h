// Compiling and evaluating one formula text.
#pragma once

#include "formula/formula_code.h"

#include <QString>

#include <cstdint>
#include <vector>

// Turns the formula text into finished code in code (releasing what it held
// before). Spaces are removed first; any other white space, any character
// outside ASCII, parentheses nested more than 1000 deep and any text the
// grammar does not consume entirely raise "Formula parse error!"; the code
// generator's failures pass through.
void Compile(const QString &text, FormulaCode &code);

// Compile, where numberSlots, when given, also accepts kNumberSlot
// (math_grammar.h) as a number to be filled in later and receives the pool
// slot of each one, in the order of the text. Without it this is Compile.
void CompileWithSlots(const QString &text, FormulaCode &code,
                      std::vector<std::uint32_t> *numberSlots);

// The value of the formula for the argument x, as a double: literals are
// doubles and the arithmetic runs at the x87 unit's extended precision, so
// nothing is rounded to single precision. An empty text is 0. On any
// failure the user is shown "执行语句错误：\n\r[text]" through the current
// prompt and the result is 0; *ok, when given, tells whether the evaluation
// succeeded. A result that is no finite number (an overflow, a division by
// zero) is a failure too, shown with NotFiniteMessage; *finite, when given,
// is false then.
double EvaluateFormula(const QString &text, float x, bool *ok = nullptr,
                       bool *finite = nullptr);

// The message shown when the formula text cannot be evaluated.
QString FormulaFailureMessage(const QString &text);
// The message shown when the formula's result is infinite or not a number.
QString NotFiniteMessage(const QString &text);
