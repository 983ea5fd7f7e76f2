// Opening reads the start of a statement once: what recognising or
// detecting it read gives the header and the sample lines too, whatever
// became of the file on disk since.
#include "exchange/bill_recognition.h"
#include "exchange/statement_file.h"
#include "exchange/statement_source.h"

#include "exchange_test_file.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <string>

namespace {

// The header and up to 20 first lines of the statement as file reads them
// with format, each line as its number and fields.
std::string Sample(StatementFile &file, const StatementFormat &format) {
  QStringList headers, lines;
  QString error;
  EXPECT_TRUE(ReadStatement(
      file, format, &headers,
      [&](const SourceLine &line) {
        lines.append(QString::number(line.lineNumber) + QLatin1Char(':') +
                     line.fields.join(QLatin1Char('|')));
        return lines.size() < 20;
      },
      &error))
      << qPrintable(error);
  return (headers + lines).join(QLatin1Char('\n')).toStdString();
}

} // namespace

TEST_F(ExchangeTest, OpeningReadsTheStartOfAStatementOnce) {
  for (const QString &source :
       {Data("bills/alipay-2021.csv"), Data("gb18030_debit_credit.csv"),
        Data("bills/ccb-app.xls"), WriteXlsxBill("bill.xlsx"),
        Data("statement.ofx")}) {
    const QString path = TempPath(QStringLiteral("opened-") +
                                  QFileInfo(source).fileName());
    ASSERT_TRUE(QFile::copy(source, path)) << qPrintable(source);
    StatementFile file(path);
    RecognisedBill bill;
    StatementFormat format;
    QString error;
    if (RecogniseBill(file, &bill))
      format = bill.format;
    else
      ASSERT_TRUE(DetectStatementFormat(file, &format, &error))
          << qPrintable(error);
    StatementFile again(path);
    const std::string sample = Sample(again, format);
    EXPECT_GT(std::count(sample.begin(), sample.end(), '\n'), 3)
        << qPrintable(source);
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(Sample(file, format), sample) << qPrintable(source);
  }
}
