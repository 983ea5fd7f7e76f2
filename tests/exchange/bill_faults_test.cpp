// The faults real bills showed, one family per test: CSVs as banks and
// apps write them, values the import must never make up, the sides and
// money of every kind of bill, refunds, duplicates judged by what was
// stored, the same payment in two bills, rules that set the amount and its
// side, and a layout the user keeps.
#include "exchange/statement_import.h"

#include "bill_samples.h"
#include "exchange/import_rule_store.h"
#include "exchange_test_file.h"
#include "records/command_history.h"

#include <QProcess>
#include <QStringEncoder>

namespace {


// Opens path, checks it and stores the ticked lines; the check, or the
// error in *error.
ImportCheck Import(AccountFile &file, const QString &path, QString *error,
                   bool cancelRefunds = false) {
  StatementImport import(file);
  ImportCheck check;
  if (!import.Open(path, error))
    return check;
  import.SetRefundsCancelPayments(cancelRefunds);
  if (!import.Check(&check, {}, error))
    return check;
  bool cancelled = false;
  EXPECT_GE(import.Store(check, check.TickedLines(), {}, &cancelled, error), 0)
      << qPrintable(*error);
  return check;
}

QByteArray Gb18030(const QString &text) {
  QStringEncoder encoder("GB18030");
  return encoder.encode(text);
}

} // namespace

TEST_F(ExchangeTest, CsvBillsAreReadAsBanksAndAppsWriteThem) {
  // A "#" title line above the header, rows with one more (empty) field
  // than the header or one fewer, a tab after a closing quote, a 合计 line
  // under the rows.
  const QString path = WriteFile(
      "bank.csv",
      "# 账户明细 6222********1234\n"
      "交易日期,摘要,金额,备注\n"
      "2024-01-05,午餐,-35.50,,\n"
      "\"2024-01-06\"\t,\"工资\"\t,\"8000.00\"\t,\"/\"\n"
      "2024-01-07,地铁,-4\n"
      "合计,,7960.50,\n"
      "导出时间：2024-02-01\n");
  StatementFormat format;
  QString error;
  ASSERT_TRUE(DetectStatementFormat(path, &format, &error)) << qPrintable(error);
  EXPECT_EQ(format.skipLines, 1);
  QStringList headers;
  QStringList lines;
  ASSERT_TRUE(ReadStatement(
      path, format, &headers,
      [&](const SourceLine &line) {
        lines.append(QStringLiteral("%1%2 %3")
                         .arg(line.lineNumber)
                         .arg(line.footer ? "F" : "", line.fields.join('|')));
        return true;
      },
      &error));
  EXPECT_EQ(headers, (QStringList{"交易日期", "摘要", "金额", "备注"}));
  EXPECT_EQ(lines, (QStringList{"3 2024-01-05|午餐|-35.50||", "4 2024-01-06|工资|8000.00|/",
                                "5 2024-01-07|地铁|-4|", "6F 合计||7960.50|",
                                "7F 导出时间：2024-02-01|||"}));

  // A stray quote on line 2 of a long bill is that line's fault alone.
  QByteArray bill = "交易日期,摘要,金额\n2024-01-01,\"坏,1.00\n";
  for (int i = 0; i < 1000; ++i)
    bill += QByteArray("2024-01-02,好,") + QByteArray::number(i) + "\n";
  const QString stray = WriteFile("stray.csv", bill);
  ASSERT_TRUE(DetectStatementFormat(stray, &format, &error));
  int read = 0;
  QString problem;
  ASSERT_TRUE(ReadStatement(
      stray, format, &headers,
      [&](const SourceLine &line) {
        if (!line.problem.isEmpty())
          problem = QStringLiteral("%1 %2").arg(line.lineNumber).arg(line.problem);
        else
          ++read;
        return true;
      },
      &error));
  EXPECT_EQ(problem, "2 引号没有闭合");
  EXPECT_EQ(read, 1000);
}

