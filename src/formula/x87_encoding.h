// The x86-64 machine code of each formula operation. The generated function
// is called as long double (*)(float) under the System V convention: the
// argument arrives in xmm0, the result is left in st(0), which is where that
// convention returns a long double. Values are computed on the x87 register
// stack at its default (extended) precision.
#pragma once

#include "formula/formula_step.h"

#include <cstdint>

struct X87Bytes {
  std::uint8_t bytes[16];
  std::uint32_t size;
};

// Stores the argument in the red zone and loads the pool's address into rax.
X87Bytes EncodePrologue(const double *pool);
// fld qword [rax + 8*slot]
X87Bytes EncodeConstant(std::uint32_t slot);
// fld dword [rsp-4]: the stored argument.
X87Bytes EncodeArgument();
// faddp / fsubp / fmulp / fdivp st(1), st(0): the deeper value is the left
// operand.
X87Bytes EncodeOperator(FormulaOp op);
// ret
X87Bytes EncodeEpilogue();
