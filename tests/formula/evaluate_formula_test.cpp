// The formula language as the user meets it: what parses and what it is
// worth, the failure message, decimals and number text.
#include "base/scripted_prompt.h"
#include "formula/count_decimals.h"
#include "formula/evaluate_formula.h"
#include "formula/format_decimal.h"
#include "formula/math_grammar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace {

class EvaluateFormulaTest : public ::testing::Test {
protected:
  // The value of text; fails the test when it reports a failure.
  double Value(const char *text, float x = 0) {
    prompt_.Clear();
    bool ok = false;
    const double value = EvaluateFormula(QString::fromUtf8(text), x, &ok);
    EXPECT_TRUE(ok) << text;
    EXPECT_TRUE(prompt_.Texts().isEmpty()) << text;
    return value;
  }

  // Whether text fails, with the message naming it and the value 0.
  bool Fails(const QString &text) {
    prompt_.Clear();
    bool ok = true;
    const double value = EvaluateFormula(text, 0, &ok);
    return !ok && value == 0 && prompt_.Texts() ==
                                    QStringList{FormulaFailureMessage(text)};
  }
  bool Fails(const char *text) { return Fails(QString::fromUtf8(text)); }

  // Whether text compiles but its result is no finite number: a failure
  // with its own message and the value 0.
  bool NotFinite(const char *text) {
    prompt_.Clear();
    bool ok = true, finite = true;
    const double value = EvaluateFormula(QString::fromUtf8(text), 0, &ok, &finite);
    return !ok && !finite && value == 0 &&
           prompt_.Texts() == QStringList{NotFiniteMessage(QString::fromUtf8(text))};
  }

  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
};

} // namespace

TEST_F(EvaluateFormulaTest, PrecedenceAndAssociativity) {
  EXPECT_EQ(Value("2+3*4"), 14);
  EXPECT_EQ(Value("(2+3)*4"), 20);
  EXPECT_EQ(Value("8-3-2"), 3);
  EXPECT_EQ(Value("8/4/2"), 1);
  EXPECT_EQ(Value("2*3-4/2+1"), 5);
  EXPECT_EQ(Value("((((7))))"), 7);
  EXPECT_EQ(Value("10-(4-1)"), 7);
  EXPECT_EQ(Value("2*(3+4)*5"), 70);
}

TEST_F(EvaluateFormulaTest, SignsBelongToLiterals) {
  EXPECT_EQ(Value("3*-2"), -6);
  EXPECT_EQ(Value("+5"), 5);
  EXPECT_EQ(Value("1--2"), 3);
  EXPECT_EQ(Value("1+-2"), -1);
  EXPECT_EQ(Value("-1.5*2"), -3);
  EXPECT_TRUE(Fails("-x"));
  EXPECT_TRUE(Fails("-(1+2)"));
  EXPECT_TRUE(Fails("1---2"));
  EXPECT_TRUE(Fails("2*+x"));
}

TEST_F(EvaluateFormulaTest, SpacesGoOtherWhiteSpaceFails) {
  EXPECT_EQ(Value("1 + 2"), 3);
  EXPECT_EQ(Value("  1 2 * 2 "), 24); // spaces go before parsing
  EXPECT_TRUE(Fails("1\t+2"));
  EXPECT_TRUE(Fails("1+2\n"));
  EXPECT_TRUE(Fails("   "));
  // An empty text is 0 without any message.
  EXPECT_EQ(Value(""), 0);
}

TEST_F(EvaluateFormulaTest, NumberForms) {
  EXPECT_EQ(Value("2e3"), 2000);
  EXPECT_EQ(Value("2E3"), 2000);
  EXPECT_EQ(Value("2e+3"), 2000);
  EXPECT_EQ(Value("5e-1"), 0.5);
  EXPECT_EQ(Value(".5"), 0.5);
  EXPECT_EQ(Value("5."), 5);
  EXPECT_EQ(Value("5.*.5"), 2.5);
  EXPECT_TRUE(Fails("2e"));
  EXPECT_TRUE(Fails("2e+"));
  EXPECT_TRUE(Fails("."));
  EXPECT_TRUE(Fails("1+."));
  EXPECT_TRUE(Fails("1.2.3"));
  EXPECT_TRUE(Fails("0x10"));
}

