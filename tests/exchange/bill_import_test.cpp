// Importing the bills of payment services and banks: each known layout
// recognised from its head, what each line becomes (payments, income,
// closed, refunded and neutral lines), the bill's number finding
// duplicates across bills and groups, renamed columns falling back to the
// guessed mapping, and hostile files refused with nothing stored.
#include "exchange/statement_import.h"

#include "bill_samples.h"
#include "exchange_test_file.h"
#include "model/main_show_text.h"
#include "records/command_history.h"

#include <QFile>
#include <QStringEncoder>

#include <ostream>

// Texts in failure messages as they read.
inline void PrintTo(const QString &text, std::ostream *out) {
  *out << '"' << text.toStdString() << '"';
}

namespace {


// Opens path, checks it and stores the lines ticked; the check.
ImportCheck ImportBill(AccountFile &file, const QString &path, int groupId,
                       int *stored = nullptr) {
  StatementImport import(file);
  QString error;
  ImportCheck check;
  EXPECT_TRUE(import.Open(path, &error)) << qPrintable(error);
  import.SetGroupId(groupId);
  EXPECT_TRUE(import.Check(&check, {}, &error)) << qPrintable(error);
  bool cancelled = false;
  const int count =
      import.Store(check, check.TickedLines(), {}, &cancelled, &error);
  EXPECT_GE(count, 0) << qPrintable(error);
  if (stored)
    *stored = count;
  return check;
}

const QStringList kAlipayRows{
    "2024-03-05 12:30:45,交通出行,滴滴出行,did***@example.com,快车订单,支出,"
    "25.50,花呗,交易成功,2024030522001100001\t,T100001\t,,",
    "2024-03-06 09:00:00,日用百货,超市甲,,洗衣液,支出,55.00,余额宝,交易关闭,"
    "2024030622001100002\t,T100002\t,,",
    "2024-03-07 18:20:00,转账红包,李四,li***@example.com,转账,收入,50.00,,"
    "交易成功,2024030722001100003\t,,,",
    "2024-03-08 08:00:00,投资理财,余额宝,,余额宝-转入,不计收支,100.00,余额,"
    "交易成功,2024030822001100004\t,,,",
    "2024-03-09 10:00:00,退款,超市乙,,退款-牙膏,不计收支,12.00,,退款成功,"
    "2024030922001100005_1\t,T100005\t,,",
};

} // namespace

TEST_F(ExchangeTest, EveryKnownBillIsRecognisedWithItsHolderAndPeriod) {
  struct Case {
    const char *file;
    QByteArray bytes;
    const char *layout, *holder, *start, *end;
    const char *encoding;
  };
  const Case cases[] = {
      {"alipay.csv", AlipayAppBill(kAlipayRows), "支付宝个人对账单", "张小明",
       "2024-03-01 00:00:00", "2024-03-31 23:59:59", "GB18030"},
      {"alipay-utf8.csv", AlipayAppBill(kAlipayRows, true), "支付宝个人对账单",
       "张小明", "2024-03-01 00:00:00", "2024-03-31 23:59:59", "UTF-8"},
      {"alipay-web.csv", AlipayWebBill({}), "支付宝交易记录（网页版）",
       "20880012345678", "2016-05-01 00:00:00", "2016-05-31 23:59:59",
       "GB18030"},
      {"wechat.csv", WeChatBill({}), "微信支付账单", "小明",
       "2024-03-01 00:00:00", "2024-03-31 23:59:59", "UTF-8"},
      {"debit.csv", DebitCardBill({}), "银行借记卡交易明细", "张小明",
       "20240301", "20240331", "GB18030"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.file);
    StatementImport import(file_);
    QString error;
    ASSERT_TRUE(import.Open(WriteFile(c.file, c.bytes), &error))
        << qPrintable(error);
    ASSERT_TRUE(import.Layout());
    EXPECT_EQ(import.Layout()->name, QString::fromUtf8(c.layout));
    EXPECT_EQ(import.Head().holder, QString::fromUtf8(c.holder));
    EXPECT_EQ(import.Head().periodStart, QString::fromUtf8(c.start));
    EXPECT_EQ(import.Head().periodEnd, QString::fromUtf8(c.end));
    EXPECT_EQ(import.Mapping().format.encoding, QString::fromUtf8(c.encoding));
    // The mapping of a bill is remembered with all it says of the bill.
    ASSERT_TRUE(import.SaveMapping());
    StatementImport again(file_);
    ASSERT_TRUE(again.Open(import.Path(), &error));
    EXPECT_TRUE(again.MappingWasSaved());
    EXPECT_TRUE(again.Mapping() == import.Mapping());
    EXPECT_FALSE(again.Mapping().numberColumn.isEmpty());
  }
}

