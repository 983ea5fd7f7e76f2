// sorvanel-cli import and export: a statement (CSV, OFX, XLSX) in, the
// count printed, bad lines on stderr, the mapping remembered; records out
// to CSV and XLSX.
#include "cli_support.h"
#include "support/scoped_tmpfs.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <xlsxwriter.h>

namespace {

class ExchangeCliTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("book.fz");
    ASSERT_EQ(RunCli({"new", path_}).status, 0);
  }

  QString Statement(const QString &name, const QByteArray &bytes) {
    const QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  QByteArray Bytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QString Sql(const QString &sql) {
    return RunCli({"sql", path_, sql}).out.replace('\t', '|');
  }

  QTemporaryDir dir_;
  QString path_;
};

} // namespace

TEST_F(ExchangeCliTest, ImportWithAMapThenWithTheSavedOne) {
  const QString first = Statement(
      "bank.csv", "when;what;out;in\n"
                  "5.1.2024;Bäckerei;3,50;\n"
                  "6.1.2024;Gehalt;;2.500,00\n"
                  "7.1.2024;broken;x;\n");
  CliResult result = RunCli({"import", path_, first, "--group", "3", "--map",
                             "when=Data", "--map", "what=项目", "--map",
                             "out=-Amount", "--map", "in=+Amount",
                             "--date-form", "d.M.yyyy"});
  EXPECT_EQ(result.status, 0) << qPrintable(result.err);
  EXPECT_EQ(result.out, "已导入 2 条记录，拒绝 1 行，重复未导入 0 行\n");
  EXPECT_TRUE(result.err.contains("第4行：金额无法识别：x")) << qPrintable(result.err);
  EXPECT_EQ(Sql("Select Data, Item, Amount, Total From Users Where "
                "trelva_Group_ID=3 Order By ID"),
            "2024/1/5|Bäckerei|-3.5|-3.5\n2024/1/6|Gehalt|2500|2500\n");

  // The next statement of the same layout needs no map.
  const QString second =
      Statement("bank2.csv", "when;what;out;in\n8.1.2024;Miete;850,00;\n");
  result = RunCli({"import", path_, second, "--group", "3"});
  EXPECT_EQ(result.status, 0) << qPrintable(result.err);
  EXPECT_EQ(Sql("Select Item, Amount From Users Where trelva_Group_ID=3 And "
                "Data=#2024/1/8#"),
            "Miete|-850\n");
  // The same statement again: only duplicates.
  result = RunCli({"import", path_, second, "--group", "3"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "已导入 0 条记录，拒绝 0 行，重复未导入 1 行\n");
}

TEST_F(ExchangeCliTest, RefusalsAndExport) {
  const QString bad = Statement("bad.csv", "a,b\nx,1\n");
  CliResult result = RunCli({"import", path_, bad, "--map", "a=Data", "--map",
                             "b=Amount", "--date-form", "yyyyMMdd"});
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(result.err.contains("第2行：日期无法识别：x"));
  // Without an amount column nothing is stored, and never an amount of 0.
  result = RunCli({"import", path_, bad, "--map", "a=Data"});
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(result.err.contains("对账单中找不到金额列")) << qPrintable(result.err);
  // The key is never the statement's to give.
  result = RunCli({"import", path_, bad, "--map", "a=Data", "--map", "b=ID"});
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(result.err.contains("是主键")) << qPrintable(result.err);
  EXPECT_EQ(RunCli({"import", path_, bad, "--date-form", "dd-mm"}).status, 1);
  EXPECT_EQ(RunCli({"import", path_, bad, "--map", "zz=Data"}).status, 1);
  EXPECT_EQ(RunCli({"import", path_, Statement("bin.csv", QByteArray(64, '\0'))})
                .status,
            1);

  ASSERT_EQ(RunCli({"add", path_, "--group", "2", "Item=O'Brien", "Amount=2"})
                .status,
            0);
  const QString csv = dir_.filePath("out.csv");
  result = RunCli({"export", path_, csv, "--where", "trelva_Group_ID=2"});
  EXPECT_EQ(result.status, 0) << qPrintable(result.err);
  EXPECT_EQ(result.out, "已导出 1 条记录\n");
  QFile file(csv);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().startsWith("\xEF\xBB\xBF编号,日期"));
  const QString xlsx = dir_.filePath("out.xlsx");
  EXPECT_EQ(RunCli({"export", path_, xlsx}).status, 0);
  EXPECT_TRUE(QFile::exists(xlsx));
  EXPECT_EQ(RunCli({"export", path_}).status, 1);
}

