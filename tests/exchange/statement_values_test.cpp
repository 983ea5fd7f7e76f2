// Reading statements: encodings, delimiters, dates, amounts, libcsv and
// OFX lines with their numbers; what is refused.
#include "exchange/csv_reader.h"
#include "exchange/ofx_reader.h"
#include "exchange/statement_source.h"
#include "exchange/statement_values.h"
#include "exchange/text_decoding.h"

#include "exchange_test_file.h"

#include <QRegularExpression>

#include <cmath>
#include <random>

namespace {

std::vector<SourceLine> ReadAll(const QString &path, StatementFormat *format,
                                QStringList *headers) {
  QString error;
  EXPECT_TRUE(DetectStatementFormat(path, format, &error))
      << qPrintable(error);
  std::vector<SourceLine> lines;
  EXPECT_TRUE(ReadStatement(
      path, *format, headers,
      [&](const SourceLine &line) {
        lines.push_back(line);
        return true;
      },
      &error))
      << qPrintable(error);
  return lines;
}

} // namespace

TEST(StatementValues, DatesInEveryFormAndAmbiguity) {
  EXPECT_EQ(ParseDateInForm("2024-01-05", "yyyy-MM-dd").Date(),
            QDate(2024, 1, 5));
  EXPECT_EQ(ParseDateInForm("2024/1/5 13:04", "yyyy/M/d").Time(),
            QTime(13, 4));
  EXPECT_EQ(ParseDateInForm("5.1.2024", "d.M.yyyy").Date(), QDate(2024, 1, 5));
  EXPECT_EQ(ParseDateInForm("1/5/2024", "M/d/yyyy").Date(), QDate(2024, 1, 5));
  EXPECT_EQ(ParseDateInForm("20240105", "yyyyMMdd").Date(), QDate(2024, 1, 5));
  EXPECT_FALSE(ParseDateInForm("2024-02-30", "yyyy-MM-dd").IsValid());
  EXPECT_FALSE(ParseDateInForm("2024-01-05", "yyyy/M/d").IsValid());
  EXPECT_FALSE(ParseDateInForm("5.1.2024x", "d.M.yyyy").IsValid());
  EXPECT_EQ(DetectDateForms({"3/4/2010", "4/13/2010"}), QStringList{"M/d/yyyy"});
  EXPECT_EQ(DetectDateForms({"3/4/2010", "13/4/2010"}), QStringList{"d/M/yyyy"});
  EXPECT_EQ(DetectDateForms({"3/4/2010", ""}),
            (QStringList{"M/d/yyyy", "d/M/yyyy"}));
  EXPECT_EQ(DetectDateForms({"20100503"}), QStringList{"yyyyMMdd"});
  EXPECT_TRUE(DetectDateForms({"hello"}).isEmpty());
}

TEST(StatementValues, AmountsWithSeparatorsSignsAndCurrencies) {
  struct Case {
    const char *text;
    bool comma;
    double value;
  } good[] = {{"1,234.50", false, 1234.5}, {"1.234,50", true, 1234.5},
              {"-12", false, -12},         {"12-", false, -12},
              {"(12.00)", false, -12},     {"¥ 8,000.00", false, 8000},
              {"+3", false, 3},            {"-3,50", true, -3.5},
              {".5", false, 0.5}};
  for (const Case &c : good) {
    double value = 0;
    EXPECT_TRUE(ParseAmount(c.text, c.comma, &value)) << c.text;
    EXPECT_DOUBLE_EQ(value, c.value) << c.text;
  }
  double value = 0;
  for (const char *bad : {"", "abc", "1.2.3", "--1", "12 apples"})
    EXPECT_FALSE(ParseAmount(bad, false, &value)) << bad;
  // Grouping separators count only between groups of three before the
  // decimal mark; anywhere else the amount is refused, not misread.
  for (const char *bad : {"1.234,56", "12,34,5", "1,2.3", "1234,5", ",123"})
    EXPECT_FALSE(ParseAmount(bad, false, &value)) << bad;
  for (const char *bad : {"1,234.56", "1.2.3", "1234.5", "1,2.3"})
    EXPECT_FALSE(ParseAmount(bad, true, &value)) << bad;
  EXPECT_TRUE(ParseAmount("12,345,678.9", false, &value));
  EXPECT_DOUBLE_EQ(value, 12345678.9);
  EXPECT_TRUE(ParseAmount("-1.234.567,5", true, &value));
  EXPECT_DOUBLE_EQ(value, -1234567.5);
  EXPECT_TRUE(DetectDecimalComma({"-3,50", "2.500,00"}));
  EXPECT_FALSE(DetectDecimalComma({"1,234.50", "3.20"}));
  EXPECT_EQ(NumberText(12.5), "12.5");
  EXPECT_EQ(NumberText(0.1 + 0.2), "0.3");
  EXPECT_EQ(NumberText(-8000), "-8000");
}

