// The operations of a compiled formula as a postfix list: what the code
// generator turns into machine code and the interpreter runs.
#pragma once

#include <cstdint>

enum class FormulaOp : std::uint8_t { Constant, Argument, Add, Sub, Mul, Div };

// One operation of the postfix list; slot is the pool slot of a Constant.
struct FormulaStep {
  FormulaOp op;
  std::uint16_t slot;
};

// Values a formula may keep pending at once: the depth of the x87
// register stack.
inline constexpr std::uint32_t kFormulaMaxDepth = 8;

// A finished list: count steps that read their constants from pool.
struct FormulaSteps {
  const FormulaStep *steps;
  std::uint32_t count;
  const double *pool;
};