TEST_F(ExchangeCliTest, EqualLinesCountAgainstEqualRecords) {
  const QByteArray header = "日期,项目,金额\n";
  const QByteArray coffee = "2024-01-05,咖啡,-3.50\n";
  const QString two = Statement("two.csv", header + coffee.repeated(2));
  const QString three = Statement("three.csv", header + coffee.repeated(3));
  CliResult result = RunCli({"import", path_, two, "--group", "4"});
  EXPECT_EQ(result.out, "已导入 2 条记录，拒绝 0 行，重复未导入 0 行\n")
      << qPrintable(result.err);
  // Two records match two of the three lines; the third is a new coffee.
  result = RunCli({"import", path_, three, "--group", "4"});
  EXPECT_EQ(result.out, "已导入 1 条记录，拒绝 0 行，重复未导入 2 行\n");
  result = RunCli({"import", path_, three, "--group", "4", "--include-duplicates"});
  EXPECT_EQ(result.out, "已导入 3 条记录，拒绝 0 行，重复未导入 0 行\n");
  EXPECT_EQ(Sql("Select Count(*) From Users Where trelva_Group_ID=4"), "6\n");
}

TEST_F(ExchangeCliTest, AnXlsxBillImportsAndADamagedOneChangesNothing) {
  const QString xlsx = dir_.filePath("bill.xlsx");
  lxw_workbook *workbook = workbook_new(QFile::encodeName(xlsx).constData());
  lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
  const char *cells[3][3] = {{"日期", "项目", "金额"},
                             {"2024-01-05", "咖啡", nullptr},
                             {"2024-01-06", "O'Brien", nullptr}};
  for (lxw_row_t row = 0; row < 3; ++row)
    for (lxw_col_t col = 0; col < 2 + (row == 0); ++col)
      worksheet_write_string(sheet, row, col, cells[row][col], nullptr);
  worksheet_write_number(sheet, 1, 2, -3.5, nullptr);
  worksheet_write_number(sheet, 2, 2, 12, nullptr);
  ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
  CliResult result = RunCli({"import", path_, xlsx, "--group", "4"});
  EXPECT_EQ(result.status, 0) << qPrintable(result.err);
  EXPECT_EQ(result.out, "已导入 2 条记录，拒绝 0 行，重复未导入 0 行\n");
  EXPECT_EQ(Sql("Select Data, Item, Amount From Users Where trelva_Group_ID=4 "
                "Order By ID"),
            "2024/1/5|咖啡|-3.5\n2024/1/6|O'Brien|12\n");

  const QString cut = Statement("cut.xlsx", Bytes(xlsx).chopped(100));
  const QByteArray before = Bytes(path_);
  result = RunCli({"import", path_, cut, "--group", "4"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "XLSX 文件已损坏：" + cut + "\n");
  EXPECT_TRUE(Bytes(path_) == before);
}

TEST_F(ExchangeCliTest, AFailedImportLeavesTheFileAsItWas) {
  // Every line refused: not even the mapping given is remembered.
  const QString csv = Statement("bad.csv", "when,amount\n2024-01-05,abc\n");
  const QString ofx = Statement(
      "bad.ofx", "<OFX><BANKTRANLIST><STMTTRN><DTPOSTED>20240230<TRNAMT>abc"
                 "</STMTTRN></BANKTRANLIST></OFX>\n");
  const QByteArray before = Bytes(path_);
  CliResult result = RunCli({"import", path_, csv, "--map", "when=Data",
                             "--map", "amount=Amount"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "已导入 0 条记录，拒绝 1 行，重复未导入 0 行\n");
  result = RunCli({"import", path_, ofx, "--map", "日期=Data", "--map",
                   "交易金额=Amount"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "已导入 0 条记录，拒绝 1 行，重复未导入 0 行\n");
  EXPECT_TRUE(Bytes(path_) == before);
}

TEST_F(ExchangeCliTest, ExportNeverOverwritesAnAccountFile) {
  ASSERT_EQ(RunCli({"new", dir_.filePath("other.fz")}).status, 0);
  ASSERT_TRUE(QFile::link(path_, dir_.filePath("link.csv")));
  ASSERT_TRUE(QFile::copy(path_, dir_.filePath("db.csv")));
  const QByteArray before = Bytes(path_);
  for (const char *name : {"book.fz", "link.csv", "other.fz", "db.csv", "new.FZ"}) {
    const QString out = dir_.filePath(name);
    const QByteArray target = Bytes(out);
    const CliResult result = RunCli({"export", path_, out});
    EXPECT_EQ(result.status, 1) << name;
    EXPECT_EQ(result.err, "不能导出到账簿文件或数据库文件：" + out + "\n");
    EXPECT_TRUE(Bytes(out) == target) << name;
  }
  EXPECT_TRUE(Bytes(path_) == before);
  EXPECT_FALSE(QFile::exists(dir_.filePath("new.FZ")));
}

TEST_F(ExchangeCliTest, AWhereThatDoesNotRunWritesNothing) {
  const QString out = dir_.filePath("good.csv");
  ASSERT_EQ(RunCli({"export", path_, out}).status, 0);
  const QByteArray good = Bytes(out);
  const CliResult result = RunCli({"export", path_, out, "--where", "Itme='x'"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_TRUE(result.err.contains("Itme")) << qPrintable(result.err);
  EXPECT_TRUE(Bytes(out) == good);
}

TEST_F(ExchangeCliTest, AKilledOfxImportLeavesNoCopyOfTheStatement) {
  QByteArray ofx = "OFXHEADER:100\n\n<OFX><BANKTRANLIST>\n";
  for (int i = 0; i < 20000; ++i)
    ofx += "<STMTTRN><DTPOSTED>20240105<TRNAMT>-1.00<NAME>n" +
           QByteArray::number(i) + "</STMTTRN>\n";
  const QString statement = Statement("big.ofx", ofx + "</BANKTRANLIST></OFX>\n");
  QTemporaryDir scratch;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("TMPDIR", scratch.path());
  QProcess cli;
  cli.setProcessEnvironment(environment);
  cli.setWorkingDirectory(dir_.path());
  cli.start(QStringLiteral(SORVANEL_BINARY_DIR "/sorvanel-cli"),
            {"import", path_, statement, "--group", "2"});
  ASSERT_TRUE(cli.waitForStarted());
  // Killed as soon as a scratch copy shows, or let finish.
  const QDir folder(scratch.path());
  while (!cli.waitForFinished(20) &&
         folder.entryList(QDir::Files | QDir::Hidden).isEmpty()) {
  }
  cli.kill();
  cli.waitForFinished();
  EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden), QStringList());
}

// A WeChat Pay bill into the 收支账本 template: --report says what became
// of every line, and a second import of the bill finds every payment by its
// number.
TEST_F(ExchangeCliTest, ABillReportsEveryLine) {
  const QString ledger = dir_.filePath("ledger.fz");
  ASSERT_EQ(RunCli({"new", ledger, "--template", "收支账本"}).status, 0);
  const QString bill = Statement(
      "wechat.csv",
      "\xEF\xBB\xBF微信支付账单明细,,,,,,,,,,\n"
      "微信昵称：[小明],,,,,,,,,,\n"
      "----------------------微信支付账单明细列表--------------------,,,,,,,,,,\n"
      "交易时间,交易类型,交易对方,商品,收/支,金额(元),支付方式,当前状态,交易单号,"
      "商户单号,备注\n"
      "2024-03-02 12:00:00,商户消费,美团,午餐,支出,¥32.00,零钱,支付成功,"
      "4200001\t,M1\t,/\n"
      "2024-03-03 12:00:00,商户消费,美团,晚餐,支出,¥40.00,零钱,支付失败,"
      "4200002\t,M2\t,/\n"
      "2024-03-04 12:00:00,零钱提现,银行,/,/,¥100.00,零钱,提现已到账,4200003\t,/,/\n"
      "2024-03-05 12:00:00,商户消费,美团,午餐,支出,¥abc,零钱,支付成功,"
      "4200004\t,M4\t,/\n");
  CliResult result = RunCli({"import", ledger, bill, "--report"});
  EXPECT_EQ(result.status, 0) << qPrintable(result.err);
  EXPECT_EQ(result.out, "5\tnew\t\n6\tskipped\t支付失败\n7\tskipped\t账户间转账\n"
                        "8\tbad\t金额无法识别：¥abc\n"
                        "已导入 1 条记录，拒绝 1 行，重复未导入 0 行，跳过 2 行\n");
  EXPECT_TRUE(result.err.startsWith("微信支付账单：小明\n")) << qPrintable(result.err);
  result = RunCli({"import", ledger, bill, "--report", "--group", "5"});
  EXPECT_TRUE(result.out.startsWith("5\tduplicate\t交易单号已导入：4200001\n"))
      << qPrintable(result.out);
  EXPECT_EQ(RunCli({"sql", ledger, "Select Direction, Goods, Amount, BillNumber "
                                   "From Users"})
                .out.replace('\t', '|'),
            "支出|午餐|32|4200001\n");
}

// A mapping given for a comma-separated file is not applied to a
// semicolon-separated GB18030 file with the same column names.
TEST_F(ExchangeCliTest, AMappingOfOneLayoutLeavesAnotherAlone) {
  const QString comma =
      Statement("comma.csv", QStringLiteral("日期,项目,金额\n2024-01-05,午饭,-12\n")
                                 .toUtf8());
  QStringEncoder gb("GB18030");
  const QByteArray semicolonBytes =
      gb.encode(QStringLiteral("日期;项目;金额\n2024-01-06;晚饭;-20\n"));
  const QString semicolon = Statement("semicolon.csv", semicolonBytes);
  for (const QString &statement : {comma, semicolon}) {
    const CliResult result =
        RunCli({"import", path_, statement, "--group", "4", "--map",
                "日期=Data", "--map", "项目=Item", "--map", "金额=Amount"});
    EXPECT_EQ(result.status, 0) << qPrintable(result.err);
    EXPECT_EQ(result.out, "已导入 1 条记录，拒绝 0 行，重复未导入 0 行\n");
  }
  EXPECT_EQ(Sql("Select Item, Amount From Users Where trelva_Group_ID=4 Order "
                "By ID"),
            "午饭|-12\n晚饭|-20\n");
}

// A full disk: the import stores nothing and says so once, in Chinese.
TEST_F(ExchangeCliTest, AnImportOnAFullDiskSaysWhyOnce) {
  const QString folder = dir_.filePath("small");
  ASSERT_TRUE(QDir().mkdir(folder));
  ScopedTmpfs disk(folder, "1m");
  if (!disk.Mounted())
    GTEST_SKIP() << "needs root to mount a small file system";
  const QString ledger = folder + "/book.fz";
  ASSERT_EQ(RunCli({"new", ledger}).status, 0);
  QByteArray bill = "日期,摘要,金额\n";
  for (int i = 0; i < 4000; ++i)
    bill += "2024-01-05," + QString(200, QChar(0x8D26)).toUtf8() + ",-1\n";
  const CliResult result = RunCli({"import", ledger, Statement("big.csv", bill)});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err.trimmed(), "磁盘已满，导入未进行，账簿没有改动");
  EXPECT_EQ(RunCli({"sql", ledger, "Select Count(*) From Users"}).out.trimmed(), "0");
}