// The amount reading as it was written first, with patterns and
// QString::toDouble: the fast reading must give the same answer for every
// text.
bool PatternAmount(const QString &text, bool decimalComma, double *value) {
  QString t = text.trimmed();
  bool negative = false;
  if (t.startsWith(QLatin1Char('(')) && t.endsWith(QLatin1Char(')'))) {
    negative = true;
    t = t.mid(1, t.size() - 2);
  }
  static const QRegularExpression currency(
      QStringLiteral("[¥￥$€£\\s\\x{00A0}\\x{202F}']|CNY|RMB|EUR|USD"),
      QRegularExpression::CaseInsensitiveOption);
  t.remove(currency);
  if (t.endsWith(QLatin1Char('-'))) {
    negative = !negative;
    t.chop(1);
  } else if (t.startsWith(QLatin1Char('-'))) {
    negative = !negative;
    t.remove(0, 1);
  } else if (t.startsWith(QLatin1Char('+'))) {
    t.remove(0, 1);
  }
  // Grouping separators: groups of three before the decimal mark only.
  static const QRegularExpression pointGroups(
      QStringLiteral("^\\d{1,3}(,\\d{3})+(\\.[^,]*)?$"));
  static const QRegularExpression commaGroups(
      QStringLiteral("^\\d{1,3}(\\.\\d{3})+(,[^.]*)?$"));
  if (t.contains(QLatin1Char(decimalComma ? '.' : ',')) &&
      !(decimalComma ? commaGroups : pointGroups).match(t).hasMatch())
    return false;
  if (decimalComma) {
    t.remove(QLatin1Char('.'));
    t.replace(QLatin1Char(','), QLatin1Char('.'));
  } else {
    t.remove(QLatin1Char(','));
  }
  static const QRegularExpression number(
      QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)([eE][+-]?\\d+)?$"));
  if (!number.match(t).hasMatch())
    return false;
  bool ok = false;
  const double v = t.toDouble(&ok);
  if (!ok || !std::isfinite(v))
    return false;
  *value = negative ? -v : v;
  return true;
}

TEST(StatementValues, AmountsReadAsThePatternsReadThem) {
  const QString alphabet = QStringLiteral("0123456789.,-+() eE¥$'CNYusd\u00A0１٣");
  std::mt19937 random(11);
  QStringList texts = {"1e400", "1e-400", "4.9e-324", "2.2250738585072014e-308",
                       "0.1", "5.", ".", "e5", "1e", "1e+", "(-5)", "12-",
                       "123456789012345678901234567890", "0.30000000000000004",
                       "１２", "1 000,5", "USD 12", "rmb12", "٣"};
  for (int i = 0; i < 20000; ++i) {
    QString text;
    const int length = int(random() % 12);
    for (int k = 0; k < length; ++k)
      text += alphabet[int(random() % alphabet.size())];
    texts += text;
  }
  for (const QString &text : texts)
    for (const bool comma : {false, true}) {
      double fast = 0, slow = 0;
      const bool read = ParseAmount(text, comma, &fast);
      ASSERT_EQ(read, PatternAmount(text, comma, &slow)) << qPrintable(text);
      if (read)
        ASSERT_EQ(fast, slow) << qPrintable(text);
    }
}

TEST(StatementSource, EncodingsAreDetectedFromTheBytes) {
  EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF" "a,b"), "UTF-8");
  EXPECT_EQ(DetectEncoding("\xFF\xFE" "a\0"), "UTF-16LE");
  EXPECT_EQ(DetectEncoding("\xFE\xFF\0a"), "UTF-16BE");
  EXPECT_EQ(DetectEncoding("日期,金额"), "UTF-8");
  EXPECT_EQ(DetectEncoding(QByteArray("\xC8\xD5\xC6\xDA,\xBD\xF0")), "GB18030");
  // A character cut by the end of the sample is no reason to give up UTF-8.
  EXPECT_EQ(DetectEncoding(QByteArray("ab\xE6\x97")), "UTF-8");
  for (const QString &name : StatementEncodings())
    EXPECT_TRUE(IsKnownEncoding(name)) << qPrintable(name);
  EXPECT_EQ(DetectDelimiter({"a;b;c", "1;2,5;3"}), ';');
  EXPECT_EQ(DetectDelimiter({"a\tb", "1\t2"}), '\t');
  EXPECT_EQ(DetectDelimiter({"a,\"b;c\"", "1,2"}), ',');
}

TEST_F(ExchangeTest, Gb18030StatementWithTitleLinesAndQuotes) {
  StatementFormat format;
  QStringList headers;
  const auto lines =
      ReadAll(Data("gb18030_debit_credit.csv"), &format, &headers);
  EXPECT_EQ(format.encoding, "GB18030");
  EXPECT_EQ(format.delimiter, ',');
  EXPECT_EQ(format.skipLines, 2);
  EXPECT_EQ(headers, (QStringList{"交易日期", "摘要", "支出", "收入", "余额"}));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].lineNumber, 4);
  EXPECT_EQ(lines[0].fields[1], "餐厅 O'Brien");
  EXPECT_EQ(lines[1].fields[3], "8,000.00");
  EXPECT_EQ(lines[2].fields[1], "超市, 日用品");
}

