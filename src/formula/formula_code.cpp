// Building, running and releasing one compiled formula.
#include "formula/formula_code.h"

#include "formula/code_area.h"
#include "formula/formula_error.h"
#include "formula/formula_interpreter.h"
#include "formula/x87_encoding.h"

#include <cstring>
#include <stdexcept>

namespace {

// Sizes of the reference encoding that the budget is counted in.
constexpr std::uint32_t kPrologueBytes[] = {1, 2};
constexpr std::uint32_t kConstantOpcodeBytes = 2;
constexpr std::uint32_t kConstantAddressBytes = 4;
constexpr std::uint32_t kArgumentBytes = 3;
constexpr std::uint32_t kOperatorBytes = 2;
constexpr std::uint32_t kEpilogueBytes[] = {1, 1};

using NativeEntry = long double (*)(float);

// The code is not a compiled function, so the sanitizer's check of the
// callee's type must not look at it.
#if defined(__clang__)
__attribute__((no_sanitize("function")))
#endif
long double CallNative(const std::uint8_t *entry, float x) {
  return reinterpret_cast<NativeEntry>(const_cast<std::uint8_t *>(entry))(x);
}

} // namespace

FormulaCode::~FormulaCode() {
  try {
    Release();
  } catch (const FormulaError &) {
    // Nothing can be reported from a destructor; the area is lost.
  }
}

void FormulaCode::Release() {
  if (code_area_) {
    if (!ReturnCodeArea(code_area_))
      throw FormulaError(kFreeErrorText);
  }
  code_area_ = nullptr;
  emitted_size_ = 0;
  write_position_ = nullptr;
  entry_ = nullptr;
  constant_count_ = 0;
  writing_ = false;
  finished_ = false;
  native_size_ = 0;
  depth_ = 0;
  step_count_ = 0;
}

void FormulaCode::Begin() {
  Release();
  if (SORVANEL_FORMULA_NATIVE) {
    code_area_ = ObtainCodeArea();
    if (!code_area_)
      throw FormulaError(kAllocErrorText);
  }
  write_position_ = code_area_;
  entry_ = code_area_;
  writing_ = true;
  EmitPrologue();
}

void FormulaCode::Emit(const std::uint8_t *bytes, std::uint32_t n) {
  if (!writing_ || !code_area_ || !bytes || n == 0)
    return;
  if (native_size_ + n > CodeAreaSize())
    throw FormulaError(kTooLargeText);
  std::memcpy(write_position_, bytes, n);
  write_position_ += n;
  native_size_ += n;
}

void FormulaCode::Charge(std::uint32_t n) {
  if (!writing_)
    return;
  if (emitted_size_ + n > kBudget)
    throw FormulaError(kTooLargeText);
  emitted_size_ += n;
}

void FormulaCode::AddStep(FormulaOp op, std::uint16_t slot) {
  if (!writing_)
    return;
  // The budget admits at most kMaxSteps operations of two bytes or more.
  if (step_count_ == kMaxSteps)
    throw FormulaError(kTooLargeText);
  steps_[step_count_++] = FormulaStep{op, slot};
}

// A value pushed onto a full x87 register stack would be lost, so a ninth
// pending value makes the formula too large.
void FormulaCode::PushValue() {
  if (!writing_)
    return;
  if (depth_ + 1 > kMaxDepth)
    throw FormulaError(kTooLargeText);
}

void FormulaCode::EmitPrologue() {
  for (std::uint32_t n : kPrologueBytes)
    Charge(n);
  if (SORVANEL_FORMULA_NATIVE) {
    const X87Bytes bytes = EncodePrologue(pool_);
    Emit(bytes.bytes, bytes.size);
  }
}

void FormulaCode::EmitEpilogue() {
  for (std::uint32_t n : kEpilogueBytes)
    Charge(n);
  if (SORVANEL_FORMULA_NATIVE) {
    const X87Bytes bytes = EncodeEpilogue();
    Emit(bytes.bytes, bytes.size);
  }
}

void FormulaCode::PushConstant(double value) {
  if (constant_count_ + 1 > kMaxConstants)
    throw FormulaError(kTooManyConstantsText);
  PushValue();
  Charge(kConstantOpcodeBytes);
  const std::uint32_t slot = constant_count_;
  pool_[slot] = value;
  ++constant_count_;
  Charge(kConstantAddressBytes);
  if (!writing_)
    return;
  if (SORVANEL_FORMULA_NATIVE) {
    const X87Bytes bytes = EncodeConstant(slot);
    Emit(bytes.bytes, bytes.size);
  }
  AddStep(FormulaOp::Constant, std::uint16_t(slot));
  ++depth_;
}

void FormulaCode::PushArgument() {
  PushValue();
  Charge(kArgumentBytes);
  if (!writing_)
    return;
  if (SORVANEL_FORMULA_NATIVE) {
    const X87Bytes bytes = EncodeArgument();
    Emit(bytes.bytes, bytes.size);
  }
  AddStep(FormulaOp::Argument, 0);
  ++depth_;
}

void FormulaCode::Combine(FormulaOp op) {
  if (!writing_)
    return;
  // The grammar emits an operator only after both operands; anything else
  // would pop an empty x87 register and leave the stack out of step.
  if (depth_ < 2)
    throw std::logic_error("formula operator without two operands");
  Charge(kOperatorBytes);
  if (SORVANEL_FORMULA_NATIVE) {
    const X87Bytes bytes = EncodeOperator(op);
    Emit(bytes.bytes, bytes.size);
  }
  AddStep(op, 0);
  --depth_;
}

void FormulaCode::Add() { Combine(FormulaOp::Add); }
void FormulaCode::Sub() { Combine(FormulaOp::Sub); }
void FormulaCode::Mul() { Combine(FormulaOp::Mul); }
void FormulaCode::Div() { Combine(FormulaOp::Div); }

void FormulaCode::Finish() {
  if (!writing_)
    return;
  // The function must leave exactly its result on the x87 stack: the
  // calling convention requires the rest of the stack to be empty.
  if (depth_ != 1)
    throw std::logic_error("formula code does not leave exactly one value");
  EmitEpilogue();
  if (code_area_ && !MakeExecuteOnly(code_area_))
    throw FormulaError(kProtectErrorText);
  writing_ = false;
  finished_ = true;
}

long double FormulaCode::Invoke(float x) const {
  if (!finished_)
    return 0;
  if (SORVANEL_FORMULA_NATIVE && entry_)
    return CallNative(entry_, x);
  return InterpretSteps(Steps(), x);
}

long double InterpretFormula(const FormulaCode &code, float x) {
  return code.IsFinished() ? InterpretSteps(code.Steps(), x) : 0;
}