// In a file with a 收支 column every payment and income goes in positive
// with its side; closed payments are skipped, neutral lines unticked, and
// a refund whose payment is in another bill is income.
TEST_F(ExchangeTest, AlipayBillLinesBecomeExpensesIncomeOrNothing) {
  AccountFile ledger;
  OpenFresh(ledger, "ledger", "收支账本");
  int stored = 0;
  const ImportCheck check = ImportBill(
      ledger, WriteFile("alipay.csv", AlipayAppBill(kAlipayRows)), 3, &stored);
  EXPECT_EQ(States(check), (QStringList{"12 N", "13 S 交易关闭", "14 N",
                                        "15 n 不计收支", "16 N"}));
  EXPECT_EQ(stored, 3);
  EXPECT_EQ(Rows(ledger, "Select Data, Moment, Direction, Counterpart, Goods, "
                         "Payment, Amount, BillNumber From Users Where "
                         "trelva_Group_ID=3 Order By ID"),
            (QStringList{"2024/3/5|12:30:45|支出|滴滴出行|快车订单|花呗|25.5|"
                         "2024030522001100001",
                         "2024/3/7|18:20:00|收入|李四|转账|支付宝余额|50|"
                         "2024030722001100003",
                         "2024/3/9|10:00:00|收入|超市乙|退款-牙膏|支付宝余额|12|"
                         "2024030922001100005_1"}));

  // The template's main show message sums each side.
  const QString tip =
      Rows(ledger, "Select MainShowTip From miscellaneous").value(0);
  EXPECT_EQ(ComposeMainShowText(*ledger.Session(), tip, QString()),
            "共 3 笔，支出 25.5 元，收入 62 元");

  // The household ledger has no 收支 column: income stays out unless the
  // user ticks it, and the payment is stored as an expense.
  const ImportCheck household =
      ImportBill(file_, WriteFile("alipay.csv", AlipayAppBill(kAlipayRows)), 3);
  EXPECT_EQ(States(household),
            (QStringList{"12 N", "13 S 交易关闭", "14 n 账簿没有收支列",
                         "15 n 不计收支", "16 n 账簿没有收支列"}));
  EXPECT_EQ(Records(file_, 3), QStringList{"2024/3/5|滴滴出行|-25.5|1|-25.5|快车订单"});
}

