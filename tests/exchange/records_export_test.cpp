// Export to CSV and XLSX and back: records exported and imported into a
// fresh file come back the same, whatever their dates, decimals, Chinese
// texts, quotes and line breaks; XLSX keeps numbers as numbers and dates as
// dates; a cancelled export leaves no file.
#include "exchange/records_export.h"
#include "exchange/statement_import.h"

#include "base/date_text.h"
#include "exchange_test_file.h"
#include "formula/evaluate_row.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"
#include "records/command_history.h"
#include "records/row_item.h"
#include "support/query_rows.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

void AddRecord(AccountFile &file, int groupId,
               const QList<QPair<QString, QString>> &texts) {
  CRowItem row = CRowItem::EmptyRow(file, groupId);
  for (const auto &[field, text] : texts)
    row.Item(field)->text = text;
  GroupNode *group = FindGroupNode(file.Root(), groupId);
  row.FillNewRowDefaults(++group->largestKey);
  for (const auto &[field, text] : texts) {
    row.Item(field)->text = text;
    row.Item(field)->applyingDefault = false;
  }
  EvaluateRow(row.items);
  ASSERT_EQ(file.History().AddRows({row}), 1);
}


} // namespace

QStringList QueryRowsOf(AccountFile &file, int groupId);

class ExportTest : public ExchangeTest {
protected:
  void SetUp() override {
    ExchangeTest::SetUp();
    AddRecord(file_, 3,
              {{"Data", "2023/12/31"},
               {"Moment", "23:59:58"},
               {"Category", "餐饮"},
               {"Item", "O'Brien, \"quoted\""},
               {"Amount", "1234.56"},
               {"Count", "3"},
               {"Memo", "第一行\r\n第二行, 还有\t制表符"}});
    AddRecord(file_, 3, {{"Data", "2024/2/29"},
                         {"Moment", "0:00:01"},
                         {"Item", "工资"},
                         {"Amount", "-0.1"}});
    AddRecord(file_, 4, {{"Item", "other group"}});
  }

  // Imports path into group 3 of a fresh file; its records.
  QStringList ImportFresh(const QString &path) {
    AccountFile fresh;
    OpenFresh(fresh, QStringLiteral("fresh"));
    StatementImport import(fresh);
    QString error;
    EXPECT_TRUE(import.Open(path, &error)) << qPrintable(error);
    import.SetGroupId(3);
    ImportCheck check;
    EXPECT_TRUE(import.Check(&check, {}, &error)) << qPrintable(error);
    EXPECT_TRUE(check.bad.isEmpty()) << qPrintable(check.bad.value(0).reason);
    bool cancelled = false;
    EXPECT_EQ(import.Store({}, {}, &cancelled, &error), check.good);
    const QStringList records = QueryRowsOf(fresh, 3);
    fresh.Close();
    return records;
  }

  bool Export(const QString &path, int *count) {
    bool cancelled = false;
    QString error;
    const bool done = ExportRecords(file_, {"trelva_Group_ID=3"}, path, {},
                                    count, &cancelled, &error);
    EXPECT_TRUE(done) << qPrintable(error);
    return done;
  }
};

QStringList QueryRowsOf(AccountFile &file, int groupId) {
  return QueryRows(
      *file.Session(), QStringLiteral("Select Data, Moment, Category, Payment, Amount, "
                           "Count, Total, Item, Memo From Users Where "
                           "trelva_Group_ID=%1 Order By ID")
                .arg(groupId));
}

TEST_F(ExportTest, CsvRoundTripKeepsEveryValue) {
  const QString path = TempPath("out.csv");
  int count = 0;
  ASSERT_TRUE(Export(path, &count));
  EXPECT_EQ(count, 2);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF编号,日期,时间,类别"));
  const QStringList original = QueryRowsOf(file_, 3);
  ASSERT_EQ(original.size(), 2);
  EXPECT_EQ(ImportFresh(path), original);
}

