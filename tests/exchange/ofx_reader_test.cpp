// OFX statements: bad values are refused line by line as in a CSV, a
// damaged or hostile file is refused whole and nothing is made up.
#include "exchange/ofx_reader.h"
#include "exchange/statement_import.h"

#include "exchange_test_file.h"

namespace {

QByteArray Ofx(const QByteArray &transactions) {
  return "OFXHEADER:100\nDATA:OFXSGML\nVERSION:102\n\n<OFX><BANKMSGSRSV1>"
         "<STMTTRNRS><STMTRS><BANKTRANLIST>\n" +
         transactions +
         "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n";
}

} // namespace

TEST_F(ExchangeTest, OfxValuesAreCheckedLineByLine) {
  const QString path = WriteFile(
      "bad.ofx",
      Ofx("<STMTTRN><DTPOSTED>20240105<TRNAMT>-3.50<NAME>Coffee</STMTTRN>\n"
          "<STMTTRN><DTPOSTED>20240106<TRNAMT>abc<NAME>A</STMTTRN>\n"
          "<STMTTRN><DTPOSTED>20240230<TRNAMT>1<NAME>B</STMTTRN>\n"
          "<STMTTRN><DTPOSTED>00000000<TRNAMT>1</STMTTRN>\n"
          "<STMTTRN><DTPOSTED>999999999999999999<TRNAMT>1</STMTTRN>\n"
          "<STMTTRN><TRNAMT>1<NAME>no date</STMTTRN>\n"
          "<STMTTRN><DTPOSTED>20240107<MEMO></STMTTRN>\n"
          "<STMTTRN><DTPOSTED>20240108093000.000[-5:EST]</DTPOSTED>"
          "<TRNAMT>2</TRNAMT><NAME>X &amp; O'Brien</NAME></STMTTRN>\n"));
  StatementImport import(file_);
  QString error;
  ASSERT_TRUE(import.Open(path, &error)) << qPrintable(error);
  import.SetGroupId(5);
  ImportCheck check;
  ASSERT_TRUE(import.Check(&check, {}, &error)) << qPrintable(error);
  EXPECT_EQ(check.good, 2);
  QStringList reasons;
  for (const BadLine &bad : check.bad)
    reasons.append(QStringLiteral("%1:%2").arg(bad.lineNumber).arg(bad.reason));
  EXPECT_EQ(reasons, (QStringList{"2:金额无法识别：abc",
                                  "3:日期无法识别：20240230",
                                  "4:日期无法识别：00000000",
                                  "5:日期无法识别：999999999999999999",
                                  "6:没有日期", "7:没有金额"}));
  bool cancelled = false;
  EXPECT_EQ(import.Store({}, {}, &cancelled, &error), 2);
  EXPECT_EQ(Records(file_, 5), (QStringList{"2024/1/5|Coffee|-3.5|1|-3.5|",
                                            "2024/1/8|X & O'Brien|2|1|2|"}));
}

TEST_F(ExchangeTest, DamagedOrHostileOfxIsRefusedWhole) {
  const auto read = [](const QString &path, int *lines, QString *error) {
    *lines = 0;
    return ReadOfxTransactions(
        path,
        [&](const SourceLine &) {
          ++*lines;
          return true;
        },
        error);
  };
  int lines = 0;
  QString error;
  // Cut off inside a transaction: no transaction is made up from the rest.
  const QByteArray whole =
      Ofx("<STMTTRN><DTPOSTED>20240105<TRNAMT>1</STMTTRN>"
          "<STMTTRN><DTPOSTED>20240106<TRNAMT>2</STMTTRN>");
  const QString cut = WriteFile("cut.ofx", whole.left(whole.lastIndexOf("<TRNAMT>")));
  EXPECT_FALSE(read(cut, &lines, &error));
  EXPECT_EQ(error, "OFX 文件不完整（在 <STMTTRN> 中结束）：" + cut);
  // Nesting far beyond any statement is refused at once.
  const QString deep =
      WriteFile("deep.ofx", "<OFX>" + QByteArray("<A>").repeated(100000) + "1");
  EXPECT_FALSE(read(deep, &lines, &error));
  EXPECT_EQ(error, "OFX 文件的嵌套超过 64 层，不是可识别的对账单：" + deep);
  const QString huge = WriteFile(
      "huge.ofx", Ofx("<STMTTRN><NAME>" + QByteArray(2 << 20, 'x')));
  EXPECT_FALSE(read(huge, &lines, &error));
  EXPECT_EQ(error, "OFX 文件中有过长的标记或值：" + huge);
  EXPECT_EQ(lines, 0);
  const QString nul = WriteFile(
      "nul.ofx", Ofx(QByteArray("<STMTTRN><DTPOSTED>20240105<TRNAMT>1<NAME>a\0b"
                                "</STMTTRN>", 55)));
  EXPECT_FALSE(read(nul, &lines, &error));
  EXPECT_EQ(error, "OFX 文件中有空字符（NUL）：" + nul);
  EXPECT_EQ(lines, 0);

  EXPECT_EQ(OfxDateText("20240229235959.999[+8:CST]"), "2024-02-29");
  EXPECT_TRUE(OfxDateText("20240229246000").isNull());
  EXPECT_TRUE(OfxDateText("2024022").isNull());
}
