// One compiled formula: a small function on the floating-point register
// stack, built operation by operation while the formula is parsed.
//
// On x86-64 the operations become real x87 machine code in a code area of
// its own, which is writable while it is filled and execute-only once it is
// finished; it is never writable and executable at once. Every build also
// keeps the operations as a postfix list, which the interpreter
// (formula_interpreter.h) runs on processors without a code generator and
// which the tests use to check the machine code.
//
// The size limit is counted in the bytes of a fixed reference encoding
// (32-bit x87: prologue 3, constant 6, argument 3, operator 2, epilogue 2)
// whatever the real code takes, so the same formulas are accepted on every
// processor: a sum of 31 literals fits, a sum of 32 does not. A formula that
// would keep more than eight values pending at once (the depth of the x87
// register stack) is refused as too large as well.
//
// Number literals are kept as doubles and loaded with the 8-byte form of the
// x87 load, which has the same length in the reference encoding as the
// 4-byte one: amounts keep their cents however large they grow.
//
// Use: Begin, the operations in postfix order, Finish, Invoke, Release.
// Every failure is raised as a FormulaError with one of the texts of
// formula_error.h. The record holds the constant pool the code reads by
// address, so it can be neither copied nor moved.
#pragma once

#include "formula/formula_step.h"

#include <cstdint>

class FormulaCode {
public:
  static constexpr std::uint32_t kBudget = 256;       // reference-encoding bytes
  static constexpr std::uint32_t kMaxConstants = 256; // pool slots
  static constexpr std::uint32_t kMaxDepth = kFormulaMaxDepth; // pending values
  static constexpr std::uint32_t kMaxSteps = kBudget / 2;

  FormulaCode() = default;
  ~FormulaCode();
  FormulaCode(const FormulaCode &) = delete;
  FormulaCode &operator=(const FormulaCode &) = delete;

  // Returns the code area, if any, and clears the record (the pool keeps its
  // contents). Raises kFreeErrorText when the area cannot be returned.
  void Release();
  // Releases, obtains a fresh writable code area and emits the prologue.
  void Begin();
  // Appends n bytes of machine code to the code area. Does nothing when no
  // area is being written or no bytes are given. The budget is charged by
  // the operations, not here; this only guards the area's own capacity.
  void Emit(const std::uint8_t *bytes, std::uint32_t n);

  void PushConstant(double value);
  void PushArgument();
  void Add();
  void Sub();
  void Mul();
  void Div();
  // Emits the epilogue and makes the code area execute-only.
  void Finish();
  // Runs the finished code with the argument x and returns the value it
  // leaves on the register stack; 0 when nothing is finished.
  long double Invoke(float x) const;

  // Reference-encoding bytes used so far (the budget counter), 0 to 256.
  std::uint32_t EmittedSize() const { return emitted_size_; }
  std::uint32_t ConstantCount() const { return constant_count_; }
  double Constant(std::uint32_t slot) const { return pool_[slot]; }
  // Replaces the value in a used pool slot. The code reads the pool by
  // address at every call, so finished code sees the new value at its next
  // Invoke: a formula compiled once can be run for many values.
  void SetConstant(std::uint32_t slot, double value) {
    if (slot < constant_count_)
      pool_[slot] = value;
  }
  std::uint32_t StepCount() const { return step_count_; }
  const FormulaStep &Step(std::uint32_t index) const { return steps_[index]; }
  // The operation list with its pool, for the interpreter.
  FormulaSteps Steps() const { return {steps_, step_count_, pool_}; }
  bool IsFinished() const { return finished_; }
  // The machine code area (null when none is held or on processors without
  // a code generator) and how many bytes of machine code it holds.
  const void *CodeArea() const { return code_area_; }
  std::uint32_t NativeSize() const { return native_size_; }

private:
  // Counts n reference bytes; raises kTooLargeText when they do not fit.
  void Charge(std::uint32_t n);
  void PushValue();
  void Combine(FormulaOp op);
  void AddStep(FormulaOp op, std::uint16_t slot);
  void EmitPrologue();
  void EmitEpilogue();

  std::uint8_t *code_area_ = nullptr;
  std::uint32_t emitted_size_ = 0;
  std::uint8_t *write_position_ = nullptr;
  std::uint8_t *entry_ = nullptr;
  double pool_[kMaxConstants] = {};
  std::uint32_t constant_count_ = 0;

  bool writing_ = false;  // between Begin and Finish
  bool finished_ = false; // between Finish and Release
  std::uint32_t native_size_ = 0;
  std::uint32_t depth_ = 0;
  std::uint32_t step_count_ = 0;
  FormulaStep steps_[kMaxSteps] = {};
};

// The value of the finished code for the argument x computed by the
// interpreter (formula_interpreter.h), without machine code; 0 when it is
// not finished.
long double InterpretFormula(const FormulaCode &code, float x);
