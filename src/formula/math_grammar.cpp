// The action that puts a number literal into the constant pool.
#include "formula/math_grammar.h"

void MathGrammar::ConstFunctor::operator()(double value) const {
  if (FormulaCode *code = grammar_->Code())
    code->PushConstant(value);
}
