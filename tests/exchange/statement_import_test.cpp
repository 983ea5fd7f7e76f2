// Importing statements into a group: mapping, conversion, defaults and
// formulas, duplicates, bad lines, one undoable group, cancelling, and the
// mapping remembered for the next statement of the same layout.
#include "exchange/statement_import.h"

#include "db/db_visiter.h"
#include "exchange_test_file.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"
#include "records/command_history.h"

#include <QStringEncoder>

#include <sqlite3.h>

namespace {

// Checks and stores every good line; the number stored.
int ImportAll(StatementImport &import, ImportCheck *check = nullptr) {
  ImportCheck local;
  QString error;
  EXPECT_TRUE(import.Check(check ? check : &local, {}, &error))
      << qPrintable(error);
  bool cancelled = false;
  const int stored = import.Store({}, {}, &cancelled, &error);
  EXPECT_FALSE(cancelled);
  EXPECT_GE(stored, 0) << qPrintable(error);
  return stored;
}

} // namespace

TEST_F(ExchangeTest, BankStatementWithDebitAndCreditBecomesRecords) {
  const QStringList before = Rows(file_, "Select * From Users");
  StatementImport import(file_);
  QString error;
  ASSERT_TRUE(import.Open(Data("gb18030_debit_credit.csv"), &error))
      << qPrintable(error);
  const ImportMapping &mapping = import.Mapping();
  EXPECT_EQ(mapping.SourceOf("Data"), "交易日期");
  EXPECT_EQ(mapping.SourceOf("Item"), "摘要");
  EXPECT_EQ(mapping.debitColumn, "支出");
  EXPECT_EQ(mapping.creditColumn, "收入");
  EXPECT_EQ(mapping.amountField, "Amount");
  EXPECT_EQ(mapping.dateForm, "yyyy/M/d");
  EXPECT_FALSE(mapping.decimalComma);
  import.SetGroupId(3);
  ImportCheck check;
  EXPECT_EQ(ImportAll(import, &check), 3);
  EXPECT_EQ(check.good, 3);
  EXPECT_TRUE(check.bad.isEmpty());
  EXPECT_TRUE(check.duplicateLines.isEmpty());
  // The statement's date is the record's, and no time of the import is
  // made up for it; defaults and the formula Total = Amount*Count apply as
  // for a typed record, but no payment method the statement does not give.
  EXPECT_EQ(Records(file_, 3),
            (QStringList{"2024/1/5|餐厅 O'Brien|-35.5|1|-35.5|",
                         "2024/1/6|工资|8000|1|8000|",
                         "2024/1/7|超市, 日用品|-120|1|-120|"}));
  EXPECT_EQ(Rows(file_, "Select Distinct Category, Payment From Users Where "
                        "trelva_Group_ID=3"),
            QStringList{"其他|"});
  EXPECT_EQ(Rows(file_, "Select Count(*) From Users Where trelva_Group_ID=3 "
                        "And Moment Is Null"),
            QStringList{"3"});
  // Keys follow the group's largest key.
  EXPECT_EQ(FindGroupNode(file_.Root(), 3)->largestKey,
            Rows(file_, "Select Max(ID) From Users Where trelva_Group_ID=3")
                .value(0)
                .toInt());

  // One undo takes the whole import back, and nothing else.
  ASSERT_TRUE(file_.History().Undo());
  EXPECT_EQ(Rows(file_, "Select * From Users"), before);
  ASSERT_TRUE(file_.History().Redo());
  EXPECT_EQ(Records(file_, 3).size(), 3);
}

TEST_F(ExchangeTest, ASecondImportFindsEveryLineADuplicate) {
  StatementImport first(file_);
  QString error;
  ASSERT_TRUE(first.Open(Data("gb18030_debit_credit.csv"), &error));
  first.SetGroupId(4);
  ASSERT_EQ(ImportAll(first), 3);

  StatementImport again(file_);
  ASSERT_TRUE(again.Open(Data("gb18030_debit_credit.csv"), &error));
  again.SetGroupId(4);
  ImportCheck check;
  ASSERT_TRUE(again.Check(&check, {}, &error));
  EXPECT_EQ(check.good, 3);
  EXPECT_EQ(check.duplicateLines, (QList<int>{4, 5, 6}));
  bool cancelled = false;
  EXPECT_EQ(again.Store({}, {}, &cancelled, &error), 0);
  EXPECT_EQ(Records(file_, 4).size(), 3);
  // A ticked duplicate goes in all the same.
  EXPECT_EQ(again.Store({5}, {}, &cancelled, &error), 1);
  EXPECT_EQ(Records(file_, 4).size(), 4);
  // Another group holds none of them.
  again.SetGroupId(5);
  ASSERT_TRUE(again.Check(&check, {}, &error));
  EXPECT_TRUE(check.duplicateLines.isEmpty());
}