TEST_F(ExchangeTest, SemicolonsDecimalCommasAndLineBreaksInFields) {
  StatementFormat format;
  QStringList headers;
  const auto lines = ReadAll(Data("decimal_comma.csv"), &format, &headers);
  EXPECT_EQ(format.encoding, "UTF-8");
  EXPECT_EQ(format.delimiter, ';');
  EXPECT_EQ(headers, (QStringList{"Datum", "Verwendungszweck", "Betrag"}));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].fields[1], "Bäckerei Müller");
  EXPECT_EQ(lines[1].fields[1], "Gehalt; Januar");
  EXPECT_EQ(lines[2].fields[1], "Miete\nWohnung");
  EXPECT_EQ(lines[2].lineNumber, 4);
  // The same text in UTF-16 reads the same.
  QFile file(Data("decimal_comma.csv"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(file.readAll().mid(3));
  QByteArray utf16("\xFF\xFE");
  utf16.append(reinterpret_cast<const char *>(text.utf16()),
               text.size() * 2);
  StatementFormat wide;
  const auto wideLines =
      ReadAll(WriteFile("wide.csv", utf16), &wide, &headers);
  EXPECT_EQ(wide.encoding, "UTF-16LE");
  ASSERT_EQ(wideLines.size(), 3u);
  EXPECT_EQ(wideLines[2].fields, lines[2].fields);
}

TEST_F(ExchangeTest, OfxTransactionsComeAsLines) {
  StatementFormat format;
  QStringList headers;
  const auto lines = ReadAll(Data("statement.ofx"), &format, &headers);
  EXPECT_EQ(format.kind, StatementKind::Ofx);
  EXPECT_EQ(headers, OfxColumns());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].fields[0], "2024-01-03");
  EXPECT_EQ(lines[0].fields[1], "-42.15");
  EXPECT_EQ(lines[0].fields[2], "Grocery Store");
  EXPECT_EQ(lines[0].fields[3], "Weekly shopping");
  EXPECT_EQ(lines[1].fields[1], "1500.00"); // as written
  EXPECT_EQ(lines[2].fields[4], "T3");
}

TEST_F(ExchangeTest, FilesThatAreNoStatementAreRefused) {
  StatementFormat format;
  QString error;
  EXPECT_FALSE(DetectStatementFormat(Data("binary.bin"), &format, &error));
  EXPECT_EQ(error, "文件不是可识别的对账单（CSV、XLSX、XLS 或 OFX）");
  EXPECT_FALSE(DetectStatementFormat(WriteFile("empty.csv", "\n \n"), &format,
                                     &error));
  EXPECT_FALSE(
      DetectStatementFormat(TempPath("missing.csv"), &format, &error));
  EXPECT_TRUE(error.startsWith("无法读取文件"));
}

TEST_F(ExchangeTest, BrokenTextNulBytesAndEndlessLinesAreRefusedWhole) {
  StatementFormat format;
  QStringList headers;
  QString error;
  const auto read = [&](const QString &path) {
    return DetectStatementFormat(path, &format, &error) &&
           ReadStatement(
               path, format, &headers, [](const SourceLine &) { return true; },
               &error);
  };
  QByteArray padding;
  while (padding.size() < 70000)
    padding += "2024-01-05,1\n";
  // Broken UTF-8 is said to be so, early or late, and not read as GB18030.
  const QString early = WriteFile(
      "early.csv", "日期,金额,摘要\n2024-01-05,1,咖啡\n2024-01-06,2,\xFF\xFE\n");
  EXPECT_FALSE(read(early));
  EXPECT_EQ(error, "对账单第3行不是有效的 UTF-8 编码，请选择文件的编码：" + early);
  const QString late =
      WriteFile("late.csv", "日期,金额\n" + padding + "2024-01-06,\xFF\n");
  EXPECT_FALSE(read(late));
  EXPECT_EQ(error, QStringLiteral("对账单第%1行不是有效的 UTF-8 编码，请选择文件"
                                  "的编码：%2")
                       .arg(padding.count('\n') + 2)
                       .arg(late));
  // A NUL byte refuses the file wherever it is.
  const QString nulEarly = WriteFile(
      "nul1.csv", QByteArray("a,b\nx,\0y\n", 10) + padding);
  EXPECT_FALSE(read(nulEarly));
  EXPECT_EQ(error, "对账单第2行有空字符（NUL），不是文本文件：" + nulEarly);
  const QString nulLate =
      WriteFile("nul2.csv", "a,b\n" + padding + QByteArray("x,\0y\n", 6));
  EXPECT_FALSE(read(nulLate));
  EXPECT_TRUE(error.contains("有空字符（NUL）")) << qPrintable(error);
  // A line of more fields than any statement has.
  const QString wide =
      WriteFile("wide.csv", "a,b\n1,2\n" + QByteArray(5000000, ','));
  EXPECT_FALSE(read(wide));
  EXPECT_EQ(error, "对账单第3行的字段超过 1000 个，不是可识别的对账单：" + wide);
}
