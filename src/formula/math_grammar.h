// The formula language, as a Boost.Spirit (classic) grammar whose actions
// write postfix code into a FormulaCode while the text is parsed.
//
//   expression := term ( "+" term | "-" term )*
//   term       := factor ( "*" factor | "/" factor )*
//   factor     := number | "x" | group
//   group      := "(" expression ")"
//
// Numbers are Spirit's signed reals (real_p): the sign belongs to the
// literal, so 3*-2 is -6 while -x and -(1+2) do not parse. The input carries
// no white space; nothing is skipped. A grammar without a FormulaCode only
// checks the syntax.
//
// A grammar given a slot list also takes kNumberSlot as a factor: a number
// that is not known yet. It gets a pool slot of its own, recorded in the
// list, which the caller fills with SetConstant before each call. A text of
// literals and slots is the parsed form of a formula whose field values are
// still to come.
#pragma once

#include "formula/formula_code.h"

#include <boost/spirit/include/classic_core.hpp>

#include <cstdint>
#include <vector>

inline constexpr char kNumberSlot = '\x01';

class MathGrammar : public boost::spirit::classic::grammar<MathGrammar> {
public:
  explicit MathGrammar(FormulaCode *code = nullptr,
                       std::vector<std::uint32_t> *numberSlots = nullptr)
      : code_(code), slots_(numberSlots) {}

  FormulaCode *Code() const { return code_; }
  std::vector<std::uint32_t> *Slots() const { return slots_; }

  // The six actions. Each holds its grammar and does nothing when the
  // grammar has no FormulaCode.
  class AddFunctor {
  public:
    explicit AddFunctor(const MathGrammar &grammar) : grammar_(&grammar) {}
    template <typename Iterator> void operator()(Iterator, Iterator) const {
      if (FormulaCode *code = grammar_->Code())
        code->Add();
    }

  private:
    const MathGrammar *grammar_;
  };

  class SubFunctor {
  public:
    explicit SubFunctor(const MathGrammar &grammar) : grammar_(&grammar) {}
    template <typename Iterator> void operator()(Iterator, Iterator) const {
      if (FormulaCode *code = grammar_->Code())
        code->Sub();
    }

  private:
    const MathGrammar *grammar_;
  };

  class MulFunctor {
  public:
    explicit MulFunctor(const MathGrammar &grammar) : grammar_(&grammar) {}
    template <typename Iterator> void operator()(Iterator, Iterator) const {
      if (FormulaCode *code = grammar_->Code())
        code->Mul();
    }

  private:
    const MathGrammar *grammar_;
  };

  class DivFunctor {
  public:
    explicit DivFunctor(const MathGrammar &grammar) : grammar_(&grammar) {}
    template <typename Iterator> void operator()(Iterator, Iterator) const {
      if (FormulaCode *code = grammar_->Code())
        code->Div();
    }

  private:
    const MathGrammar *grammar_;
  };

  class ArgFunctor {
  public:
    explicit ArgFunctor(const MathGrammar &grammar) : grammar_(&grammar) {}
    void operator()(char) const {
      if (FormulaCode *code = grammar_->Code())
        code->PushArgument();
    }

  private:
    const MathGrammar *grammar_;
  };

  class ConstFunctor {
  public:
    explicit ConstFunctor(const MathGrammar &grammar) : grammar_(&grammar) {}
    // The literal goes into the pool as the double it was parsed into.
    void operator()(double value) const;

  private:
    const MathGrammar *grammar_;
  };

  // A number slot: a constant 0 now, its pool slot recorded.
  class SlotFunctor {
  public:
    explicit SlotFunctor(const MathGrammar &grammar) : grammar_(&grammar) {}
    void operator()(char) const {
      FormulaCode *code = grammar_->Code();
      if (!code)
        return;
      code->PushConstant(0);
      grammar_->Slots()->push_back(code->ConstantCount() - 1);
    }

  private:
    const MathGrammar *grammar_;
  };

  template <typename ScannerT> struct definition {
    explicit definition(const MathGrammar &self) {
      using boost::spirit::classic::ch_p;
      using boost::spirit::classic::real_p;
      expression = term >> *((ch_p('+') >> term)[AddFunctor(self)] |
                             (ch_p('-') >> term)[SubFunctor(self)]);
      term = factor >> *((ch_p('*') >> factor)[MulFunctor(self)] |
                         (ch_p('/') >> factor)[DivFunctor(self)]);
      if (self.Slots())
        factor = real_p[ConstFunctor(self)] | ch_p('x')[ArgFunctor(self)] |
                 group | ch_p(kNumberSlot)[SlotFunctor(self)];
      else
        factor = real_p[ConstFunctor(self)] | ch_p('x')[ArgFunctor(self)] | group;
      group = ch_p('(') >> expression >> ch_p(')');
    }

    const boost::spirit::classic::rule<ScannerT> &start() const {
      return expression;
    }

    boost::spirit::classic::rule<ScannerT> expression, term, factor, group;
  };

private:
  FormulaCode *code_;
  std::vector<std::uint32_t> *slots_;
};