TEST_F(ExchangeTest, DecimalCommasAndOfxImport) {
  StatementImport euro(file_);
  QString error;
  ASSERT_TRUE(euro.Open(Data("decimal_comma.csv"), &error));
  EXPECT_EQ(euro.Mapping().dateForm, "d.M.yyyy");
  EXPECT_TRUE(euro.Mapping().decimalComma);
  EXPECT_EQ(euro.Mapping().amountColumn, "Betrag");
  euro.SetGroupId(2);
  const int before = Records(file_, 2).size();
  ASSERT_EQ(ImportAll(euro), 3);
  const QStringList records = Records(file_, 2).mid(before);
  EXPECT_EQ(records, (QStringList{"2024/1/5|Bäckerei Müller|-3.5|1|-3.5|",
                                  "2024/1/6|Gehalt; Januar|2500|1|2500|",
                                  "2024/1/31|Miete\nWohnung|-850|1|-850|"}));

  StatementImport ofx(file_);
  ASSERT_TRUE(ofx.Open(Data("statement.ofx"), &error)) << qPrintable(error);
  ofx.SetGroupId(5);
  ASSERT_EQ(ImportAll(ofx), 3);
  EXPECT_EQ(Records(file_, 5),
            (QStringList{"2024/1/3|Grocery Store|-42.15|1|-42.15|Weekly shopping",
                         "2024/1/5|Salary|1500|1|1500|",
                         "2024/1/8|Music Service|-9.99|1|-9.99|Monthly"}));
}

TEST_F(ExchangeTest, BadLinesAreListedAndOnlyGoodLinesStored) {
  StatementImport import(file_);
  QString error;
  ASSERT_TRUE(import.Open(Data("bad_lines.csv"), &error));
  ImportMapping &mapping = import.Mapping();
  mapping.fields.clear();
  mapping.Map("Data", "date");
  mapping.Map("Memo", "text");
  mapping.amountField = "Amount";
  mapping.amountColumn = "amount";
  mapping.dateForm = "yyyy-MM-dd";
  import.SetGroupId(3);
  ImportCheck check;
  ASSERT_TRUE(import.Check(&check, {}, &error));
  EXPECT_EQ(check.good, 2);
  ASSERT_EQ(check.bad.size(), 3);
  EXPECT_EQ(check.bad[0].lineNumber, 3);
  EXPECT_EQ(check.bad[0].reason, "日期无法识别：2024-02-30");
  EXPECT_EQ(check.bad[1].lineNumber, 4);
  EXPECT_EQ(check.bad[1].reason, "字段数为4，应为3");
  EXPECT_EQ(check.bad[2].lineNumber, 5);
  EXPECT_EQ(check.bad[2].reason, "金额无法识别：abc");
  bool cancelled = false;
  EXPECT_EQ(import.Store({}, {}, &cancelled, &error), 2);
  EXPECT_EQ(Rows(file_, "Select Memo, Amount From Users Where "
                        "trelva_Group_ID=3 And Memo<>''"),
            (QStringList{"coffee|3.2", "tea|2.1"}));
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
}

// A line whose formulas give no number (here 2.10/0) stops the import with
// its line number, and nothing of the statement is stored.
TEST_F(ExchangeTest, AResultThatIsNoNumberStoresNothing) {
  ASSERT_TRUE(file_.Session()->Execute(
      "Update TableStyle Set [默认值]='Amount/(Amount-2.1)' Where [字段名]='Total'"));
  ASSERT_TRUE(file_.LoadAccountFile());
  const QStringList before = Rows(file_, "Select * From Users");
  StatementImport import(file_);
  QString error;
  ASSERT_TRUE(import.Open(Data("bad_lines.csv"), &error));
  ImportMapping &mapping = import.Mapping();
  mapping.fields.clear();
  mapping.Map("Data", "date");
  mapping.amountField = "Amount";
  mapping.amountColumn = "amount";
  mapping.dateForm = "yyyy-MM-dd";
  bool cancelled = false;
  EXPECT_EQ(import.Store({}, {}, &cancelled, &error), -1);
  EXPECT_EQ(error, "第6行：计算结果超出数值范围或无意义");
  EXPECT_EQ(Rows(file_, "Select * From Users"), before);
}

TEST_F(ExchangeTest, ACancelledImportStoresNothing) {
  const QStringList before = Rows(file_, "Select * From Users");
  const int undoDepth = file_.History().UndoDepth();
  const int largestKey = FindGroupNode(file_.Root(), 3)->largestKey;
  StatementImport import(file_);
  QString error;
  ASSERT_TRUE(import.Open(Data("gb18030_debit_credit.csv"), &error));
  import.SetGroupId(3);
  bool cancelled = false;
  EXPECT_EQ(import.Store({}, [](int done) { return done < 2; }, &cancelled,
                         &error),
            0);
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(Rows(file_, "Select * From Users"), before);
  EXPECT_EQ(file_.History().UndoDepth(), undoDepth);
  EXPECT_EQ(FindGroupNode(file_.Root(), 3)->largestKey, largestKey);
  // A group that is gone is refused.
  import.SetGroupId(999);
  EXPECT_EQ(import.Store({}, {}, &cancelled, &error), -1);
  EXPECT_EQ(error, "目标分组不存在！");
}