TEST_F(ExportTest, XlsxHoldsNumbersAndDatesAndRoundTrips) {
  const QString path = TempPath("out.xlsx");
  int count = 0;
  ASSERT_TRUE(Export(path, &count));
  EXPECT_FALSE(QFile::exists(path + ".part"));
  QProcess unzip;
  unzip.start("unzip", {"-p", path, "xl/worksheets/sheet1.xml"});
  ASSERT_TRUE(unzip.waitForFinished(10000));
  const QByteArray sheet = unzip.readAllStandardOutput();
  ASSERT_FALSE(sheet.isEmpty());

  // Read the cells back: numbers (dates are numbers with a date style) and
  // inline strings, and rebuild the rows as the records page shows them.
  const ColumnList &columns = file_.Columns();
  std::vector<QStringList> rows;
  QXmlStreamReader xml(sheet);
  int numbers = 0, styledNumbers = 0;
  QString type, style;
  int col = -1;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement())
      continue;
    if (xml.name() == u"row") {
      rows.emplace_back();
      for (int i = 0; i < columns.Size(); ++i)
        rows.back().append(QString());
    } else if (xml.name() == u"c") {
      const QString ref = xml.attributes().value("r").toString();
      col = ref.at(0).unicode() - 'A';
      type = xml.attributes().value("t").toString();
      style = xml.attributes().value("s").toString();
    } else if (xml.name() == u"v" || xml.name() == u"t") {
      QString text = xml.readElementText();
      // Excel's escape of control characters such as CR: _x000D_.
      static const QRegularExpression escape("_x([0-9A-Fa-f]{4})_");
      for (auto m = escape.match(text); m.hasMatch(); m = escape.match(text))
        text.replace(m.capturedStart(), m.capturedLength(),
                     QChar(m.captured(1).toUShort(nullptr, 16)));
      if (xml.name() == u"v" && type.isEmpty()) {
        ++numbers;
        const int fieldType = columns.At(col).type;
        if (!style.isEmpty() && fieldType >= 5 && fieldType <= 9) {
          ++styledNumbers;
          const DateValue value = DateValue::FromDays(text.toDouble());
          text = FormatDateTime(value, fieldType == 7 || fieldType == 9
                                           ? DTP_TIME
                                           : DTP_DATE);
        }
      }
      rows.back()[col] = text;
    }
  }
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][1], "日期");
  EXPECT_EQ(rows[1][5], "1234.56");
  EXPECT_EQ(rows[1][1], "2023/12/31");
  EXPECT_EQ(rows[1][2], "23:59:58");
  EXPECT_EQ(styledNumbers, 4); // two dates and two times
  EXPECT_EQ(numbers, 2 * 6); // key, date, time and three numbers a row

  // The same rows as a CSV import into a fresh file.
  QStringList lines;
  for (const QStringList &row : rows) {
    QStringList fields;
    for (QString field : row) {
      field.replace("\"", "\"\"");
      fields.append("\"" + field + "\"");
    }
    lines.append(fields.join(','));
  }
  const QString csv = WriteFile("from_xlsx.csv", lines.join("\r\n").toUtf8());
  EXPECT_EQ(ImportFresh(csv).join("\n").toStdString(),
            QueryRowsOf(file_, 3).join("\n").toStdString());
}

TEST_F(ExportTest, ACancelledOrFailedExportLeavesNoFile) {
  for (const char *name : {"cancel.csv", "cancel.xlsx"}) {
    const QString path = TempPath(name);
    int count = 0;
    bool cancelled = false;
    QString error;
    EXPECT_FALSE(ExportRecords(file_, {""}, path, [](int) { return false; },
                               &count, &cancelled, &error));
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(QFile::exists(path)) << name;
    EXPECT_FALSE(QFile::exists(path + ".part")) << name;
  }
  int count = 0;
  bool cancelled = false;
  QString error;
  EXPECT_FALSE(ExportRecords(file_, {""}, TempPath("no/such/dir/out.csv"), {},
                             &count, &cancelled, &error));
  EXPECT_TRUE(error.startsWith("无法写入文件"));
  // No scope at all: the header alone.
  ASSERT_TRUE(ExportRecords(file_, {}, TempPath("none.csv"), {}, &count,
                            &cancelled, &error));
  EXPECT_EQ(count, 0);
  // Scopes run in turn, each in key order.
  ASSERT_TRUE(ExportRecords(file_, {"trelva_Group_ID=4", "trelva_Group_ID=3"},
                            TempPath("two.csv"), {}, &count, &cancelled,
                            &error));
  EXPECT_EQ(count, 3);
  EXPECT_EQ(ExportQuery(file_, ""), "Select * From Users Order By [ID]");
}

TEST_F(ExportTest, XlsxThatCannotHoldEverythingIsRefusedNotCut) {
  AddRecord(file_, 4, {{"Item", "长备注"}, {"Memo", QString(40000, u'长')}});
  const QString key =
      Rows(file_, "Select Max(ID) From Users Where trelva_Group_ID=4").value(0);
  const QString xlsx = TempPath("long.xlsx");
  int count = 0;
  bool cancelled = false;
  QString error;
  EXPECT_FALSE(ExportRecords(file_, {"trelva_Group_ID=4"}, xlsx, {}, &count,
                             &cancelled, &error));
  EXPECT_EQ(error, "编号为 " + key +
                       " 的记录的“备注”有 40000 个字符，超过 XLSX 单元格能容纳"
                       "的 32767 个字符，未导出；请导出为 CSV：" +
                       xlsx);
  EXPECT_FALSE(QFile::exists(xlsx));
  // CSV holds it whole.
  EXPECT_TRUE(ExportRecords(file_, {"trelva_Group_ID=4"}, TempPath("long.csv"),
                            {}, &count, &cancelled, &error));
  // More records than a sheet has rows are refused before any is written.
  EXPECT_TRUE(XlsxRowsProblem(0, 1048575, xlsx).isEmpty());
  EXPECT_EQ(XlsxRowsProblem(2, 1048574, xlsx),
            "记录超过 XLSX 工作表能容纳的 1048575 条，未导出；请导出为 CSV：" +
                xlsx);
}
