// Import rules: how they match and which one wins, how they are kept in the
// account file, how an import applies them, and the rule made from a cell
// the user changed in the preview.
#include "exchange/import_rule_store.h"
#include "exchange/import_rules.h"
#include "exchange/statement_import.h"

#include "exchange_test_file.h"

namespace {

ImportRule Rule(const QString &source, RuleCondition condition,
                const QString &text, const QString &field,
                const QString &value) {
  ImportRule rule;
  rule.source = source;
  rule.condition = condition;
  rule.text = text;
  rule.field = field;
  rule.value = value;
  return rule;
}

// The condition and setting of each rule of file, in order.
QStringList Listed(AccountFile &file) {
  QStringList texts;
  for (const ImportRule &rule : LoadImportRules(file))
    texts.append(RuleConditionText(rule) + " → " +
                 RuleSettingText(file.Columns(), rule));
  return texts;
}

const QStringList kHeaders{"交易时间", "交易对方", "商品", "金额"};

} // namespace

TEST_F(ExchangeTest, RulesMatchInOrderAndTheFirstPerColumnWins) {
  const ImportRules rules({
      Rule("不在账单里", RuleCondition::Contains, "滴滴", "Category", "购物"),
      Rule("交易对方", RuleCondition::Contains, "滴滴", "Category", "交通"),
      Rule("交易对方", RuleCondition::StartsWith, "kfc", "Category", "餐饮"),
      Rule("商品", RuleCondition::Equals, "打车", "Category", "其他"),
      Rule("商品", RuleCondition::Equals, "打车", "Item", "出租车"),
      Rule("商品", RuleCondition::Contains, "a", "Count", " 2 "),
  });
  const ColumnList &columns = file_.Columns();
  auto apply = [&](const QStringList &fields, QList<int> *set) {
    QStringList texts(columns.Size());
    rules.Apply(kHeaders, fields, columns, &texts, set);
    return texts;
  };
  QList<int> set;
  // Contains wins over the later equals for 类别; equals still sets 项目.
  QStringList texts = apply({"2024-01-05", "滴滴出行", "打车", "12"}, &set);
  EXPECT_EQ(texts[3], "交通");
  EXPECT_EQ(texts[8], "出租车");
  EXPECT_EQ(set, (QList<int>{3, 8}));
  // Starts with, after folding full-width forms and case; a number column
  // takes the number as stored.
  texts = apply({"2024-01-06", "　ＫＦＣ 北京店", "Latte", "30"}, &set);
  EXPECT_EQ(texts[3], "餐饮");
  EXPECT_EQ(texts[6], "2");
  EXPECT_EQ(set, (QList<int>{3, 6}));
  // Equals is the whole text (blanks around it aside), not a part.
  texts = apply({"2024-01-07", "美团", "打车券 ", "5"}, &set);
  EXPECT_TRUE(set.isEmpty());
  apply({"2024-01-08", "美团", " 打车", "5"}, &set);
  EXPECT_EQ(set, (QList<int>{3, 8}));
  // Lines whose column each rule set.
  QList<int> matches;
  for (qsizetype i = 0; i < rules.List().size(); ++i)
    matches.append(rules.Matches(i));
  EXPECT_EQ(matches, (QList<int>{0, 1, 1, 1, 2, 1}));
}

TEST_F(ExchangeTest, RulesAreKeptInTheFileInTheirOrder) {
  ImportRule didi =
      Rule("交易对方", RuleCondition::Contains, "滴滴", "类别", "交通");
  ImportRule quoted =
      Rule("商品", RuleCondition::StartsWith, "O'Brien", "Memo", "it's");
  ImportRule third = Rule("备注", RuleCondition::Equals, "x", "Count", "3");
  ASSERT_TRUE(AddImportRule(file_, didi));
  ASSERT_TRUE(AddImportRule(file_, quoted));
  ASSERT_TRUE(AddImportRule(file_, third));
  third.value = "4";
  ASSERT_TRUE(UpdateImportRule(file_, third));
  ASSERT_TRUE(MoveImportRule(file_, third.id, -1));
  EXPECT_FALSE(MoveImportRule(file_, didi.id, -1));
  ASSERT_TRUE(DeleteImportRule(file_, didi.id));
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));

  // Rules that do not fit the columns are refused with the reason.
  ImportRule bad = Rule("商品", RuleCondition::Contains, "a", "Nope", "1");
  EXPECT_FALSE(AddImportRule(file_, bad));
  bad.field = "Amount";
  bad.value = "abc";
  EXPECT_FALSE(AddImportRule(file_, bad));
  bad.field = "ID";
  EXPECT_FALSE(AddImportRule(file_, bad));
  EXPECT_EQ(prompt_.Texts(),
            (QStringList{"账簿中没有名为“Nope”的字段",
                         "“单价”是数值列，“abc”不是数值",
                         "“编号”是主键，不能由规则设置"}));

  const QStringList expected{"备注 等于 “x” → 数量 = 4",
                             "商品 开头是 “O'Brien” → 备注 = it's"};
  EXPECT_EQ(Listed(file_), expected);
  // They travel with the file; one opened for viewing has them too but
  // refuses changes.
  const QString path = file_.Path();
  file_.Close();
  AccountFile viewer;
  ASSERT_TRUE(viewer.OpenAccountFile(path, AccountFile::ForReading));
  EXPECT_EQ(Listed(viewer), expected);
  prompt_.Clear();
  EXPECT_FALSE(AddImportRule(viewer, didi));
  EXPECT_EQ(prompt_.Texts().size(), 1);
  EXPECT_TRUE(prompt_.Texts().value(0).contains("只读")) << qPrintable(prompt_.Texts().value(0));
  EXPECT_EQ(Listed(viewer), expected);
}