TEST_F(EvaluateFormulaTest, ArgumentIsLowerCaseX) {
  EXPECT_EQ(Value("x", 7), 7);
  EXPECT_EQ(Value("x*x+1", 3), 10);
  EXPECT_EQ(Value("2*(x-1)", 0), -2);
  EXPECT_TRUE(Fails("X"));
  EXPECT_TRUE(Fails("2*X"));
  EXPECT_TRUE(Fails("xx"));
  EXPECT_TRUE(Fails("2x"));
}

TEST_F(EvaluateFormulaTest, MalformedTextsFail) {
  for (const char *text : {"1+", "*2", "(1+2", "1+2)", "()", "1 2+", "abc",
                           "Amount*Count", "1;2", "1,5", "1=1"})
    EXPECT_TRUE(Fails(text)) << text;
  // Characters outside ASCII are never part of a formula, and a NUL must not
  // hide what follows it.
  EXPECT_TRUE(Fails(QStringLiteral("１+2")));
  EXPECT_TRUE(Fails(QStringLiteral("1+2 元")));
  EXPECT_TRUE(Fails(QString::fromUtf16(u"1\0+zz", 5)));
}

TEST_F(EvaluateFormulaTest, DeepNestingIsRefusedNotOverflowingTheStack) {
  auto nested = [](int depth) {
    return QString(depth, QLatin1Char('(')) + QLatin1Char('7') +
           QString(depth, QLatin1Char(')'));
  };
  EXPECT_EQ(Value(nested(1000).toUtf8().constData()), 7);
  EXPECT_TRUE(Fails(nested(1001)));
  EXPECT_TRUE(Fails(nested(1000000)));
}

TEST_F(EvaluateFormulaTest, FailureMessageShowsTheTextAsTyped) {
  EXPECT_TRUE(Fails(" 1 + a "));
  EXPECT_EQ(prompt_.Last(), QStringLiteral("执行语句错误：\n\r[ 1 + a ]"));
  // Too large a formula ends the same way for the user.
  QStringList ones;
  for (int i = 0; i < 32; ++i)
    ones << QStringLiteral("1");
  EXPECT_TRUE(Fails(ones.join(QLatin1Char('+'))));
}

// The value as a numeric column shows it.
QString Shown(const QString &text) {
  return FormatDecimal(EvaluateFormula(text, 0), CountDecimals(text));
}

TEST_F(EvaluateFormulaTest, MoneyKeepsItsCents) {
  // Literals are doubles and results are not rounded to floats, which
  // would hold only about seven digits.
  EXPECT_EQ(Value("0.1"), 0.1);
  EXPECT_EQ(Value("1234567.89*1"), 1234567.89);
  EXPECT_EQ(Shown(QStringLiteral("1234567.89*1")), QStringLiteral("1234567.89"));
  EXPECT_EQ(Shown(QStringLiteral("300000.01*1")), QStringLiteral("300000.01"));
  EXPECT_EQ(Shown(QStringLiteral("262144.01")), QStringLiteral("262144.01"));
  EXPECT_EQ(Value("16777217"), 16777217);
  EXPECT_EQ(Value("16777216+1+1"), 16777218);
  EXPECT_EQ(Shown(QStringLiteral("99999999999.99*1")),
            QStringLiteral("99999999999.99"));
  EXPECT_EQ(Shown(QStringLiteral("12345678.9*3")), QStringLiteral("37037036.7"));

  // Sums of cents over as many literals as a formula may hold.
  QStringList cents;
  for (int i = 0; i < 31; ++i)
    cents << QStringLiteral("0.01");
  EXPECT_EQ(Shown(cents.join(QLatin1Char('+'))), QStringLiteral("0.31"));
  QStringList amounts;
  long long total = 0; // in cents
  for (int i = 0; i < 31; ++i) {
    const long long amount = 1000000LL * i + 99 - i; // up to 30 million
    total += amount;
    amounts << QString::asprintf("%lld.%02lld", amount / 100, amount % 100);
  }
  EXPECT_EQ(Shown(amounts.join(QLatin1Char('+'))),
            QString::asprintf("%lld.%02lld", total / 100, total % 100));
}

