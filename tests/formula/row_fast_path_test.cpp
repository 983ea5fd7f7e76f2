// The fast path of the row operation against the text substitution it
// stands in for: same texts, same messages, on chosen rows and on random
// ones, and the rows it must leave to the text substitution.
#include "base/scripted_prompt.h"
#include "formula/evaluate_formula.h"
#include "formula/evaluate_row.h"
#include "formula/plain_number.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

constexpr std::uint32_t kKey = 0;
constexpr std::uint32_t kText = 3;
constexpr std::uint32_t kMemo = 10;

FieldValueItem Item(std::uint32_t type, const QString &name, const QString &text,
                    bool applyingDefault = false) {
  FieldValueItem item;
  item.type = type;
  item.fieldName = name;
  item.text = text;
  item.applyingDefault = applyingDefault;
  return item;
}

struct Outcome {
  bool fast = false; // whether the fast path took the row
  QStringList texts;
  QStringList messages;
};

Outcome RunRow(FieldValueRow row, bool fast) {
  ScriptedPrompt prompt;
  ScopedPrompt scoped(prompt);
  Outcome outcome;
  if (fast)
    outcome.fast = EvaluateRowFast(row);
  else
    EvaluateRowTextually(row);
  for (const FieldValueItem &item : row) {
    outcome.texts << item.text;
    if (!fast || outcome.fast) {
      EXPECT_FALSE(item.applyingDefault);
    }
  }
  outcome.messages = prompt.Texts();
  return outcome;
}

QString Describe(const FieldValueRow &row) {
  QString out;
  for (const FieldValueItem &item : row)
    out += QStringLiteral("%1|%2|%3|%4\n")
               .arg(item.type)
               .arg(item.fieldName, item.text)
               .arg(item.applyingDefault);
  return out;
}

// Runs the row both ways; true when the fast path took it. The texts and
// messages must agree whenever it did.
bool ExpectSame(const FieldValueRow &row) {
  const Outcome fast = RunRow(row, true);
  if (!fast.fast) {
    EXPECT_EQ(fast.texts, [&] {
      QStringList texts;
      for (const FieldValueItem &item : row)
        texts << item.text;
      return texts;
    }()) << "a declined row was changed";
    EXPECT_TRUE(fast.messages.isEmpty());
    return false;
  }
  const Outcome text = RunRow(row, false);
  EXPECT_EQ(fast.texts, text.texts) << qPrintable(Describe(row));
  EXPECT_EQ(fast.messages, text.messages) << qPrintable(Describe(row));
  return true;
}

} // namespace

TEST(RowFastPathTest, FormulasOverFormulasInlineAsText) {
  // Total's text, not its value, goes into Tax: "12.5+4*2" is 20.5, not
  // (12.5+4)*2. The fast path keeps that.
  FieldValueRow row{Item(kFieldTypeFloat, "Amount", "12.5"),
                    Item(kFieldTypeInteger, "Count", "4"),
                    Item(kFieldTypeFloat, "Total", "Amount+Count", true),
                    Item(kFieldTypeFloat, "Tax", "Total*2", true),
                    Item(kFieldTypeFloat, "Net", "Total - Tax", true),
                    Item(kText, "Note", "Total", true),
                    Item(kMemo, "Memo", "Count the cash")};
  EXPECT_TRUE(ExpectSame(row));
  EvaluateRow(row);
  EXPECT_EQ(row[2].text, QStringLiteral("16.5"));
  EXPECT_EQ(row[3].text, QStringLiteral("20.5"));
  EXPECT_EQ(row[4].text, QStringLiteral("12")); // 12.5+4 - 12.5+4*2
  EXPECT_EQ(row[5].text, QStringLiteral("12.5+4")); // a text column given its default
  EXPECT_EQ(row[6].text, QStringLiteral("Count the cash"));
}