TEST_F(ExchangeTest, NoDateOrAmountIsEverMadeUp) {
  AccountFile ledger;
  OpenFresh(ledger, "ledger", "收支账本");
  QString error;
  // No amount column: nothing is checked, nothing stored.
  const ImportCheck none = Import(
      ledger, WriteFile("no-amount.csv", "日期,摘要\n2024-01-05,午餐\n"), &error);
  EXPECT_EQ(error, "对账单中找不到金额列");
  EXPECT_TRUE(none.lines.empty());
  // One impossible day among good ones is that line's fault; a day and a
  // time of day in two columns make the record's moment.
  error.clear();
  const ImportCheck check = Import(
      ledger,
      WriteFile("days.csv", "交易日期,交易时间,摘要,金额\n"
                            "20240228,12:30:05,午餐,-35.50\n"
                            "20240230,08:00:00,早餐,-5\n"
                            "20240301,,工资,8000\n"),
      &error);
  EXPECT_TRUE(error.isEmpty()) << qPrintable(error);
  EXPECT_EQ(States(check), (QStringList{"2 N", "3 B 日期无法识别：20240230", "4 N"}));
  EXPECT_EQ(Rows(ledger, "Select Data, Moment, Direction, Amount From Users Order By ID"),
            (QStringList{"2024/2/28|12:30:05|支出|35.5", "2024/3/1||收入|8000"}));
}

TEST_F(ExchangeTest, EveryKindOfSideAndAmountIsReadAsMoney) {
  AccountFile ledger;
  OpenFresh(ledger, "ledger", "收支账本");
  QString error;
  // A 借/贷 flag beside a positive amount.
  Import(ledger,
         WriteFile("flag.csv", "记账日期,交易金额,借贷标志,摘要\n"
                               "2024-01-05,35.50,借 Dr,午餐\n"
                               "2024-01-06,\"8,000.00\",贷 Cr,工资\n"),
         &error);
  // A credit card: positive is spending; dates without a year take it from
  // the statement's month, December's from the year before.
  Import(ledger,
         WriteFile("card.csv", Gb18030("#某某银行信用卡账单 2025年01月\n"
                                       "交易日,记账日,交易摘要,人民币金额\n"
                                       "12/30,12/31,超市,CNY 123.18\n"
                                       "01/03,01/04,退款-超市,CNY -23.18\n")),
         &error);
  EXPECT_EQ(Rows(ledger, "Select Data, Direction, Goods, Amount From Users Order By ID"),
            (QStringList{"2024/1/5|支出|午餐|35.5", "2024/1/6|收入|工资|8000",
                         "2024/12/30|支出|超市|123.18", "2025/1/3|收入|退款-超市|23.18"}));
  ASSERT_TRUE(ledger.Session()->Execute("Delete From Users"));

  // A side that is given turns with a negative amount; money beyond 15
  // digits is no money; cents are rounded.
  const ImportCheck check = Import(
      ledger,
      WriteFile("signs.csv", "交易时间,交易对方,收/支,金额\n"
                             "2024-03-01 10:00:00,甲,支出,-5\n"
                             "2024-03-02 10:00:00,乙,支出,5-\n"
                             "2024-03-03 10:00:00,丙,支出,(5.00)\n"
                             "2024-03-04 10:00:00,丁,支出,¥-5.00\n"
                             "2024-03-05 10:00:00,戊,支出,99999999999999999999999\n"
                             "2024-03-06 10:00:00,己,支出,12.346\n"),
      &error);
  EXPECT_EQ(States(check),
            (QStringList{"2 N 金额为负，记为收入", "3 N 金额为负，记为收入",
                         "4 N 金额为负，记为收入", "5 N 金额为负，记为收入",
                         "6 B 金额超出范围：99999999999999999999999", "7 N"}));
  EXPECT_EQ(Rows(ledger, "Select Direction, Amount From Users Order By ID"),
            (QStringList{"收入|5", "收入|5", "收入|5", "收入|5", "支出|12.35"}));
}

