// Reading XLSX statements: workbooks written with libxlsxwriter and by hand
// (with libzip) read as the sheet shows them, damaged and hostile ones
// refused, and an XLSX bill imported like a CSV.
#include "exchange/statement_import.h"
#include "exchange/xlsx_reader.h"

#include "exchange_test_file.h"

#include <xlsxwriter.h>
#include <zip.h>

#include <map>
#include <utility>
#include <vector>

namespace {

using SheetRows = std::vector<std::pair<int, QStringList>>;

// Every row of the first sheet, or none with error set.
SheetRows ReadRows(const QString &path, QString *error) {
  SheetRows rows;
  error->clear();
  const bool read = ReadXlsxRows(
      path,
      [&](int row, const QStringList &cells) {
        rows.emplace_back(row, cells);
        return true;
      },
      error);
  EXPECT_EQ(read, error->isEmpty());
  return read ? rows : SheetRows();
}

// A zip archive of the given parts.
void WriteZip(const QString &path, const std::map<QString, QByteArray> &parts) {
  int code = 0;
  zip_t *archive = zip_open(QFile::encodeName(path).constData(),
                            ZIP_CREATE | ZIP_TRUNCATE, &code);
  ASSERT_TRUE(archive);
  for (const auto &[name, bytes] : parts) {
    zip_source_t *source = zip_source_buffer(archive, bytes.constData(),
                                             zip_uint64_t(bytes.size()), 0);
    const zip_int64_t index =
        zip_file_add(archive, name.toUtf8().constData(), source, 0);
    ASSERT_GE(index, 0);
    zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 1);
  }
  ASSERT_EQ(zip_close(archive), 0);
}

// The parts of a workbook by hand: its first sheet (listed first, though
// not named sheet1.xml) is sheet, a second one that must not be read
// comes before it in the archive, with the shared texts sst.
std::map<QString, QByteArray> Workbook(const QByteArray &sheet,
                                       const QByteArray &sst = {},
                                       const QByteArray &workbookPr = {}) {
  const QByteArray main =
      "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
      "relationships\"";
  const QByteArray type = "http://schemas.openxmlformats.org/officeDocument/"
                          "2006/relationships/";
  return {
      {"xl/workbook.xml",
       "<?xml version=\"1.0\"?><workbook " + main + ">" + workbookPr +
           "<sheets><sheet name=\"账单\" sheetId=\"2\" r:id=\"rId7\"/>"
           "<sheet name=\"汇总\" sheetId=\"1\" r:id=\"rId1\"/></sheets>"
           "</workbook>"},
      {"xl/_rels/workbook.xml.rels",
       "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas."
       "openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"" + type + "worksheet\" "
       "Target=\"worksheets/sheet1.xml\"/>"
       "<Relationship Id=\"rId7\" Type=\"" + type + "worksheet\" "
       "Target=\"/xl/worksheets/bill.xml\"/>"
       "<Relationship Id=\"rId3\" Type=\"" + type + "sharedStrings\" "
       "Target=\"sharedStrings.xml\"/></Relationships>"},
      {"xl/worksheets/sheet1.xml",
       "<worksheet " + main + "><sheetData><row r=\"1\"><c r=\"A1\" "
       "t=\"inlineStr\"><is><t>不应读取</t></is></c></row></sheetData>"
       "</worksheet>"},
      {"xl/worksheets/bill.xml",
       "<worksheet " + main + "><sheetData>" + sheet +
           "</sheetData></worksheet>"},
      {"xl/sharedStrings.xml", "<sst " + main + ">" + sst + "</sst>"},
  };
}

// Checks and stores every good line; the number stored.
int ImportAll(StatementImport &import, ImportCheck *check) {
  QString error;
  EXPECT_TRUE(import.Check(check, {}, &error)) << qPrintable(error);
  bool cancelled = false;
  return import.Store({}, {}, &cancelled, &error);
}

} // namespace

