// A stack machine over FormulaCode's operation list.
#include "formula/formula_interpreter.h"

#include "formula/formula_code.h"

long double InterpretFormula(const FormulaCode &code, float x) {
  if (!code.IsFinished())
    return 0;
  // FormulaCode refuses more pending values than this, and an operator
  // without two operands, while the list is built.
  long double stack[FormulaCode::kMaxDepth];
  unsigned depth = 0;
  for (std::uint32_t i = 0; i < code.StepCount(); ++i) {
    const FormulaStep &step = code.Step(i);
    switch (step.op) {
    case FormulaOp::Constant:
      stack[depth++] = code.Constant(step.slot);
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