TEST_F(EvaluateFormulaTest, LargeAndSmallMagnitudes) {
  EXPECT_EQ(Value("1e39"), 1e39); // beyond the float range, a double still
  EXPECT_EQ(Value("1e300*10"), 1e301);
  EXPECT_EQ(Value("1e-300"), 1e-300);
  EXPECT_GT(Value("1e-40"), 0);
  // Intermediates run at the unit's extended range and come back in range.
  EXPECT_EQ(Value("1e300*1e300/1e300"), 1e300);
  EXPECT_TRUE(NotFinite("1e300*1e300*1e300*1e300*1e300*1e300*1e300*"
                        "1e300*1e300*1e300*1e300*1e300*1e300*1e300*"
                        "1e300*1e300*1e300"));
}

// An overflow or a division by zero is no value to store or show.
TEST_F(EvaluateFormulaTest, ResultsThatAreNoNumberFail) {
  EXPECT_TRUE(NotFinite("1e308*10"));
  EXPECT_TRUE(NotFinite("1/0"));
  EXPECT_TRUE(NotFinite("0/0"));
  EXPECT_TRUE(NotFinite("-1/0"));
  EXPECT_EQ(Value("1e308/10"), 1e307);
}

TEST(MathGrammarTest, WithoutCodeItOnlyChecksSyntax) {
  auto parses = [](const char *text) {
    MathGrammar grammar;
    return boost::spirit::classic::parse(text, grammar).full;
  };
  EXPECT_TRUE(parses("1+2*(x-3)/4"));
  EXPECT_TRUE(parses("-1e-3"));
  EXPECT_FALSE(parses("1+"));
  EXPECT_FALSE(parses("1 +2")); // spaces are removed before, not skipped
}

TEST(CountDecimalsTest, LongestFractionOfAnyToken) {
  EXPECT_EQ(CountDecimals(QStringLiteral("12.5*3")), 1);
  EXPECT_EQ(CountDecimals(QStringLiteral("2.50*2")), 2);
  EXPECT_EQ(CountDecimals(QStringLiteral("1.5e-3")), 2); // tokens 1.5e and 3
  EXPECT_EQ(CountDecimals(QStringLiteral("1.2.3")), 3);
  EXPECT_EQ(CountDecimals(QStringLiteral("(1.25)+(3.1)")), 2);
  EXPECT_EQ(CountDecimals(QStringLiteral("Price.abc")), 3);
  EXPECT_EQ(CountDecimals(QStringLiteral("1. + .5")), 1);
  EXPECT_EQ(CountDecimals(QStringLiteral("7/2")), 0);
  EXPECT_EQ(CountDecimals(QString()), 0);
}

TEST(FormatDecimalTest, TrailingZerosAndPointGo) {
  EXPECT_EQ(FormatDecimal(12.5, 2), QStringLiteral("12.5"));
  EXPECT_EQ(FormatDecimal(12, 2), QStringLiteral("12"));
  EXPECT_EQ(FormatDecimal(1.0 / 3, 0), QStringLiteral("0"));
  EXPECT_EQ(FormatDecimal(-2.5, 3), QStringLiteral("-2.5"));
  EXPECT_EQ(FormatDecimal(100, 0), QStringLiteral("100"));
  EXPECT_EQ(FormatDecimal(1e300, 1).size(), 301);
}

// Stored numbers are written with these digits: they must be printf's to the
// last digit, whatever the magnitude and number of decimals.
TEST(FormatDecimalTest, DigitsAreThoseOfPrintf) {
  std::mt19937_64 random(7);
  const double special[] = {0.0, -0.0, 0.1, 0.5, 2.5, -2.5, 1e300, -1e-300,
                            9007199254740993.0, 1.7976931348623157e308,
                            4.9e-324, INFINITY, -INFINITY, NAN};
  auto printfText = [](double value, int decimals) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    QString text = QString::fromLatin1(buffer);
    if (text.contains(QLatin1Char('.'))) {
      while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
      if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    }
    return text;
  };
  for (const double value : special)
    for (const int decimals : {0, 2, 18, 80})
      EXPECT_EQ(FormatDecimal(value, decimals), printfText(value, decimals))
          << value << " " << decimals;
  for (int i = 0; i < 20000; ++i) {
    double value;
    const quint64 bits = random();
    std::memcpy(&value, &bits, sizeof value);
    if (i % 2 == 0)  // everyday magnitudes as well as any bit pattern
      value = std::ldexp(double(bits >> 11), int(random() % 60) - 80);
    const int decimals = int(random() % 20);
    ASSERT_EQ(FormatDecimal(value, decimals), printfText(value, decimals))
        << value << " " << decimals;
  }
}