TEST(RowFastPathTest, NumbersWithSignsExponentsAndDecimals) {
  const char *const values[] = {"-3", "+.5", "5.", "1e3", "2E-2", "-0",
                                "1.5e-3", "1234567.89", "007", "0.10"};
  for (const char *amount : values) {
    for (const char *formula :
         {"Amount*Count", "Count-Amount", "(Amount)/Count", "Amount*-Count",
          "Amount Count", "1e Amount", "Amount.5", "2*(Amount+x)"}) {
      FieldValueRow row{Item(kFieldTypeFloat, "Amount", amount),
                        Item(kFieldTypeInteger, "Count", "-2"),
                        Item(kFieldTypeFloat, "Total", formula, true)};
      EXPECT_TRUE(ExpectSame(row)) << amount << " " << formula;
    }
  }
  FieldValueRow row{Item(kFieldTypeFloat, "Amount", "1234567.89"),
                    Item(kFieldTypeInteger, "Count", "1"),
                    Item(kFieldTypeFloat, "Total", "Amount*Count", true)};
  EvaluateRow(row);
  EXPECT_EQ(row[2].text, QStringLiteral("1234567.89"));
}

TEST(RowFastPathTest, FailuresShowTheSubstitutedText) {
  // Empty values, words that are no number, and names left over all fail
  // with the text as substituted, on either path.
  for (const char *count : {"", "abc", "12abc", "1e", "1.2.3", " 3", "x", "("}) {
    FieldValueRow row{Item(kFieldTypeFloat, "Amount", "12.5"),
                      Item(kFieldTypeInteger, "Count", count),
                      Item(kFieldTypeFloat, "Total", "Amount*Count", true),
                      Item(kFieldTypeFloat, "Other", "Amount*Nothing", true)};
    EXPECT_TRUE(ExpectSame(row)) << count;
  }
  ScriptedPrompt prompt;
  ScopedPrompt scoped(prompt);
  FieldValueRow row{Item(kFieldTypeFloat, "Amount", "12.5"),
                    Item(kFieldTypeInteger, "Count", ""),
                    Item(kFieldTypeFloat, "Total", "Amount*Count", true)};
  EvaluateRow(row);
  EXPECT_EQ(row[2].text, QStringLiteral("0"));
  EXPECT_EQ(prompt.Texts(), QStringList{FormulaFailureMessage("12.5*")});
}

TEST(RowFastPathTest, NamesThatArePrefixesOrDifferInCase) {
  FieldValueRow row{Item(kFieldTypeFloat, "Am", "2"),
                    Item(kFieldTypeFloat, "Amount", "3"),
                    Item(kFieldTypeFloat, "Amounts", "5"),
                    Item(kFieldTypeFloat, "金额", "7"),
                    Item(kFieldTypeFloat, "金额2", "11"),
                    Item(kFieldTypeFloat, "A", "AM*amount*AMOUNTS", true),
                    Item(kFieldTypeFloat, "B", "金额*金额2", true),
                    // Words that merely contain a name stay and fail.
                    Item(kFieldTypeFloat, "C", "总金额+Am_ount+Amount1", true)};
  EXPECT_TRUE(ExpectSame(row));
  ScriptedPrompt prompt;
  ScopedPrompt scoped(prompt);
  EvaluateRow(row);
  EXPECT_EQ(row[5].text, QStringLiteral("30"));
  EXPECT_EQ(row[6].text, QStringLiteral("77"));
  EXPECT_EQ(row[7].text, QStringLiteral("0"));
  EXPECT_EQ(prompt.Texts(),
            QStringList{FormulaFailureMessage("总金额+Am_ount+Amount1")});
}

TEST(RowFastPathTest, RowsTheFastPathLeavesToTextSubstitution) {
  // Each of these is decided by the text substitution alone, and the row
  // operation still gives its answer.
  const FieldValueRow declined[] = {
      {Item(kFieldTypeFloat, "Unit price", "2"),
       Item(kFieldTypeFloat, "T", "Unit price*3", true)},
      {Item(kFieldTypeFloat, "Amount", "2"), Item(kFieldTypeFloat, "amount", "3"),
       Item(kFieldTypeFloat, "T", "Amount*3", true)},
      {Item(kFieldTypeFloat, "Café", "2"),
       Item(kFieldTypeFloat, "T", "CAFÉ*3", true)},
      {Item(kFieldTypeFloat, "e1", "2"), Item(kFieldTypeFloat, "T", "1e1", true)},
      // Substitution would grow the text beyond its limit.
      {Item(kFieldTypeFloat, "A", "12345"),
       Item(kFieldTypeFloat, "T", QStringList(3000, QStringLiteral("A")).join('+'),
            true)},
  };
  for (const FieldValueRow &row : declined) {
    EXPECT_FALSE(RunRow(row, true).fast) << qPrintable(Describe(row));
    FieldValueRow both = row;
    ScriptedPrompt prompt;
    ScopedPrompt scoped(prompt);
    EvaluateRow(both);
    const Outcome text = RunRow(row, false);
    QStringList texts;
    for (const FieldValueItem &item : both)
      texts << item.text;
    EXPECT_EQ(texts, text.texts);
  }
}

