// The fixture of the import and export tests.
#include "exchange_test_file.h"

#include "exchange/statement_import.h"

#include "db/db_visiter_factory.h"
#include "support/query_rows.h"
#include "support/template_copy.h"

#include <QDir>
#include <QFile>

#include <xlsxwriter.h>

void ExchangeTest::SetUp() {
  ASSERT_TRUE(dir_.isValid());
  OpenFresh(file_, QStringLiteral("exchange"));
}

void ExchangeTest::TearDown() { CDBVisiterFactory::Instance().DestroyAll(); }

void ExchangeTest::OpenFresh(AccountFile &other, const QString &name,
                             const QString &templateName) {
  const QString path = CopyTemplate(dir_, templateName, name);
  ASSERT_TRUE(other.OpenAccountFile(path));
}

QString ExchangeTest::Data(const QString &name) {
  return QDir(QStringLiteral(EXCHANGE_DATA_DIR)).filePath(name);
}

QString ExchangeTest::TempPath(const QString &name) const {
  return QDir(dir_.path()).filePath(name);
}

QString ExchangeTest::WriteFile(const QString &name,
                                const QByteArray &bytes) const {
  const QString path = TempPath(name);
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  return path;
}

QStringList ExchangeTest::Rows(AccountFile &file, const QString &sql) {
  return QueryRows(*file.Session(), sql);
}

QStringList ExchangeTest::Records(AccountFile &file, int groupId) {
  return Rows(file, QStringLiteral("Select Data, Item, Amount, Count, Total, "
                                   "Memo From Users Where trelva_Group_ID=%1 "
                                   "Order By ID")
                        .arg(groupId));
}

QString ExchangeTest::WriteXlsxBill(const QString &name) const {
  const QString path = TempPath(name);
  lxw_workbook *workbook = workbook_new(QFile::encodeName(path).constData());
  lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
  lxw_format *day = workbook_add_format(workbook);
  format_set_num_format(day, "yyyy/m/d");
  worksheet_write_string(sheet, 0, 0, "账单明细", nullptr);
  worksheet_write_string(sheet, 1, 0, "账户：张三", nullptr);
  const char *header[] = {"交易日期", "摘要", "金额", "备注"};
  for (int i = 0; i < 4; ++i)
    worksheet_write_string(sheet, 3, lxw_col_t(i), header[i], nullptr);
  struct Line {
    int day;
    const char *item;
    double amount;
  };
  const Line lines[] = {
      {5, "餐厅 O'Brien", -35.5}, {6, "工资", 8000}, {7, "超市, 日用品", -120}};
  lxw_row_t row = 4;
  for (const Line &line : lines) {
    lxw_datetime date{2024, 1, line.day, 0, 0, 0};
    worksheet_write_datetime(sheet, row, 0, &date, day);
    worksheet_write_string(sheet, row, 1, line.item, nullptr);
    worksheet_write_number(sheet, row, 2, line.amount, nullptr);
    row += 2;
  }
  EXPECT_EQ(workbook_close(workbook), LXW_NO_ERROR);
  return path;
}

QStringList ExchangeTest::States(const ImportCheck &check) {
  QStringList states;
  for (const CheckedLine &line : check.lines) {
    const char *state = line.state == LineState::New
                            ? (line.ticked ? "N" : "n")
                        : line.state == LineState::Duplicate ? "D"
                        : line.state == LineState::Skipped   ? "S"
                                                             : "B";
    states.append(QStringLiteral("%1 %2 %3")
                      .arg(line.lineNumber)
                      .arg(QLatin1String(state), line.reason)
                      .trimmed());
  }
  return states;
}