TEST_F(ExchangeTest, XlsxCellsReadAsTheSheetShowsThem) {
  const QString path = TempPath("written.xlsx");
  lxw_workbook *workbook = workbook_new(QFile::encodeName(path).constData());
  lxw_worksheet *bill = workbook_add_worksheet(workbook, "账单");
  lxw_worksheet *other = workbook_add_worksheet(workbook, "汇总");
  lxw_format *moment = workbook_add_format(workbook);
  format_set_num_format(moment, "yyyy\"年\"mm\"月\"dd\"日\" hh:mm:ss");
  lxw_format *day = workbook_add_format(workbook);
  format_set_num_format_index(day, 14);
  lxw_format *quoted = workbook_add_format(workbook);
  format_set_num_format(quoted, "0.00\" d\";[Red]-0.00");
  lxw_format *bold = workbook_add_format(workbook);
  format_set_bold(bold);
  worksheet_write_string(bill, 0, 0, "微信支付账单明细", nullptr);
  worksheet_write_string(bill, 2, 0, "交易时间", nullptr);
  worksheet_write_string(bill, 2, 1, "交易对方", nullptr);
  worksheet_write_string(bill, 2, 2, "金额(元)", nullptr);
  worksheet_write_string(bill, 2, 3, "备注", nullptr);
  lxw_datetime when{2024, 1, 5, 12, 30, 15};
  worksheet_write_datetime(bill, 3, 0, &when, moment);
  worksheet_write_string(bill, 3, 1, "餐厅 O'Brien", nullptr);
  worksheet_write_number(bill, 3, 2, 12.5, nullptr);
  // An empty cell in the middle; a rich text of two runs.
  worksheet_write_number(bill, 4, 0, 45297, day);
  lxw_rich_string_tuple plain{nullptr, const_cast<char *>("超市")};
  lxw_rich_string_tuple strong{bold, const_cast<char *>("日用品")};
  lxw_rich_string_tuple *runs[] = {&plain, &strong, nullptr};
  worksheet_write_rich_string(bill, 4, 2, runs, nullptr);
  worksheet_write_number(bill, 4, 3, 1000000, nullptr);
  // Row 6 left out; the day counts around the 1900-02-29 that never was,
  // a time alone, a format with a quoted "d" that is no date.
  worksheet_write_number(bill, 6, 0, 59, day);
  worksheet_write_number(bill, 6, 1, 60, day);
  worksheet_write_number(bill, 6, 2, 61, day);
  worksheet_write_number(bill, 6, 3, 0.75, moment);
  worksheet_write_number(bill, 7, 0, 123456789.125, nullptr);
  worksheet_write_number(bill, 7, 1, -3, quoted);
  worksheet_write_boolean(bill, 7, 2, 1, nullptr);
  worksheet_write_number(bill, 7, 3, 1e22, nullptr);
  worksheet_write_string(other, 0, 0, "不应读取", nullptr);
  ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);

  QString error;
  const SheetRows rows = ReadRows(path, &error);
  EXPECT_EQ(error, "");
  EXPECT_EQ(rows, (SheetRows{
                      {1, {"微信支付账单明细"}},
                      {3, {"交易时间", "交易对方", "金额(元)", "备注"}},
                      {4, {"2024-01-05 12:30:15", "餐厅 O'Brien", "12.5"}},
                      {5, {"2024-01-06 00:00:00", "", "超市日用品", "1000000"}},
                      {7,
                       {"1900-02-28 00:00:00", "1900-02-28 00:00:00",
                        "1900-03-01 00:00:00", "1899-12-30 18:00:00"}},
                      {8, {"123456789.125", "-3", "TRUE", "1e+22"}},
                  }));
  // Reading stops when asked to.
  int calls = 0;
  EXPECT_TRUE(ReadXlsxRows(
      path, [&](int, const QStringList &) { return ++calls < 2; }, &error));
  EXPECT_EQ(calls, 2);
}

TEST_F(ExchangeTest, XlsxFirstSheetByItsRelationshipAndHandWrittenCells) {
  // Cells without references follow the one before, inline texts, phonetic
  // guides left out, escapes, the 1904 date system with a custom format
  // (the styles of cells, not those of cell styles), numbers that need
  // every digit.
  const QString path = TempPath("hand.xlsx");
  auto parts = Workbook(
      "<row r=\"2\"><c r=\"B2\" t=\"s\"><v>1</v></c><c t=\"s\"><v>0</v></c>"
      "<c t=\"inlineStr\"><is><r><t>滴滴</t></r><r><t xml:space=\"preserve\">"
      " 出行</t></r></is></c></row>"
      "<row><c s=\"1\"><v>0</v></c><c t=\"str\"><f>A1</f><v>a_x000D_b</v></c>"
      "<c t=\"e\"><v>#N/A</v></c><c t=\"b\"><v>0</v></c><c/>"
      "<c><v>0.30000000000000004</v></c><c><v>-1E-3</v></c></row>",
      "<si><t>交通</t></si><si><r><t>北京</t></r><rPh><t>ペキン</t></rPh></si>",
      "<workbookPr date1904=\"1\"/>");
  parts["xl/_rels/workbook.xml.rels"].replace(
      "</Relationships>",
      "<Relationship Id=\"rId4\" Type=\"http://schemas.openxmlformats.org/"
      "officeDocument/2006/relationships/styles\" Target=\"styles.xml\"/>"
      "</Relationships>");
  parts["xl/styles.xml"] =
      "<styleSheet><numFmts><numFmt numFmtId=\"164\" "
      "formatCode=\"[$-804]yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;\"/>"
      "</numFmts><cellStyleXfs><xf numFmtId=\"14\"/></cellStyleXfs><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/>"
      "</cellXfs></styleSheet>";
  WriteZip(path, parts);
  QString error;
  EXPECT_EQ(ReadRows(path, &error),
            (SheetRows{{2, {"", "北京", "交通", "滴滴 出行"}},
                       {3,
                        {"1904-01-01 00:00:00", "a\rb", "#N/A", "FALSE", "",
                         "0.30000000000000004", "-0.001"}}}));
  EXPECT_EQ(error, "");
}