TEST_F(ExchangeTest, RefundsFindTheirPaymentsAndKeepWhatWasSpent) {
  AccountFile ledger;
  OpenFresh(ledger, "ledger", "收支账本");
  QString error;
  // WeChat: the refund's number is the payment's merchant number and its
  // counterpart "/"; refunds cancelling payments keep what was spent.
  const QStringList rows{
      "2024-03-05 15:00:00,商户消费,某商户,机票,支出,¥3000.00,零钱,已退款(¥2725.42),"
      "4200001\t,M100\t,/",
      "2024-03-06 16:00:00,退款,/,/,收入,¥2725.42,零钱,已全额退款,M100\t,/,/",
      "2024-03-07 10:00:00,商户消费,某店,杯子,支出,¥10.00,零钱,已退款,4200002\t,M200\t,/",
      "2024-03-08 10:00:00,商户消费-退款,某店,/,收入,¥30.00,零钱,已退款,4200003\t,M200\t,/",
      "2024-03-09 10:00:00,商户消费-退款,某店,/,收入,¥5.00,零钱,已退款,4200004\t,M200\t,/",
  };
  const ImportCheck check =
      Import(ledger, WriteFile("wechat.csv", WeChatBill(rows)), &error, true);
  EXPECT_EQ(States(check),
            (QStringList{"10 N", "11 S 与第10行的付款相抵", "12 S 已全额退款", "13 N",
                         "14 N"}));
  EXPECT_EQ(Rows(ledger, "Select Direction, Amount From Users Order By ID"),
            (QStringList{"支出|274.58", "收入|20", "收入|5"}));

  // A payment refunded in full by its own word is left out, and so is its
  // refund when a later bill brings it.
  const ImportCheck paid = Import(
      ledger,
      WriteFile("paid.csv", WeChatBill({"2024-03-10 10:00:00,商户消费,某店,鞋,支出,"
                                        "¥99.00,零钱,已全额退款,4200010\t,M300\t,/"})),
      &error);
  EXPECT_EQ(States(paid), QStringList{"10 S 已全额退款"});
  const ImportCheck refund = Import(
      ledger,
      WriteFile("refund.csv", WeChatBill({"2024-04-01 10:00:00,商户消费-退款,某店,鞋,"
                                          "收入,¥99.00,零钱,已退款,4200011\t,M300\t,/"})),
      &error);
  EXPECT_EQ(States(refund), QStringList{"10 S 付款已全额退款"});
}

TEST_F(ExchangeTest, DuplicatesAreJudgedByWhatWasStored) {
  AccountFile ledger;
  OpenFresh(ledger, "ledger", "收支账本");
  QString error;
  // A closed line's number makes no duplicate; one number with other
  // amounts is another transaction.
  const QStringList rows{
      "2024-03-01 10:00:00,商户消费,甲,午餐,支出,¥30.00,零钱,支付失败,4200001\t,M1\t,/",
      "2024-03-01 10:05:00,商户消费,甲,午餐,支出,¥30.00,零钱,支付成功,4200001\t,M2\t,/",
      "2024-03-02 10:00:00,商户消费,乙,晚餐,支出,¥40.00,零钱,支付成功,4200002\t,M3\t,/",
      "2024-03-02 10:00:00,商户消费,乙,晚餐,支出,¥45.00,零钱,支付成功,4200002\t,M4\t,/",
  };
  const QString path = WriteFile("wechat.csv", WeChatBill(rows));
  EXPECT_EQ(States(Import(ledger, path, &error)),
            (QStringList{"10 S 支付失败", "11 N", "12 N", "13 N 交易单号相同但内容不同"}));
  EXPECT_EQ(States(Import(ledger, path, &error)),
            (QStringList{"10 S 支付失败", "11 D 交易单号已导入：4200001",
                         "12 D 交易单号已导入：4200002", "13 D 交易单号已导入：4200002"}));
  // After the import is undone its numbers count no more.
  ASSERT_TRUE(ledger.History().Undo());
  EXPECT_EQ(States(Import(ledger, path, &error)),
            (QStringList{"10 S 支付失败", "11 N", "12 N", "13 N 交易单号相同但内容不同"}));
}

