// The code generator: its byte and constant limits, the register-stack
// limit, operand order, memory protection of the code area, and agreement
// of the machine code with the interpreter.
#include "formula/code_area.h"
#include "formula/evaluate_formula.h"
#include "formula/formula_code.h"
#include "formula/formula_error.h"
#include "formula/formula_interpreter.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <set>
#include <string>

namespace {

// The exception text of running f, or "" when it does not throw.
template <typename F> std::string FailureOf(F f) {
  try {
    f();
  } catch (const FormulaError &error) {
    return error.what();
  }
  return std::string();
}

QString SumOfOnes(int count) {
  QStringList terms;
  for (int i = 0; i < count; ++i)
    terms << QStringLiteral("1");
  return terms.join(QLatin1Char('+'));
}

#if SORVANEL_FORMULA_NATIVE
// The permissions ("rw-p", "--xp", ...) of the mapping that holds address,
// or "" when no mapping does.
QString PermissionsOf(const void *address) {
  QFile maps(QStringLiteral("/proc/self/maps"));
  if (!maps.open(QIODevice::ReadOnly))
    return QStringLiteral("?");
  const auto target = reinterpret_cast<std::uintptr_t>(address);
  for (const QByteArray &line : maps.readAll().split('\n')) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() < 2)
      continue;
    const QList<QByteArray> range = fields[0].split('-');
    if (range.size() != 2)
      continue;
    const std::uintptr_t begin = range[0].toULongLong(nullptr, 16);
    const std::uintptr_t end = range[1].toULongLong(nullptr, 16);
    if (target >= begin && target < end)
      return QString::fromLatin1(fields[1]);
  }
  return QString();
}
#endif

bool SameValue(long double a, long double b) {
  if (std::isnan(a) || std::isnan(b))
    return std::isnan(a) && std::isnan(b);
  return a == b && std::signbit(a) == std::signbit(b);
}

} // namespace

TEST(FormulaCodeTest, ByteBudgetCountsTheReferenceEncoding) {
  FormulaCode code;
  Compile(QStringLiteral("7"), code);
  EXPECT_EQ(code.EmittedSize(), 11u); // prologue, one load, epilogue
  EXPECT_EQ(code.Invoke(0), 7.0L);

  Compile(SumOfOnes(31), code);
  EXPECT_EQ(code.EmittedSize(), 251u);
  EXPECT_EQ(code.ConstantCount(), 31u);
  EXPECT_EQ(code.Invoke(0), 31.0L);

  EXPECT_EQ(FailureOf([&] { Compile(SumOfOnes(32), code); }), kTooLargeText);

  // 6 constants and 41 arguments with 46 operators take exactly 256 bytes,
  // which is allowed; one more operand is not.
  QString exact = QStringLiteral("1+2+3+4+5+6");
  for (int i = 0; i < 41; ++i)
    exact += QStringLiteral("+x");
  Compile(exact, code);
  EXPECT_EQ(code.EmittedSize(), 256u);
  EXPECT_EQ(code.Invoke(2), 21.0L + 82.0L);
  EXPECT_EQ(FailureOf([&] { Compile(exact + QStringLiteral("+x"), code); }),
            kTooLargeText);
}

TEST(FormulaCodeTest, SumOf32FailsAtThe31stOperatorAndWritesNothing) {
  FormulaCode code;
  code.Begin();
  code.PushConstant(1);
  for (int k = 2; k <= 32; ++k) {
    code.PushConstant(1);
    if (k < 32) {
      code.Add();
      continue;
    }
    const std::uint32_t before = code.EmittedSize();
    const std::uint32_t native = code.NativeSize();
    EXPECT_EQ(FailureOf([&] { code.Add(); }), kTooLargeText);
    EXPECT_EQ(code.EmittedSize(), before);
    EXPECT_EQ(code.NativeSize(), native);
  }
  EXPECT_EQ(code.ConstantCount(), 32u);
  code.Release();
  EXPECT_EQ(code.EmittedSize(), 0u);
  EXPECT_EQ(code.ConstantCount(), 0u);
  EXPECT_EQ(code.CodeArea(), nullptr);
}

TEST(FormulaCodeTest, ConstantPoolHoldsAtMost256) {
  // The byte budget stops a formula long before the pool is full; the pool's
  // own limit shows on a record that is not being written.
  FormulaCode code;
  for (int i = 0; i < 256; ++i)
    code.PushConstant(i);
  EXPECT_EQ(code.ConstantCount(), 256u);
  EXPECT_EQ(code.Constant(255), 255.0);
  EXPECT_EQ(FailureOf([&] { code.PushConstant(1); }), kTooManyConstantsText);
}