TEST_F(ExchangeTest, XlsxCommentsInstructionsAndCDataAreReadInOnePass) {
  // A comment of 8 MB among the rows (its end falls inside a chunk), which
  // the XML reader alone scans again for every chunk added; processing
  // instructions; a '>' in an attribute value; CDATA sections that hold
  // markup and "]]" runs; comments in the shared texts.
  const QByteArray comment =
      "<!-- <row r=\"2\"><c><v>1</v></c></row> " +
      QByteArray(8 * 1024 * 1024 + 6, '-').replace("--", "- ") + "-->";
  const QString path = TempPath("comments.xlsx");
  WriteZip(path,
           Workbook("<?editor keep?>" + comment +
                        "<row r=\"3\"><c t=\"s\" x='a>b'><v>0</v></c>"
                        "<?pi <c><v>9</v></c> ?><c><v><![CDATA[12.5]]></v></c>"
                        "<c t=\"inlineStr\"><is><t><![CDATA[a<b> & ]]]]>"
                        "<![CDATA[>c]]]></t></is></c></row>",
                    "<!-- 共 1 项 --><si><t>交易<!-- - -->时间</t></si>"));
  QString error;
  EXPECT_EQ(ReadRows(path, &error),
            (SheetRows{{3, {"交易时间", "12.5", "a<b> & ]]>c]"}}}));
  EXPECT_EQ(error, "");

  // Shared texts in UTF-16 are read as they are.
  auto parts = Workbook("<row r=\"1\"><c t=\"s\"><v>0</v></c></row>");
  const QString utf16 =
      QStringLiteral("\uFEFF<?xml version=\"1.0\" encoding=\"UTF-16\"?>"
                     "<sst><!-- ℼ --><si><t>ℼ交易</t></si></sst>");
  parts["xl/sharedStrings.xml"] = QByteArray(
      reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2);
  WriteZip(path, parts);
  EXPECT_EQ(ReadRows(path, &error), (SheetRows{{1, {"ℼ交易"}}}));

  // A document type (which no workbook has), markup after "<!" that is
  // neither, and a comment left open are refused.
  for (const QByteArray &sheet :
       {QByteArray("<!DOCTYPE x [<!ENTITY a \"b\">]><row r=\"1\"/>"),
        QByteArray("<row r=\"1\"/><!ELEMENT x ANY>"),
        QByteArray("<row r=\"1\"/><!-- open")}) {
    WriteZip(path, Workbook(sheet));
    EXPECT_TRUE(ReadRows(path, &error).empty()) << sheet.constData();
    EXPECT_EQ(error, "XLSX 文件已损坏：" + path) << sheet.constData();
  }
}