// WeChat Pay: "¥" amounts with thousands commas, a payment refunded in full
// with its refund in the same bill (both left out), a partial refund that
// is income or, when the user chooses, lowers its payment; "/" lines are
// neutral and a failed payment is skipped. A row that ends with a comma
// the header has not still reads.
TEST_F(ExchangeTest, WeChatRefundsIncomeOrCancellingTheirPayments) {
  const QStringList rows{
      "2024-03-02 12:00:00,商户消费,美团外卖,午餐,支出,¥32.00,零钱,支付成功,"
      "4200001\t,M1\t,/,",
      "2024-03-03 13:00:00,商户消费,京东,耳机,支出,\"¥1,299.00\",招商银行信用卡,"
      "已全额退款,4200002\t,M2\t,/",
      "2024-03-04 14:00:00,京东-退款,京东,耳机,收入,\"¥1,299.00\",招商银行信用卡,"
      "已全额退款,5000002\t,M2\t,/",
      "2024-03-05 15:00:00,商户消费,超市,水果,支出,¥80.00,零钱,已退款(¥30.00),"
      "4200003\t,M3\t,/",
      "2024-03-06 16:00:00,超市-退款,超市,水果,收入,¥30.00,零钱,已退款,"
      "5000003\t,M3\t,/",
      "2024-03-07 17:00:00,零钱提现,招商银行(1234),/,/,¥100.00,零钱,提现已到账,"
      "4200004\t,/,/",
      "2024-03-08 18:00:00,商户消费,便利店,饮料,支出,￥5.00,零钱,支付失败,"
      "4200005\t,M5\t,/",
  };
  AccountFile ledger;
  OpenFresh(ledger, "ledger", "收支账本");
  const QString path = WriteFile("wechat.csv", WeChatBill(rows));
  EXPECT_EQ(States(ImportBill(ledger, path, 4)),
            (QStringList{"10 N", "11 S 已全额退款", "12 S 与第11行的付款相抵",
                         "13 N", "14 N", "15 n 账户间转账", "16 S 支付失败"}));
  EXPECT_EQ(Rows(ledger, "Select Direction, Goods, Amount From Users Where "
                         "trelva_Group_ID=4 Order By ID"),
            (QStringList{"支出|午餐|32", "支出|水果|80", "收入|水果|30"}));

  StatementImport cancelling(ledger);
  QString error;
  ASSERT_TRUE(cancelling.Open(path, &error));
  cancelling.SetRefundsCancelPayments(true);
  cancelling.SetGroupId(5);
  ImportCheck check;
  ASSERT_TRUE(cancelling.Check(&check, {}, &error));
  // The numbers are stored already, in another group: the payments are
  // duplicates (the refund now cancels its payment).
  EXPECT_EQ(check.Count(LineState::Duplicate), 2);
  ASSERT_TRUE(ledger.Session()->Execute("Delete From Users"));
  ASSERT_TRUE(cancelling.Check(&check, {}, &error));
  EXPECT_EQ(States(check),
            (QStringList{"10 N", "11 S 已全额退款", "12 S 与第11行的付款相抵",
                         "13 N", "14 S 与第13行的付款相抵", "15 n 账户间转账",
                         "16 S 支付失败"}));
  bool cancelled = false;
  ASSERT_EQ(cancelling.Store(check, check.TickedLines(), {}, &cancelled, &error), 2);
  EXPECT_EQ(Rows(ledger, "Select Direction, Goods, Amount From Users Order By ID"),
            (QStringList{"支出|午餐|32", "支出|水果|50"}));
}

// A second bill that overlaps the first by a day brings only its new
// payments, into whichever group; a line without a number is compared by
// its values as before. The older web export ends its rows at the dashes
// above its summary.
TEST_F(ExchangeTest, AnOverlappingBillImportsOnlyItsNewPayments) {
  const QString march = WriteFile(
      "march.csv", AlipayWebBill({
                       "2016050121001004001 ,T1 ,2016-05-01 10:00:00 ,"
                       "2016-05-01 10:00:01 ,2016-05-01 10:00:01 ,其他（包括阿里"
                       "巴巴和外部商家） ,即时到账交易 ,书店 ,小说 ,38.00 ,支出 ,"
                       "交易成功 ,0.00 ,0.00 , ,已支出 ,",
                       "2016053121001004002 ,T2 ,2016-05-31 20:00:00 ,"
                       "2016-05-31 20:00:01 ,2016-05-31 20:00:01 ,其他（包括阿里"
                       "巴巴和外部商家） ,即时到账交易 ,花店 ,鲜花 ,30.00 ,支出 ,"
                       "交易成功 ,0.00 ,0.00 , ,已支出 ,",
                   }));
  const QString june = WriteFile(
      "june.csv", AlipayWebBill({
                      "2016053121001004002 ,T2 ,2016-05-31 20:00:00 ,"
                      "2016-05-31 20:00:01 ,2016-05-31 20:00:01 ,其他 ,即时到账"
                      "交易 ,花店 ,鲜花 ,30.00 ,支出 ,交易成功 ,0.00 ,0.00 , ,"
                      "已支出 ,",
                      "2016060121001004003 ,T3 ,2016-06-01 09:00:00 ,"
                      "2016-06-01 09:00:01 ,2016-06-01 09:00:01 ,其他 ,即时到账"
                      "交易 ,花店 ,鲜花 ,30.00 ,支出 ,交易成功 ,0.00 ,0.00 , ,"
                      "已支出 ,",
                  }));
  int stored = 0;
  EXPECT_EQ(States(ImportBill(file_, march, 3, &stored)),
            (QStringList{"6 N", "7 N"}));
  EXPECT_EQ(stored, 2);
  // The same payment and amount on the next day is a payment of its own.
  EXPECT_EQ(States(ImportBill(file_, june, 4, &stored)),
            (QStringList{"6 D 交易单号已导入：2016053121001004002", "7 N"}));
  EXPECT_EQ(stored, 1);
  EXPECT_EQ(Records(file_, 4), QStringList{"2016/6/1|花店|-30|1|-30|鲜花"});
  // One undo takes the import back with its numbers, one redo brings both
  // back.
  ASSERT_TRUE(file_.History().Undo());
  EXPECT_TRUE(Records(file_, 4).isEmpty());
  ASSERT_TRUE(file_.History().Redo());
  EXPECT_EQ(Rows(file_, "Select BillNumber From Users Where trelva_Group_ID=4"),
            QStringList{"2016060121001004003"});
}