// An import is all or nothing even when the engine drops the transaction
// half-way (a full disk): no line after the failing one is stored.
TEST_F(ExchangeTest, AnImportThatLosesItsTransactionStoresNothing) {
  const QStringList before = Rows(file_, "Select * From Users");
  const int largestKey = FindGroupNode(file_.Root(), 3)->largestKey;
  const QByteArray trigger =
      QStringLiteral("CREATE TRIGGER full BEFORE INSERT ON Users WHEN "
                     "NEW.trelva_Group_ID = 3 AND NEW.ID = %1 BEGIN SELECT "
                     "RAISE(ROLLBACK, 'database or disk is full'); END")
          .arg(largestKey + 2)
          .toUtf8();
  ASSERT_EQ(sqlite3_exec(file_.Session()->GetConnection(), trigger.constData(),
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  StatementImport import(file_);
  QString error;
  ASSERT_TRUE(import.Open(Data("gb18030_debit_credit.csv"), &error));
  import.SetGroupId(3);
  bool cancelled = false;
  EXPECT_EQ(import.Store({}, {}, &cancelled, &error), -1);
  EXPECT_EQ(error, "写入账簿文件失败！");
  EXPECT_EQ(Rows(file_, "Select * From Users"), before);
  EXPECT_FALSE(file_.History().CanUndo());
  EXPECT_EQ(FindGroupNode(file_.Root(), 3)->largestKey, largestKey);
}

TEST_F(ExchangeTest, TheMappingIsRememberedForTheSameLayout) {
  StatementImport first(file_);
  QString error;
  ASSERT_TRUE(first.Open(Data("bad_lines.csv"), &error));
  EXPECT_FALSE(first.MappingWasSaved());
  first.Mapping().Map("Item", "text");
  first.Mapping().negate = true;
  ASSERT_TRUE(first.SaveMapping());
  ASSERT_TRUE(first.SaveMapping()); // saved again: still one set

  StatementImport next(file_);
  ASSERT_TRUE(next.Open(Data("bad_lines.csv"), &error));
  EXPECT_TRUE(next.MappingWasSaved());
  EXPECT_TRUE(next.Mapping() == first.Mapping());
  EXPECT_EQ(Rows(file_, "Select Count(*) From FilterMemory Where ClassID=4"),
            QStringList{"1"});
  // Another layout starts from a guess.
  StatementImport other(file_);
  ASSERT_TRUE(other.Open(Data("decimal_comma.csv"), &error));
  EXPECT_FALSE(other.MappingWasSaved());
}

// A mapping is remembered with the layout it was made for: a semicolon file
// in GB18030 with the same column names is another layout, and each of the
// two imports with its own mapping, also the next time.
TEST_F(ExchangeTest, AMappingAppliesOnlyToTheLayoutItWasMadeFor) {
  const QString comma = WriteFile(
      "comma.csv", QStringLiteral("日期,项目,金额\n2024-01-05,午饭,-12\n").toUtf8());
  QStringEncoder gb("GB18030");
  const QString semicolon = WriteFile(
      "semicolon.csv",
      gb.encode(QStringLiteral("日期;项目;金额\n2024-01-06;晚饭;-20,5\n")));
  int pass = 0;
  for (const QString &path : {comma, semicolon, comma, semicolon}) {
    StatementImport import(file_);
    QString error;
    ASSERT_TRUE(import.Open(path, &error)) << qPrintable(error);
    EXPECT_EQ(import.Headers(), (QStringList{"日期", "项目", "金额"}));
    import.Mapping().Map("Data", "日期");
    import.Mapping().Map("Item", "项目");
    import.Mapping().amountField = "Amount";
    import.Mapping().amountColumn = "金额";
    import.DetectValueForms();
    import.SetGroupId(3 + pass++ / 2); // the second round into group 4
    ASSERT_EQ(ImportAll(import), 1);
    ASSERT_TRUE(import.SaveMapping());
  }
  EXPECT_EQ(Records(file_, 3), Records(file_, 4));
  EXPECT_EQ(Records(file_, 4), (QStringList{"2024/1/5|午饭|-12|1|-12|",
                                            "2024/1/6|晚饭|-20.5|1|-20.5|"}));

  // Older builds saved a mapping under the column names alone: it still
  // applies to the file it was made for.
  StatementImport older(file_);
  QString error;
  ASSERT_TRUE(older.Open(semicolon, &error));
  ASSERT_TRUE(file_.Session()->Execute("Delete From FilterMemory"));
  older.Mapping().Map("Memo", "项目");
  ASSERT_TRUE(SaveImportMapping(*file_.Session(), "CSV:日期|项目|金额",
                                older.Mapping()));
  StatementImport next(file_);
  ASSERT_TRUE(next.Open(semicolon, &error));
  EXPECT_TRUE(next.MappingWasSaved());
  EXPECT_EQ(next.Mapping().SourceOf("Memo"), "项目");
}
