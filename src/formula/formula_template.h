// Formula texts with number poolSlots (kNumberSlot, math_grammar.h), compiled
// once and kept for the thread: the parsed form of a column's formula that
// row after row only needs its numbers filled in.
#pragma once

#include "formula/formula_code.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

struct FormulaTemplate {
  // Finished code, or null when the text does not compile; its failure is
  // then left to the evaluation of the text with its numbers in place.
  std::unique_ptr<FormulaCode> code;
  // The pool slot of each number slot, in the order of the text.
  std::vector<std::uint32_t> poolSlots;
  int decimals = 0;                 // CountDecimals of the text
};

// The compiled form of text, from the thread's cache or compiled now. The
// reference is good until the next call.
FormulaTemplate &FormulaTemplateFor(const QString &text);
