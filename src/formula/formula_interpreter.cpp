// A stack machine over FormulaCode's operation list.
#include "formula/formula_interpreter.h"

long double InterpretSteps(const FormulaSteps &list, float x) {
  // FormulaCode refuses more pending values than this, and an operator
  // without two operands, while the list is built.
  long double stack[kFormulaMaxDepth];
  unsigned depth = 0;
  for (std::uint32_t i = 0; i < list.count; ++i) {
    const FormulaStep &step = list.steps[i];
    switch (step.op) {
    case FormulaOp::Constant:
      stack[depth++] = list.pool[step.slot];
      continue;
    case FormulaOp::Argument:
      stack[depth++] = x;
      continue;
    default:
      break;
    }
    const long double right = stack[--depth];
    long double &left = stack[depth - 1];
    switch (step.op) {
    case FormulaOp::Add:
      left += right;
      break;
    case FormulaOp::Sub:
      left -= right;
      break;
    case FormulaOp::Mul:
      left *= right;
      break;
    case FormulaOp::Div:
      left /= right;
      break;
    default:
      break;
    }
  }
  return depth == 1 ? stack[0] : 0;
}