TEST(RowFastPathTest, PlainNumbersAreTheGrammarsLiterals) {
  double value = 0;
  for (const char *text : {"0", "-3", "+.5", "5.", "1e3", "2E-2", "007"})
    EXPECT_TRUE(ParsePlainNumber(QString::fromLatin1(text), &value)) << text;
  EXPECT_TRUE(ParsePlainNumber(QStringLiteral("0.1"), &value));
  EXPECT_EQ(value, 0.1);
  for (const char *text : {"", ".", "1e", "2e+", " 1", "1 ", "1.2.3", "--1",
                           "x", "1,5", "0x10", "１"})
    EXPECT_FALSE(ParsePlainNumber(QString::fromUtf8(text), &value)) << text;
}

namespace {

// Random rows over names that are prefixes of each other, differ in case or
// are Chinese, with values of every kind and formulas over them.
class RandomRow {
public:
  explicit RandomRow(unsigned seed) : random_(seed) {}

  FieldValueRow Next() {
    std::shuffle(std::begin(names_), std::end(names_), random_);
    FieldValueRow row;
    const int size = 2 + Pick(8);
    for (int i = 0; i < size; ++i) {
      static const std::uint32_t kTypes[] = {kFieldTypeFloat, kFieldTypeInteger,
                                             kFieldTypeFloat, kText, kMemo, kKey};
      FieldValueItem item;
      item.type = kTypes[Pick(std::size(kTypes))];
      // Mostly distinct names; now and then one the fast path declines.
      item.fieldName = Pick(10) ? QString::fromUtf8(names_[i]) : OddName();
      item.applyingDefault = Pick(3) == 0;
      item.text = Pick(2) ? Value() : Formula(2);
      row.append(item);
    }
    return row;
  }

private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  template <typename T, size_t N> QString From(const T (&list)[N]) {
    return QString::fromUtf8(list[Pick(int(N))]);
  }

  QString Name() { return QString::fromUtf8(names_[Pick(std::size(names_))]); }

  QString OddName() {
    static const char *const kNames[] = {"amount", "X", "e", "1e5", "ς",
                                         "Unit price", "Café"};
    return From(kNames);
  }

  QString Value() {
    static const char *const kValues[] = {
        "12.5", "-3",  "+.5",   "5.",      "1e3",  "2E-2",     "-0",
        "0.01", "007", "1e",    "1.2.3",   "",     "abc",      "12abc",
        "x",    "(",   "1 2",   " 3",      "现金", "1234567.89", "1e300",
        "0",    "$1",  "a\\b",  "Count",   "é",    "-"};
    return From(kValues);
  }

  QString Factor(int depth) {
    switch (Pick(depth > 0 ? 5 : 4)) {
    case 0:
    case 1:
      return Name();
    case 2:
      return Value();
    case 3:
      return QStringLiteral("x");
    default:
      return QLatin1Char('(') + Formula(depth - 1) + QLatin1Char(')');
    }
  }

  QString Formula(int depth) {
    static const char *const kJoins[] = {"+", "-", "*", "/", " + ", " * ",
                                         "*-", "", " ", "\t"};
    QString text = Factor(depth);
    for (int n = Pick(4); n > 0; --n)
      text += From(kJoins) + Factor(depth);
    return text;
  }

  std::mt19937 random_;
  const char *names_[16] = {"Amount", "Am",  "Amounts", "Count", "C",   "Total",
                            "金额",   "金额2", "数量",   "x",     "E1",  "a_b",
                            "",       "Net", "Tax",     "单价"};
};

} // namespace

TEST(RowFastPathTest, RandomRowsGiveTheSameTextsAndMessages) {
  RandomRow rows(20261207);
  int fast = 0;
  constexpr int kRows = 4000;
  for (int i = 0; i < kRows; ++i) {
    const FieldValueRow row = rows.Next();
    if (ExpectSame(row))
      ++fast;
    if (::testing::Test::HasFailure())
      break;
  }
  // Enough rows must take the fast path for the comparison to mean much.
  EXPECT_GT(fast, kRows / 4);
}