TEST(FormulaCodeTest, NinthPendingValueIsRefusedAsTooLarge) {
  // k right-nested groups "1+(" keep k values pending, and the innermost
  // "1+1" adds two more.
  auto nested = [](int k) {
    QString text;
    for (int i = 0; i < k; ++i)
      text += QStringLiteral("1+(");
    return text + QStringLiteral("1+1") + QString(k, QLatin1Char(')'));
  };
  FormulaCode code;
  Compile(nested(6), code); // eight pending
  EXPECT_EQ(code.Invoke(0), 8.0L);
  EXPECT_EQ(InterpretFormula(code, 0), 8.0L);
  EXPECT_EQ(FailureOf([&] { Compile(nested(7), code); }), kTooLargeText);
  EXPECT_EQ(FailureOf([&] {
              Compile(QStringLiteral("x*(x*(x*(x*(x*(x*(x*(x*(x+1))))))))"),
                      code);
            }),
            kTooLargeText);
  // Depth, not length: a long left-nested sum never has more than two.
  Compile(QStringLiteral("((((((((((1+2)+3)+4)+5)+6)+7)+8)+9)+10)+11)"), code);
  EXPECT_EQ(code.Invoke(0), 66.0L);
}

TEST(FormulaCodeTest, EveryPoolSlotLoadsItsDouble) {
  // The near slots and the far ones (past a one-byte displacement) are
  // loaded with all 53 bits; a float would lose the cents of each.
  for (int last = 1; last <= 31; ++last) {
    QStringList terms;
    for (int i = 1; i < last; ++i)
      terms << QStringLiteral("0");
    terms << QStringLiteral("1234567.89");
    FormulaCode code;
    Compile(terms.join(QLatin1Char('+')), code);
    EXPECT_EQ(code.Constant(std::uint32_t(last - 1)), 1234567.89);
    EXPECT_EQ(code.Invoke(0), static_cast<long double>(1234567.89)) << last;
    EXPECT_EQ(InterpretFormula(code, 0), static_cast<long double>(1234567.89));
  }
}

TEST(FormulaCodeTest, SetConstantChangesWhatFinishedCodeReads) {
  FormulaCode code;
  Compile(QStringLiteral("2*3+x"), code);
  EXPECT_EQ(code.Invoke(1), 7.0L);
  code.SetConstant(1, 0.01);
  EXPECT_EQ(code.Invoke(0), 2 * static_cast<long double>(0.01));
  EXPECT_EQ(code.Invoke(0), InterpretFormula(code, 0));
  code.SetConstant(5, 9); // beyond the used slots: nothing changes
  EXPECT_EQ(code.ConstantCount(), 2u);
}

TEST(FormulaCodeTest, LeftOperandIsTheDeeperValue) {
  FormulaCode code;
  code.Begin();
  code.PushConstant(10);
  code.PushConstant(4);
  code.Sub();
  code.Finish();
  EXPECT_EQ(code.Invoke(0), 6.0L);
  code.Begin();
  code.PushConstant(8);
  code.PushArgument();
  code.Div();
  code.Finish();
  EXPECT_EQ(code.Invoke(2), 4.0L);
  EXPECT_EQ(InterpretFormula(code, 2), 4.0L);
  code.Release();
}

TEST(FormulaCodeTest, MisuseNeverRunsBrokenCode) {
  FormulaCode code;
  EXPECT_EQ(code.Invoke(1), 0.0L); // nothing compiled
  code.Begin();
  code.PushConstant(1);
  EXPECT_THROW(code.Add(), std::logic_error); // one operand only
  code.PushConstant(2);
  EXPECT_EQ(code.Invoke(1), 0.0L); // not finished
  code.PushConstant(3);
  EXPECT_THROW(code.Finish(), std::logic_error); // three values left
  code.Release();
}

TEST(FormulaCodeTest, DivisionByZeroGivesInfinityOrNaN) {
  FormulaCode code;
  Compile(QStringLiteral("1/0"), code);
  EXPECT_TRUE(std::isinf(code.Invoke(0)));
  Compile(QStringLiteral("-1/0"), code);
  EXPECT_LT(code.Invoke(0), 0);
  Compile(QStringLiteral("0/0"), code);
  EXPECT_TRUE(std::isnan(code.Invoke(0)));
  Compile(QStringLiteral("x/x"), code);
  EXPECT_TRUE(std::isnan(code.Invoke(0)));
  EXPECT_TRUE(std::isnan(InterpretFormula(code, 0)));
}

#if SORVANEL_FORMULA_NATIVE
TEST(FormulaCodeTest, CodeAreaIsNeverWritableAndExecutable) {
  FormulaCode code;
  code.Begin();
  const void *area = code.CodeArea();
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(PermissionsOf(area).left(3), QStringLiteral("rw-"));
  code.PushConstant(2);
  code.PushArgument();
  code.Mul();
  code.Finish();
  EXPECT_EQ(PermissionsOf(area).left(3), QStringLiteral("--x"));
  EXPECT_EQ(code.Invoke(21), 42.0L);
  code.Release();
  EXPECT_EQ(code.CodeArea(), nullptr);
}

