// Reading legacy Excel statements (.xls): a 建设银行-like debit card
// statement read as the sheet shows it, damaged files and other files
// refused with a message.
#include "exchange/statement_source.h"
#include "exchange/xls_reader.h"

#include "exchange_test_file.h"

#include <utility>
#include <vector>

namespace {

using SheetRows = std::vector<std::pair<int, QStringList>>;

SheetRows ReadRows(const QString &path, QString *error) {
  SheetRows rows;
  error->clear();
  const bool read = ReadXlsRows(
      path,
      [&](int row, const QStringList &cells) {
        rows.emplace_back(row, cells);
        return true;
      },
      error);
  EXPECT_EQ(read, error->isEmpty());
  return rows;
}

} // namespace

TEST_F(ExchangeTest, XlsStatementReadsAsTheSheetShowsIt) {
  // Written by a spreadsheet writer: texts in the shared string table,
  // integers and decimals, a date, a date and time and a time alone in date
  // formats, texts that look like dates, empty rows and cells; a second
  // sheet not to be read. The date 2100-03-01 is one FreeXL names
  // 2100-02-29.
  const QString path = Data("bills/ccb-app.xls");
  QString error;
  EXPECT_EQ(ReadRows(path, &error),
            (SheetRows{
                {1, {"中国建设银行个人活期账户交易明细"}},
                {2, {"客户名称:张小明", "", "", "卡号/账号:6217000012345678"}},
                {3, {"起始日期:20240301", "", "", "结束日期:20240331"}},
                {5,
                 {"序号", "摘要", "币别", "钞汇", "交易日期", "交易金额",
                  "账户余额", "交易地点/附言", "对方账号与户名"}},
                {6,
                 {"1", "消费", "人民币元", "钞", "2024-03-02 00:00:00", "-35.5",
                  "4964.5", "财付通-美团外卖"}},
                {7,
                 {"2", "工资", "人民币元", "钞", "2024-03-10 00:00:00", "8000",
                  "12964.5", "代发工资", "6227000098765432/某某科技有限公司"}},
                {8,
                 {"3", "转账", "人民币元", "钞", "20240315", "-1234.56",
                  "11729.94", "网上银行转账", "6222000011112222/李四"}},
                {10,
                 {"打印时间:", "2024-04-01 08:05:09", "1899-12-30 12:30:15",
                  "2100-03-01 00:00:00", "0.30000000000000004"}},
            }));
  EXPECT_EQ(error, "");
  int calls = 0;
  EXPECT_TRUE(ReadXlsRows(
      path, [&](int, const QStringList &) { return ++calls < 2; }, &error));
  EXPECT_EQ(calls, 2);

  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(LooksLikeXls(file.read(8)));
  EXPECT_FALSE(LooksLikeXls("PK\x03\x04"));
}

TEST_F(ExchangeTest, DamagedAndOtherXlsFilesAreRefusedWithAMessage) {
  QString error;
  const QString cut = Data("ccb_debit_cut.xls");
  EXPECT_TRUE(ReadRows(cut, &error).empty());
  EXPECT_EQ(error, "XLS 文件已损坏：" + cut);
  // Six sheets of a few cells whose records claim 65536 rows and 256
  // columns each, which FreeXL would allocate before reading a cell.
  const QString huge = Data("huge_sheets.xls");
  EXPECT_TRUE(ReadRows(huge, &error).empty());
  EXPECT_EQ(error,
            "XLS 文件的工作表超过 4194304 个单元格，不是可识别的对账单：" +
                huge);
  // An OLE2 header and nothing behind it; a text file.
  const QString header =
      WriteFile("header.xls", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") +
                                  QByteArray(504, '\0'));
  EXPECT_TRUE(ReadRows(header, &error).empty());
  EXPECT_EQ(error, "XLS 文件已损坏：" + header);
  EXPECT_TRUE(ReadRows(WriteFile("text.xls", "日期,金额\n"), &error).empty());
  EXPECT_EQ(error, NotAStatementMessage());
  EXPECT_TRUE(ReadRows(TempPath("missing.xls"), &error).empty());
  EXPECT_EQ(error, CannotReadMessage(TempPath("missing.xls")));
}