// A bank's debit card: money in and out in two columns, its serial
// numbers finding duplicates in the same statement.
TEST_F(ExchangeTest, BankCardLinesTakeTheirSideFromTheirColumns) {
  AccountFile ledger;
  OpenFresh(ledger, "ledger", "收支账本");
  const QString path = WriteFile(
      "debit.csv",
      DebitCardBill({"20240302,10:00:00,,128.00,1872.00,消费,某某超市,,B001",
                     "20240305,09:00:00,\"8,000.00\",,9872.00,工资,某某公司,,B002",
                     "20240305,09:00:00,\"8,000.00\",,9872.00,工资,某某公司,,B002"}));
  EXPECT_EQ(States(ImportBill(ledger, path, 5)),
            (QStringList{"6 N", "7 N", "8 D 交易单号与第7行相同"}));
  EXPECT_EQ(Rows(ledger, "Select Data, Direction, Counterpart, Goods, Amount "
                         "From Users Order By ID"),
            (QStringList{"2024/3/2|支出|某某超市|消费|128",
                         "2024/3/5|收入|某某公司|工资|8000"}));

  // A credit card writes "¥" and thousands commas and has no numbers: its
  // lines are compared by their values.
  const QString card = WriteFile(
      "card.csv",
      CreditCardBill({"2024/03/03,2024/03/04,某某商城,1234,\"¥1,234.00\","
                      "\"¥1,234.00\",",
                      "2024/03/20,2024/03/20,还款,1234,¥500.00,,¥500.00"}));
  // Its repayment moves money between the household's own accounts.
  EXPECT_EQ(States(ImportBill(ledger, card, 3)),
            (QStringList{"4 N", "5 n 信用卡还款"}));
  EXPECT_EQ(States(ImportBill(ledger, card, 3)),
            (QStringList{"4 D 与已有记录相同", "5 n 信用卡还款"}));
  EXPECT_EQ(Rows(ledger, "Select Direction, Goods, Amount From Users Where "
                         "trelva_Group_ID=3 Order By ID"),
            (QStringList{"支出|某某商城|1234"}));
}