// Whether any mapping of the process is writable and executable at once.
bool AnyWritableExecutable() {
  QFile maps(QStringLiteral("/proc/self/maps"));
  if (!maps.open(QIODevice::ReadOnly))
    return true;
  for (const QByteArray &line : maps.readAll().split('\n')) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() >= 2 && fields[1].size() >= 3 && fields[1][1] == 'w' &&
        fields[1][2] == 'x')
      return true;
  }
  return false;
}

TEST(FormulaCodeTest, RecycledAreasStayExecuteOnlyWhileHeld) {
  FormulaCode held;
  Compile(QStringLiteral("2*x"), held);
  std::set<const void *> areas;
  for (int i = 0; i < 100; ++i) {
    FormulaCode code;
    code.Begin();
    EXPECT_NE(code.CodeArea(), held.CodeArea());
    EXPECT_EQ(PermissionsOf(code.CodeArea()).left(3), QStringLiteral("rw-"));
    code.PushConstant(i);
    code.PushArgument();
    code.Add();
    code.Finish();
    EXPECT_EQ(PermissionsOf(code.CodeArea()).left(3), QStringLiteral("--x"));
    EXPECT_EQ(code.Invoke(1), i + 1.0L);
    EXPECT_FALSE(AnyWritableExecutable());
    areas.insert(code.CodeArea());
    if (i % 7 == 0)
      continue; // some are released by the destructor
    code.Release();
  }
  EXPECT_LT(areas.size(), 100u); // areas are used again
  EXPECT_EQ(PermissionsOf(held.CodeArea()).left(3), QStringLiteral("--x"));
  EXPECT_EQ(held.Invoke(21), 42.0L);
}

TEST(FormulaCodeDeathTest, FinishedCodeCannotBeWritten) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  FormulaCode code;
  Compile(QStringLiteral("1+2"), code);
  auto *area = static_cast<volatile std::uint8_t *>(
      const_cast<void *>(code.CodeArea()));
  EXPECT_DEATH(area[0] = 0xC3, "");
}
#endif

// Random formulas within the limits, to hold the machine code to the
// interpreter: same operations, same precision, same bits.
class RandomFormula {
public:
  explicit RandomFormula(unsigned seed) : random_(seed) {}

  QString Next() { return Expression(3); }

private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  QString Number() {
    static const char *const kSamples[] = {
        "0",    "1",     "-2",  "+3",   "0.1",  ".5",     "5.",  "12.5",
        "1e3",  "2E-2",  "-0",  "3.25", "1e38", "1e-40",  "7",   "-0.3",
        "1e30", "16777217", "0.333", "99.99", "1234567.89", "0.01",
        "1e300", "1e-300", "262144.01", "4.9e-324"};
    return QString::fromLatin1(kSamples[Pick(std::size(kSamples))]);
  }

  QString Factor(int depth) {
    const int kind = Pick(depth > 0 ? 4 : 3);
    if (kind == 0 || kind == 1)
      return Number();
    if (kind == 2)
      return QStringLiteral("x");
    return QLatin1Char('(') + Expression(depth - 1) + QLatin1Char(')');
  }

  QString Term(int depth) {
    QString text = Factor(depth);
    for (int n = Pick(3); n > 0; --n)
      text += QLatin1Char(Pick(2) ? '*' : '/') + Factor(depth);
    return text;
  }

  QString Expression(int depth) {
    QString text = Term(depth);
    for (int n = Pick(3); n > 0; --n)
      text += QLatin1Char(Pick(2) ? '+' : '-') + Term(depth);
    return text;
  }

  std::mt19937 random_;
};

TEST(FormulaCodeTest, MachineCodeAgreesWithInterpreter) {
  RandomFormula formulas(20240611);
  const float arguments[] = {0.0f, 1.0f, -2.5f, 0.1f, 3e30f, -1e-30f};
  int compared = 0;
  for (int i = 0; i < 3000; ++i) {
    const QString text = formulas.Next();
    FormulaCode code;
    try {
      Compile(text, code);
    } catch (const FormulaError &error) {
      // Random formulas may exceed the limits; nothing else may fail.
      EXPECT_STREQ(error.what(), kTooLargeText) << text.toStdString();
      continue;
    }
    for (const float x : arguments) {
      const long double native = code.Invoke(x);
      const long double interpreted = InterpretFormula(code, x);
      EXPECT_TRUE(SameValue(native, interpreted))
          << text.toStdString() << " x=" << x << ": " << double(native)
          << " vs " << double(interpreted);
      ++compared;
    }
  }
  EXPECT_GT(compared, 10000);
}