TEST_F(ExchangeTest, APaymentInTheCardsAndTheAppsBillIsCountedOnce) {
  const QStringList alipay{
      "2024-03-05 12:30:45,餐饮美食,美团,mt@example.com,外卖,支出,25.00,"
      "招商银行(1234),交易成功,2024030522001100001\t,T1\t,,",
      "2024-03-06 09:00:00,充值缴费,支付宝,,余额充值,不计收支,100.00,"
      "招商银行(1234),交易成功,2024030622001100002\t,,,"};
  const QStringList card{
      "20240306,10:00:00,,25.00,1000.00,支付宝-美团,美团,,B001",
      "20240306,11:00:00,,100.00,900.00,支付宝-余额充值,支付宝,,B002",
      "20240307,11:00:00,,25.00,875.00,超市,某超市,,B003"};
  const QString app = WriteFile("alipay.csv", AlipayAppBill(alipay));
  const QString bank = WriteFile("card.csv", DebitCardBill(card));
  QString error;
  for (const bool appFirst : {true, false}) {
    SCOPED_TRACE(appFirst ? "app first" : "card first");
    AccountFile ledger;
    OpenFresh(ledger, appFirst ? "a" : "b", "收支账本");
    const ImportCheck first = Import(ledger, appFirst ? app : bank, &error);
    const ImportCheck second = Import(ledger, appFirst ? bank : app, &error);
    const ImportCheck &cardCheck = appFirst ? second : first;
    const ImportCheck &appCheck = appFirst ? first : second;
    EXPECT_EQ(States(cardCheck),
              (QStringList{appFirst ? "6 n 与支付宝账单第12行（已导入）是同一笔" : "6 N",
                           "7 n 账户间转账", "8 N"}));
    EXPECT_EQ(States(appCheck),
              (QStringList{appFirst ? "12 N" : "12 n 与银行借记卡交易明细第6行（已导入）是同一笔",
                           "13 n 账户间转账"}));
    EXPECT_EQ(Rows(ledger, "Select Count(*), Sum(Amount) From Users"),
              QStringList{"2|50"});
  }
}

TEST_F(ExchangeTest, RulesSetTheAmountAndItsSideOfAKnownBill) {
  AccountFile ledger;
  OpenFresh(ledger, "ledger", "收支账本");
  ImportRule side{0, "交易对方", RuleCondition::Equals, "李四", "Direction", "支出"};
  ImportRule amount{0, "交易对方", RuleCondition::Equals, "李四", "Amount", "49.5"};
  ASSERT_TRUE(AddImportRule(ledger, side));
  ASSERT_TRUE(AddImportRule(ledger, amount));
  QString error;
  Import(ledger,
         WriteFile("alipay.csv",
                   AlipayAppBill({"2024-03-07 18:20:00,转账红包,李四,,转账,收入,50.00,,"
                                  "交易成功,2024030722001100003\t,,,"})),
         &error);
  EXPECT_EQ(Rows(ledger, "Select Direction, Amount From Users"), QStringList{"支出|49.5"});
}

TEST_F(ExchangeTest, AKeptLayoutIsKnownToANewProcess) {
  const QString data = TempPath("data");
  qputenv("XDG_DATA_HOME", data.toUtf8());
  const QString path = WriteFile("mine.csv", "记账日,用途说明,发生金额,流水\n"
                                             "2024-01-05,午餐,-35.50,A1\n"
                                             "2024-01-06,工资,8000,A2\n");
  StatementImport import(file_);
  QString error;
  ASSERT_TRUE(import.Open(path, &error)) << qPrintable(error);
  EXPECT_EQ(import.Layout(), nullptr);
  import.Mapping().amountColumn = "发生金额";
  import.Mapping().amountField = "Amount";
  import.Mapping().Map("Data", "记账日");
  ASSERT_TRUE(import.SaveAsLayout("我的银行", &error)) << qPrintable(error);
  const QString ledger = file_.Path();
  file_.Close();

  QProcess cli;
  cli.start(QStringLiteral(SORVANEL_BINARY_DIR "/sorvanel-cli"),
            {"import", ledger, path, "--report"});
  ASSERT_TRUE(cli.waitForFinished(30000));
  const QString err = QString::fromUtf8(cli.readAllStandardError());
  EXPECT_TRUE(err.startsWith("我的银行")) << qPrintable(err);
  EXPECT_EQ(QString::fromUtf8(cli.readAllStandardOutput()).count("\tnew\t"), 2);
  qunsetenv("XDG_DATA_HOME");
  ReloadBillLayouts();
}