TEST_F(ExchangeTest, AnImportAppliesTheFileRulesUnlessTurnedOff) {
  const QString bill = WriteFile(
      "bill.csv", "交易时间,交易对方,商品,金额\n"
                  "2024-01-05,滴滴出行,快车,-12.5\n"
                  "2024-01-06,O'Brien Café,Latte,-30\n");
  ImportRule didi =
      Rule("交易对方", RuleCondition::Contains, "滴滴", "类别", "交通");
  ImportRule cafe =
      Rule("交易对方", RuleCondition::StartsWith, "o'brien", "类别", "餐饮");
  ASSERT_TRUE(AddImportRule(file_, didi));
  ASSERT_TRUE(AddImportRule(file_, cafe));
  for (const int group : {3, 4}) {
    StatementImport import(file_);
    QString error;
    ASSERT_TRUE(import.Open(bill, &error)) << qPrintable(error);
    import.SetGroupId(group);
    if (group == 4)
      import.SetRules({});
    ImportCheck check;
    ASSERT_TRUE(import.Check(&check, {}, &error)) << qPrintable(error);
    bool cancelled = false;
    ASSERT_EQ(import.Store({}, {}, &cancelled, &error), 2) << qPrintable(error);
  }
  EXPECT_EQ(Rows(file_, "Select Category From Users Where trelva_Group_ID=3 "
                        "Order By ID"),
            (QStringList{"交通", "餐饮"}));
  EXPECT_EQ(Rows(file_, "Select Category From Users Where trelva_Group_ID=4 "
                        "Order By ID"),
            (QStringList{"其他", "其他"}));
}

TEST_F(ExchangeTest, AChangedCellBecomesARuleThatWinsNextTime) {
  const QStringList headers{"交易时间", "交易对方", "商品", "金额"};
  SourceLine line;
  line.fields = QStringList{"2024-01-05", "美团单车", "骑行卡", "-5"};
  ImportMapping mapping;
  mapping.Map("Item", "商品");
  const ColumnList &columns = file_.Columns();
  ImportRule rule;
  ASSERT_TRUE(RuleFromChangedCell(headers, line, mapping, columns, 3, "交通",
                                  &rule));
  EXPECT_EQ(RuleConditionText(rule), "交易对方 等于 “美团单车”");
  EXPECT_EQ(RuleSettingText(columns, rule), "类别 = 交通");
  // Without a counterparty, the source of the first filled text column.
  ImportRule fromItem;
  ASSERT_TRUE(RuleFromChangedCell({"日期", "商品", "金额"},
                                  {1, {"2024-01-05", "骑行卡", "-5"}, {}},
                                  mapping, columns, 3, "交通", &fromItem));
  EXPECT_EQ(RuleConditionText(fromItem), "商品 等于 “骑行卡”");
  EXPECT_FALSE(RuleFromChangedCell({"日期", "金额"}, {1, {"2024-01-05", "-5"}, {}},
                                   mapping, columns, 3, "交通", &fromItem));

  // A broader rule for the same column existed: the remembered one goes
  // first, so it wins; remembering it again changes its value in place.
  ImportRule broad =
      Rule("交易对方", RuleCondition::Contains, "美团", "类别", "餐饮");
  ASSERT_TRUE(AddImportRule(file_, broad));
  ASSERT_TRUE(RememberImportRule(file_, rule));
  rule.value = "购物";
  ASSERT_TRUE(RememberImportRule(file_, rule));
  EXPECT_EQ(Listed(file_),
            (QStringList{"交易对方 等于 “美团单车” → 类别 = 购物",
                         "交易对方 包含 “美团” → 类别 = 餐饮"}));
  QStringList texts(columns.Size());
  ImportRules(LoadImportRules(file_)).Apply(headers, line.fields, columns, &texts);
  EXPECT_EQ(texts[3], "购物");
}
