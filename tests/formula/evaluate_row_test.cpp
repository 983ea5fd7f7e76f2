// The row operations: field names replaced by values, numeric columns
// evaluated, dependents of an edited column recalculated, and the texts of
// other columns left as they were.
#include "base/scripted_prompt.h"
#include "formula/evaluate_formula.h"
#include "formula/evaluate_row.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kText = 3;
constexpr std::uint32_t kMemo = 10;

FieldValueItem Item(std::uint32_t type, const QString &name, const QString &text,
                    const QString &formula = QString()) {
  FieldValueItem item;
  item.type = type;
  item.fieldName = name;
  item.text = text;
  item.defaultFormula = formula;
  return item;
}

QStringList Texts(const FieldValueRow &row) {
  QStringList texts;
  for (const FieldValueItem &item : row)
    texts << item.text;
  return texts;
}

class EvaluateRowTest : public ::testing::Test {
protected:
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
};

} // namespace

TEST_F(EvaluateRowTest, EditRecalculatesTheFormulaColumn) {
  for (const QString &formula : {QStringLiteral("Amount*Count"),
                                QStringLiteral("amount*COUNT")}) {
    FieldValueRow row{Item(kFieldTypeFloat, "Amount", "12.5"),
                      Item(kFieldTypeInteger, "Count", "3"),
                      Item(kFieldTypeFloat, "Total", "37.5", formula)};
    row[1].text = QStringLiteral("4");
    RecalculateDependents(row, 1);
    EXPECT_EQ(Texts(row), (QStringList{"12.5", "4", "50"})) << formula.toStdString();
  }
  EXPECT_TRUE(prompt_.Texts().isEmpty());
}

TEST_F(EvaluateRowTest, ChineseFieldNames) {
  FieldValueRow row{Item(kFieldTypeFloat, "金额", "12.5"),
                    Item(kFieldTypeInteger, "数量", "3"),
                    Item(kFieldTypeFloat, "合计", "", "金额*数量+总金额"),
                    Item(kFieldTypeFloat, "总金额", "1")};
  row[0].text = QStringLiteral("2.25");
  RecalculateDependents(row, 0);
  // 金额 is no word of its own inside 总金额.
  EXPECT_EQ(Texts(row), (QStringList{"2.25", "3", "7.75", "1"}));
  EXPECT_TRUE(prompt_.Texts().isEmpty());
}

TEST_F(EvaluateRowTest, DependencyChainsWhateverTheColumnOrder) {
  // Tax depends on Total, which depends on Amount; Tax comes first.
  FieldValueRow row{Item(kFieldTypeFloat, "Amount", "10"),
                    Item(kFieldTypeFloat, "Tax", "1", "Total*0.1"),
                    Item(kFieldTypeFloat, "Total", "20", "Amount*Count"),
                    Item(kFieldTypeInteger, "Count", "2"),
                    Item(kFieldTypeFloat, "Fixed", "3.50", "Count*100")};
  row[0].text = QStringLiteral("12.5");
  RecalculateDependents(row, 0);
  // Fixed does not depend on Amount: it keeps its text, reformatted.
  EXPECT_EQ(Texts(row), (QStringList{"12.5", "2.5", "25", "2", "3.5"}));

  // A cycle ends: each column is reset once.
  FieldValueRow cycle{Item(kFieldTypeFloat, "A", "1", "B+1"),
                      Item(kFieldTypeFloat, "B", "1", "A+1")};
  RecalculateDependents(cycle, 0);
  EXPECT_EQ(cycle[0].text, QStringLiteral("1"));
  EXPECT_EQ(cycle[1].text, QStringLiteral("2"));
}

TEST_F(EvaluateRowTest, UnknownNamesAndEmptyValuesFail) {
  FieldValueRow row{Item(kFieldTypeFloat, "Amount", ""),
                    Item(kFieldTypeFloat, "Total", "", "Amount*2"),
                    Item(kFieldTypeFloat, "Other", "", "Price*2"),
                    Item(kFieldTypeInteger, "Third", "1/3")};
  row[1].text = row[1].defaultFormula;
  row[1].applyingDefault = true;
  row[2].text = row[2].defaultFormula;
  row[2].applyingDefault = true;
  EvaluateRow(row);
  EXPECT_EQ(Texts(row), (QStringList{"0", "0", "0", "0"}));
  EXPECT_EQ(prompt_.Texts(),
            (QStringList{FormulaFailureMessage("*2"),
                         FormulaFailureMessage("Price*2")}));
}

// A result that is no number fails the row on the fast and the textual path
// alike; a text that does not parse still gives "0" and a true row.
TEST_F(EvaluateRowTest, ResultsThatAreNoNumberFailTheRow) {
  for (const char *amount : {"1e308", "0"}) {
    for (const bool textual : {false, true}) {
      prompt_.Clear();
      FieldValueRow row{Item(kFieldTypeFloat, "Amount", amount),
                        Item(kFieldTypeInteger, "Count", "10"),
                        Item(kFieldTypeFloat, "Total", "", "Count/Amount*Amount*Amount")};
      row[2].text = row[2].defaultFormula;
      row[2].applyingDefault = true;
      const bool finite = textual ? EvaluateRowTextually(row) : EvaluateRow(row);
      EXPECT_FALSE(finite) << amount << textual;
      const QString substituted = QStringLiteral("10/%1*%1*%1").arg(amount);
      EXPECT_EQ(prompt_.Texts(), QStringList{NotFiniteMessage(substituted)})
          << amount << textual;
    }
  }
  FieldValueRow row{Item(kFieldTypeFloat, "Total", "Price*2")};
  EXPECT_TRUE(EvaluateRow(row));
  EXPECT_EQ(row[0].text, "0");
}