// A bill whose column was renamed is no known bill: it is read as any
// statement, with a guessed mapping for the user to complete.
TEST_F(ExchangeTest, ARenamedColumnFallsBackToTheGuessedMapping) {
  QByteArray bytes = AlipayAppBill(kAlipayRows);
  QStringEncoder gb("GB18030");
  const QByteArray from = gb.encode(QStringLiteral("交易订单号"));
  const QByteArray to = gb.encode(QStringLiteral("订单编号"));
  bytes.replace(from, to);
  StatementImport import(file_);
  QString error;
  ASSERT_TRUE(import.Open(WriteFile("renamed.csv", bytes), &error))
      << qPrintable(error);
  EXPECT_FALSE(import.Layout());
  EXPECT_EQ(import.Headers().value(9), "订单编号");
  EXPECT_EQ(import.Mapping().SourceOf("Data"), "交易时间");
  EXPECT_EQ(import.Mapping().amountColumn, "金额");
  EXPECT_TRUE(import.Mapping().numberColumn.isEmpty());
  // What a bill's columns mean is guessed from their usual names: the
  // expense still goes in as one.
  EXPECT_EQ(import.Mapping().directionColumn, "收/支");
  EXPECT_EQ(import.Mapping().statusColumn, "交易状态");
  import.SetGroupId(5);
  ImportCheck check;
  ASSERT_TRUE(import.Check(&check, {}, &error)) << qPrintable(error);
  EXPECT_EQ(check.lines.front().texts.value(5), "-25.5");
  EXPECT_EQ(check.lines.at(1).state, LineState::Skipped);
}

// Recognising a bill reads its head only: a 20 MB file whose bytes after
// the first 64 KB hold NUL bytes opens. Reading all of it refuses the file
// with the line; so does a line of megabytes; nothing is stored.
TEST_F(ExchangeTest, HostileBillsAreRefusedAndNothingStored) {
  const QStringList before = Rows(file_, "Select * From Users");
  QStringList rows;
  while (rows.size() * kAlipayRows.first().size() < 80 * 1024)
    rows += kAlipayRows;
  QByteArray bytes = AlipayAppBill(rows);
  bytes.resize(20 * 1024 * 1024, '\0');
  StatementImport import(file_);
  QString error;
  ASSERT_TRUE(import.Open(WriteFile("huge.csv", bytes), &error))
      << qPrintable(error);
  ASSERT_TRUE(import.Layout());
  ImportCheck check;
  EXPECT_FALSE(import.Check(&check, {}, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("行有空字符（NUL），不是文本文件")))
      << qPrintable(error);

  QByteArray longLine = AlipayAppBill(kAlipayRows);
  longLine.append(QByteArray(8 * 1024 * 1024, 'x'));
  EXPECT_FALSE(import.Open(WriteFile("long.csv", longLine), &error));
  EXPECT_TRUE(error.startsWith(QStringLiteral("对账单第17行超过 256 KB")))
      << qPrintable(error);
  EXPECT_EQ(Rows(file_, "Select * From Users"), before);
}

// The XLSX that newer WeChat versions send: the same columns on a sheet;
// a workbook cut short is refused with a message and nothing is stored.
TEST_F(ExchangeTest, WeChatXlsxBillAndATruncatedOne) {
  const QString path = TempPath("wechat.xlsx");
  ASSERT_TRUE(WriteWeChatXlsxBill(
      path, {"2024-03-02 12:00:00,商户消费,美团外卖,午餐,支出,¥32.00,零钱,"
             "支付成功,4200001,M1,/",
             "2024-03-03 12:00:00,零钱提现,招商银行,/,/,¥100.00,零钱,"
             "提现已到账,4200002,/,/",
             "2024-03-04 12:00:00,商户消费,便利店,饮料,支出,¥5.00,零钱,支付失败,"
             "4200003,M3,/"}));
  StatementImport import(file_);
  QString error;
  ASSERT_TRUE(import.Open(path, &error)) << qPrintable(error);
  ASSERT_TRUE(import.Layout());
  EXPECT_EQ(import.Layout()->name, "微信支付账单（XLSX）");
  EXPECT_EQ(import.Head().holder, "小明");
  EXPECT_EQ(States(ImportBill(file_, path, 4)),
            (QStringList{"7 N", "8 n 账户间转账", "9 S 支付失败"}));
  EXPECT_EQ(Records(file_, 4), QStringList{"2024/3/2|美团外卖|-32|1|-32|午餐"});

  const QStringList before = Rows(file_, "Select * From Users");
  QFile whole(path);
  ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
  const QByteArray bytes = whole.readAll();
  StatementImport cut(file_);
  EXPECT_FALSE(cut.Open(WriteFile("cut.xlsx", bytes.left(bytes.size() / 2)),
                        &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(Rows(file_, "Select * From Users"), before);
}
