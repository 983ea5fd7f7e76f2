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
#pragma once

#include "formula/formula_code.h"

#include <boost/spirit/include/classic_core.hpp>

class MathGrammar : public boost::spirit::classic::grammar<MathGrammar> {
public:
  explicit MathGrammar(FormulaCode *code = nullptr) : code_(code) {}

  FormulaCode *Code() const { return code_; }

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
    // The pool holds single-precision constants.
    void operator()(double value) const;

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
};