TEST_F(EvaluateRowTest, TextColumnsKeepWhatWasTyped) {
  FieldValueRow row{Item(kFieldTypeInteger, "Count", "3"),
                    Item(kMemo, "Memo", "Count the cash"),
                    Item(kText, "Label", "count"),
                    Item(kFieldTypeInteger, "Double", "", "Count*2")};
  RecalculateDependents(row, 0);
  EXPECT_EQ(Texts(row), (QStringList{"3", "Count the cash", "count", "6"}));

  // A new row's text column given its default formula takes the values.
  FieldValueRow fresh{Item(kFieldTypeInteger, "Count", "3"),
                      Item(kText, "Label", "", "Count pcs")};
  fresh[1].text = fresh[1].defaultFormula;
  fresh[1].applyingDefault = true;
  EvaluateRow(fresh);
  EXPECT_EQ(fresh[1].text, QStringLiteral("3 pcs"));
  EXPECT_FALSE(fresh[1].applyingDefault);

  // The flag does not outlive the operation: the same text stays as it is.
  fresh[1].text = QStringLiteral("Count pcs");
  EvaluateRow(fresh);
  EXPECT_EQ(fresh[1].text, QStringLiteral("Count pcs"));
}

TEST_F(EvaluateRowTest, NamesAreWholeWordsMatchedLiterally) {
  FieldValueRow row{Item(kFieldTypeFloat, "a+b", "2"),
                    Item(kFieldTypeFloat, "a.b", "5"),
                    Item(kFieldTypeFloat, "Cost)", "7"),
                    Item(kFieldTypeFloat, "Amount", "4"),
                    Item(kText, "Out", "", "a+b*10 axb Cost)*2 Amounts $x")};
  row[4].text = row[4].defaultFormula;
  row[4].applyingDefault = true;
  EvaluateRow(row);
  // "a.b" does not match "axb", "Amount" not "Amounts"; the names are
  // replaced where they stand whole.
  EXPECT_EQ(row[4].text, QStringLiteral("2*10 axb 7*2 Amounts $x"));

  // A name that is empty occurs nowhere.
  FieldValueRow unnamed{Item(kFieldTypeInteger, "", "1+1"),
                        Item(kText, "T", "", "a b")};
  unnamed[1].text = unnamed[1].defaultFormula;
  unnamed[1].applyingDefault = true;
  EvaluateRow(unnamed);
  EXPECT_EQ(Texts(unnamed), (QStringList{"2", "a b"}));
}

TEST_F(EvaluateRowTest, ValuesAreInsertedLiterally) {
  FieldValueRow row{Item(kText, "Label", R"($1 \1 $& \\ $$)"),
                    Item(kText, "Copy", "", "[Label]")};
  row[1].text = row[1].defaultFormula;
  row[1].applyingDefault = true;
  EvaluateRow(row);
  EXPECT_EQ(row[1].text, QStringLiteral(R"([$1 \1 $& \\ $$])"));
}

TEST_F(EvaluateRowTest, SubstitutionUsesValuesAsTheyBecome) {
  // Total's own text is substituted before it is copied into Later.
  FieldValueRow row{Item(kFieldTypeFloat, "Price", "2.5"),
                    Item(kFieldTypeFloat, "Total", "Price*2"),
                    Item(kFieldTypeFloat, "Later", "Total+1")};
  EvaluateRow(row);
  EXPECT_EQ(Texts(row), (QStringList{"2.5", "5", "6"}));
  // Decimals come from the substituted text: 12.5*3 keeps one.
  FieldValueRow decimals{Item(kFieldTypeFloat, "A", "12.5"),
                         Item(kFieldTypeFloat, "B", "A*3"),
                         Item(kFieldTypeFloat, "C", "2.50*2"),
                         Item(kFieldTypeInteger, "D", "1/3")};
  EvaluateRow(decimals);
  EXPECT_EQ(Texts(decimals), (QStringList{"12.5", "37.5", "5", "0"}));
}

TEST_F(EvaluateRowTest, OddInputChangesNothingElse) {
  FieldValueRow row{Item(kFieldTypeInteger, "A", "1"),
                    Item(kText, "B", QString(QChar(0xD800)) + "A")};
  RecalculateDependents(row, 5); // no such column
  RecalculateDependents(row, -1);
  EXPECT_EQ(row[0].text, QStringLiteral("1"));
  row[1].applyingDefault = true;
  EvaluateRow(row); // a lone surrogate is just a character
  EXPECT_EQ(row[1].text, QString(QChar(0xD800)) + "1");
  FieldValueRow empty;
  EvaluateRow(empty);
  RecalculateDependents(empty, 0);
}

TEST_F(EvaluateRowTest, SelfReferenceCannotGrowTextsWithoutEnd) {
  // Each column doubles the one before: 2^30 copies if nothing stopped it.
  FieldValueRow row{Item(kFieldTypeInteger, "C0", "1")};
  for (int i = 1; i <= 30; ++i)
    row.append(Item(kFieldTypeInteger, QStringLiteral("C%1").arg(i),
                    QStringLiteral("C%1+C%1").arg(i - 1)));
  row.append(Item(kText, "Note", "C30 and more"));
  EvaluateRow(row);
  EXPECT_EQ(row[1].text, QStringLiteral("2"));
  EXPECT_EQ(row[4].text, QStringLiteral("16"));
  EXPECT_EQ(row[30].text, QStringLiteral("0")); // failed, with its message
  EXPECT_EQ(row[31].text, QStringLiteral("C30 and more"));
  ASSERT_FALSE(prompt_.Texts().isEmpty());
  for (const QString &message : prompt_.Texts())
    EXPECT_LE(message.size(), 8192 + 20);
}