TEST_F(ExchangeTest, DamagedAndHostileXlsxFilesAreRefusedWithAMessage) {
  QString error;
  // Not a zip, a zip of a bill (not a workbook), a workbook cut short.
  EXPECT_TRUE(ReadRows(WriteFile("text.xlsx", "日期,金额\n"), &error).empty());
  EXPECT_EQ(error, NotAStatementMessage());
  const QString other = TempPath("other.zip");
  WriteZip(other, {{"账单.csv", "日期,金额\n"}});
  EXPECT_TRUE(ReadRows(other, &error).empty());
  EXPECT_EQ(error, "文件是压缩包，不是账单，请先解压，再导入其中的账单文件：" + other);
  const QString whole = TempPath("whole.xlsx");
  WriteZip(whole, Workbook("<row r=\"1\"><c t=\"s\"><v>0</v></c></row>",
                           "<si><t>交易时间</t></si>"));
  QFile file(whole);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString cut = WriteFile("cut.xlsx", file.readAll().chopped(40));
  EXPECT_TRUE(ReadRows(cut, &error).empty());
  EXPECT_EQ(error, "XLSX 文件已损坏：" + cut);
  StatementFormat format;
  EXPECT_FALSE(DetectStatementFormat(cut, &format, &error));
  EXPECT_EQ(error, "XLSX 文件已损坏：" + cut);

  // Sheets that are no statement, each with its message.
  const QByteArray longText(kMaxXlsxCellText + 1, 'x');
  const std::vector<std::pair<QByteArray, QString>> sheets{
      {"<row r=\"1\"><c r=\"AMA1\"><v>1</v></c></row>",
       "对账单第1行的字段超过 1000 个，不是可识别的对账单："},
      {"<row r=\"1\"><c t=\"inlineStr\"><is><t>" + longText + "</t></is></c>"
       "</row>",
       "XLSX 文件中有超过 32767 个字符的单元格，不是可识别的对账单："},
      {"<row r=\"1\"><c><v>1</v></row>", "XLSX 文件已损坏："},
      {"<row r=\"1\"><c t=\"s\"><v>7</v></c></row>", "XLSX 文件第1行已损坏："},
      {"<row r=\"1\"><c><v>nan</v></c></row>", "XLSX 文件第1行已损坏："},
      {"<row r=\"3\"/><row r=\"2\"/>", "XLSX 文件第4行已损坏："},
      {QByteArray("<row r=\"1\"><c t=\"str\"><v>a\0b</v></c></row>", 42),
       "XLSX 文件已损坏："},
      {"<row r=\"1\"><c t=\"str\"><v>a_x0000_b</v></c></row>",
       "XLSX 文件第1行有空字符（NUL）："},
  };
  for (const auto &[sheet, message] : sheets) {
    const QString path = TempPath("hostile.xlsx");
    WriteZip(path, Workbook(sheet, "<si><t>交易时间</t></si>"));
    EXPECT_TRUE(ReadRows(path, &error).empty()) << sheet.left(60).constData();
    EXPECT_EQ(error, message + path) << sheet.left(60).constData();
  }
  StatementImport import(file_);
  EXPECT_FALSE(import.Open(TempPath("hostile.xlsx"), &error));
  EXPECT_EQ(error, "XLSX 文件第1行有空字符（NUL）：" + TempPath("hostile.xlsx"));

  // A part that inflates beyond its cap, counted as it inflates.
  const QString bomb = TempPath("bomb.xlsx");
  WriteZip(bomb, Workbook("", "<si><t>a</t></si>" +
                                  QByteArray(51 * 1024 * 1024, ' ')));
  EXPECT_TRUE(ReadRows(bomb, &error).empty());
  EXPECT_EQ(error, "XLSX 文件中的 xl/sharedStrings.xml 解压后超过 50 MB，不是可"
                   "识别的对账单：" + bomb);
}

TEST_F(ExchangeTest, XlsxBillImportsLikeACsvStatement) {
  const QString path = WriteXlsxBill("bill.xlsx");
  StatementFormat format;
  QString error;
  ASSERT_TRUE(DetectStatementFormat(path, &format, &error)) << qPrintable(error);
  EXPECT_EQ(format.kind, StatementKind::Xlsx);
  EXPECT_EQ(format.skipLines, 3);
  StatementImport import(file_);
  ASSERT_TRUE(import.Open(path, &error)) << qPrintable(error);
  EXPECT_EQ(import.Signature(), "XLSX:交易日期|摘要|金额|备注");
  EXPECT_EQ(import.Mapping().SourceOf("Data"), "交易日期");
  EXPECT_EQ(import.Mapping().amountColumn, "金额");
  import.SetGroupId(3);
  ImportCheck check;
  EXPECT_EQ(ImportAll(import, &check), 3);
  EXPECT_TRUE(check.bad.isEmpty());
  EXPECT_EQ(Records(file_, 3),
            (QStringList{"2024/1/5|餐厅 O'Brien|-35.5|1|-35.5|",
                         "2024/1/6|工资|8000|1|8000|",
                         "2024/1/7|超市, 日用品|-120|1|-120|"}));
  // The lines are the sheet's rows: a second import finds them all.
  StatementImport again(file_);
  ASSERT_TRUE(again.Open(path, &error)) << qPrintable(error);
  again.SetGroupId(3);
  ImportCheck second;
  ASSERT_TRUE(again.Check(&second, {}, &error));
  EXPECT_EQ(second.duplicateLines, (QList<int>{5, 7, 9}));
}
