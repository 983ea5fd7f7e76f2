// Importing a bank statement of 100,000 lines into an empty group of the
// household template, against its peer: the same INSERTs run in one
// transaction through the SQLite C API (the ratio is printed). The same
// records as an OFX statement, against the CSV import (ratio printed).
// The CSV import again with 50 import rules, against the import without
// them (ratio printed). Also the time of the whole-file check the dialog runs first, the time of
// exporting the 100,000 records to XLSX and to CSV, the refusal of a 20 MB
// CSV line of 10 million fields, and the peak memory each of them adds
// (resident memory sampled while it runs). An Alipay bill of 20,000 lines
// with 50 rules (GB18030, recognised by its head, each payment with its
// number kept in the hidden column the import adds) against its peer, the
// same INSERTs in one transaction through the C API (ratio printed).
// Reading an XLSX workbook whose sheet holds a comment of 4 MB and of
// 32 MB: the time per MB of the larger against the smaller (ratio printed;
// near 1 when comments are skipped in linear time).
#include "db/db_visiter.h"
#include "db/db_visiter_factory.h"
#include "exchange/records_export.h"
#include "exchange/statement_import.h"
#include "exchange/xlsx_reader.h"
#include "document/account_file.h"
#include "records/command_history.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "ratio_reporter.h"
#include "template_file.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>
#include <zip.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <fstream>
#include <map>
#include <string>

namespace {

constexpr int kLines = 100000;
constexpr int kBillLines = 20000;
constexpr int kGroup = 3;

QString gStatement;
QString gBill;
QString gOfxStatement;
QTemporaryDir *gDir = nullptr;
std::map<std::string, double> gPeakMb;

double ResidentMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0)
      return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

// Samples the resident memory every few milliseconds while it lives; the
// peak above what was resident at the start.
class PeakSampler {
public:
  PeakSampler() : start_((malloc_trim(0), ResidentMb())), peak_(start_) {
    thread_ = std::thread([this] {
      while (!stop_) {
        peak_ = std::max(peak_.load(), ResidentMb());
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
    });
  }
  double Stop() {
    stop_ = true;
    thread_.join();
    return std::max(peak_.load(), ResidentMb()) - start_;
  }

private:
  double start_;
  std::atomic<double> peak_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

QString FreshFile(const QString &name) {
  const QString path = gDir->filePath(name);
  CopyHouseholdTemplate(path);
  return path;
}

bool WriteFile(const QString &path, const QByteArray &text) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

bool WriteStatement(const QString &path) {
  QByteArray text = "交易日期,摘要,支出,收入\r\n";
  for (int i = 0; i < kLines; ++i) {
    const int day = i % 28 + 1, month = i / 28 % 12 + 1;
    text += QStringLiteral("2024/%1/%2,\"超市, 第%3笔\",%4.%5,\r\n")
                .arg(month)
                .arg(day)
                .arg(i)
                .arg(i % 500)
                .arg(i % 100, 2, 10, QLatin1Char('0'))
                .toUtf8();
  }
  return WriteFile(path, text);
}

// The fields of payment i of the Alipay bill: day, time, amount.
void BillPayment(int i, int *day, QString *time, QString *amount) {
  *day = i % 28 + 1;
  *time = QStringLiteral("%1:%2:%3")
              .arg(i / 3600 % 24, 2, 10, QLatin1Char('0'))
              .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
              .arg(i % 60, 2, 10, QLatin1Char('0'));
  *amount = QStringLiteral("%1.%2").arg(i % 300 + 1).arg(i % 100, 2, 10,
                                                          QLatin1Char('0'));
}

bool WriteAlipayBill(const QString &path) {
  QString text = QStringLiteral(
      "------------------------------------------------\r\n"
      "姓名：张小明\r\n起始时间：[2024-03-01 00:00:00]    终止时间：[2024-03-31 "
      "23:59:59]\r\n共20000笔记录\r\n"
      "------------------------电子客户回单------------------------\r\n"
      "交易时间,交易分类,交易对方,对方账号,商品说明,收/支,金额,收/付款方式,"
      "交易状态,交易订单号,商家订单号,备注,\r\n");
  for (int i = 0; i < kBillLines; ++i) {
    int day = 0;
    QString time, amount;
    BillPayment(i, &day, &time, &amount);
    text += QStringLiteral("2024-03-%1 %2,日用百货,超市%3,,商品%4,支出,%5,花呗,"
                           "交易成功,2024%6\t,T%4\t,,\r\n")
                .arg(day, 2, 10, QLatin1Char('0'))
                .arg(time)
                .arg(i % 50)
                .arg(i)
                .arg(amount)
                .arg(i, 10, 10, QLatin1Char('0'));
  }
  QStringEncoder encoder("GB18030");
  const QByteArray bytes = encoder.encode(text);
  return WriteFile(path, bytes);
}

// The records of WriteStatement as OFX transactions.
bool WriteOfxStatement(const QString &path) {
  QByteArray text = "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\n\r\n"
                    "<OFX><BANKMSGSRSV1><STMTTRNRS><STMTRS><BANKTRANLIST>\r\n";
  for (int i = 0; i < kLines; ++i) {
    const int day = i % 28 + 1, month = i / 28 % 12 + 1;
    text += QStringLiteral("<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>2024%1%2"
                           "<TRNAMT>-%3.%4<FITID>%5<NAME>超市, 第%5笔"
                           "</STMTTRN>\r\n")
                .arg(month, 2, 10, QLatin1Char('0'))
                .arg(QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0')) +
                     QStringLiteral("120000"))
                .arg(i % 500)
                .arg(i % 100, 2, 10, QLatin1Char('0'))
                .arg(i)
                .toUtf8();
  }
  text += "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\r\n";
  return WriteFile(path, text);
}

// 50 rules on source for 类别: 49 that no line matches, so every line tries
// them all, and a last one whose text every line has.
ImportRules FiftyRules(const QString &source, const QString &text) {
  QList<ImportRule> rules;
  for (int i = 0; i < 50; ++i) {
    ImportRule rule;
    rule.source = source;
    rule.text = i < 49 ? QStringLiteral("不在账单里%1").arg(i) : text;
    rule.field = QStringLiteral("Category");
    rule.value = QStringLiteral("购物");
    rules.append(rule);
  }
  return ImportRules(rules);
}

void Import(benchmark::State &state, const QString &statement,
            const std::string &peakName, ImportRules rules = {},
            int lines = kLines) {
  for (auto _ : state) {
    state.PauseTiming();
    AccountFile file;
    file.OpenAccountFile(FreshFile(QStringLiteral("import.fz")));
    StatementImport import(file);
    QString error;
    import.Open(statement, &error);
    import.SetGroupId(kGroup);
    if (!rules.IsEmpty())
      import.SetRules(rules);
    state.ResumeTiming();
    PeakSampler sampler;
    bool cancelled = false;
    const int stored = import.Store({}, {}, &cancelled, &error);
    double &peak = gPeakMb[peakName];
    peak = std::max(peak, sampler.Stop());
    state.PauseTiming();
    file.Close();
    CDBVisiterFactory::Instance().DestroyAll();
    if (stored != lines) {
      state.SkipWithError(qPrintable(QStringLiteral("stored %1: %2")
                                         .arg(stored)
                                         .arg(error)));
      break;
    }
    state.ResumeTiming();
  }
}

void BM_ImportCsv(benchmark::State &state) {
  Import(state, gStatement, "import (undo history included)");
}

void BM_ImportAlipayBill(benchmark::State &state) {
  Import(state, gBill, "Alipay bill import with 50 rules",
         FiftyRules(QStringLiteral("交易对方"), QStringLiteral("超市")),
         kBillLines);
}

// Runs the INSERT statements in one transaction through the C API, timed,
// then closes db untimed.
void RunTimedInserts(benchmark::State &state, sqlite3 *db,
                     const std::vector<std::string> &inserts) {
  state.ResumeTiming();
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  for (const std::string &sql : inserts)
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
      state.SkipWithError(sqlite3_errmsg(db));
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  state.PauseTiming();
  sqlite3_close(db);
  state.ResumeTiming();
}

// The peer of the bill: the INSERTs of the same records with their numbers,
// into a file that has the number column already.
void BM_RawBillInserts(benchmark::State &state) {
  for (auto _ : state) {
    state.PauseTiming();
    const QByteArray path = FreshFile(QStringLiteral("rawbill.fz")).toUtf8();
    sqlite3 *db = nullptr;
    sqlite3_open(path.constData(), &db);
    sqlite3_exec(db, "ALTER TABLE Users ADD COLUMN BillNumber TEXT", nullptr,
                 nullptr, nullptr);
    std::vector<std::string> inserts;
    inserts.reserve(kBillLines);
    for (int i = 0; i < kBillLines; ++i) {
      int day = 0;
      QString time, amount;
      BillPayment(i, &day, &time, &amount);
      const QByteArray sql =
          QStringLiteral("INSERT INTO Users (ID, Data, Moment, Category, "
                         "Payment, Amount, Count, Total, Item, Memo, "
                         "BillNumber, trelva_Group_ID) VALUES (%1, "
                         "'2024-03-%2 00:00:00', '1899-12-30 %3', '购物', "
                         "'花呗', -%4, 1, -%4, '超市%5', '商品%1', '2024%6', %7)")
              .arg(i + 1)
              .arg(day, 2, 10, QLatin1Char('0'))
              .arg(time, amount)
              .arg(i % 50)
              .arg(i, 10, 10, QLatin1Char('0'))
              .arg(kGroup)
              .toUtf8();
      inserts.emplace_back(sql.constData());
    }
    RunTimedInserts(state, db, inserts);
  }
}

void BM_ImportCsvWithRules(benchmark::State &state) {
  Import(state, gStatement, "import with 50 rules",
         FiftyRules(QStringLiteral("摘要"), QStringLiteral("超市")));
}

void BM_ImportOfx(benchmark::State &state) {
  Import(state, gOfxStatement, "OFX import (undo history included)");
}

// A 20 MB CSV line of 10 million fields: refused once past the bound of
// fields, without gathering them.
void BM_RefuseWideCsv(benchmark::State &state) {
  const QString path = gDir->filePath(QStringLiteral("wide.csv"));
  WriteFile(path, "a,b\n" + QByteArray(20 * 1000 * 1000, ','));
  for (auto _ : state) {
    PeakSampler sampler;
    StatementFormat format;
    QStringList headers;
    QString error;
    if (DetectStatementFormat(path, &format, &error) &&
        ReadStatement(path, format, &headers,
                      [](const SourceLine &) { return true; }, &error))
      state.SkipWithError("the wide line was read");
    double &peak = gPeakMb["refusing a CSV line of 10 million fields"];
    peak = std::max(peak, sampler.Stop());
  }
}

void BM_CheckCsv(benchmark::State &state) {
  AccountFile file;
  file.OpenAccountFile(FreshFile(QStringLiteral("check.fz")));
  StatementImport import(file);
  QString error;
  import.Open(gStatement, &error);
  import.SetGroupId(kGroup);
  for (auto _ : state) {
    ImportCheck check;
    import.Check(&check, {}, &error);
    benchmark::DoNotOptimize(check.good);
  }
  file.Close();
  CDBVisiterFactory::Instance().DestroyAll();
}

// The peer: the INSERTs of the same records, as texts, in one transaction.
void BM_RawInserts(benchmark::State &state) {
  for (auto _ : state) {
    state.PauseTiming();
    const QByteArray path = FreshFile(QStringLiteral("raw.fz")).toUtf8();
    sqlite3 *db = nullptr;
    sqlite3_open(path.constData(), &db);
    std::vector<std::string> inserts;
    inserts.reserve(kLines);
    for (int i = 0; i < kLines; ++i) {
      const int day = i % 28 + 1, month = i / 28 % 12 + 1;
      const double amount = -(i % 500 + (i % 100) / 100.0);
      char sql[512];
      std::snprintf(sql, sizeof sql,
                    "INSERT INTO Users (ID, Data, Moment, Category, Payment, "
                    "Amount, Count, Total, Item, Memo, trelva_Group_ID) "
                    "VALUES (%d, '2024-%02d-%02d 00:00:00', "
                    "'1899-12-30 12:00:00', '其他', '现金', %.15g, 1, %.15g, "
                    "'超市, 第%d笔', '', %d)",
                    i + 1, month, day, amount, amount, i, kGroup);
      inserts.emplace_back(sql);
    }
    RunTimedInserts(state, db, inserts);
  }
}

void Export(benchmark::State &state, const char *name) {
  AccountFile file;
  file.OpenAccountFile(FreshFile(QStringLiteral("export.fz")));
  StatementImport import(file);
  QString error;
  import.Open(gStatement, &error);
  import.SetGroupId(kGroup);
  bool cancelled = false;
  import.Store({}, {}, &cancelled, &error);
  file.History().Clear();
  const QString out = gDir->filePath(QString::fromLatin1(name));
  for (auto _ : state) {
    PeakSampler sampler;
    int count = 0;
    if (!ExportRecords(file, {QStringLiteral("trelva_Group_ID=3")}, out, {},
                       &count, &cancelled, &error) ||
        count != kLines)
      state.SkipWithError(qPrintable(error));
    gPeakMb[name] = std::max(gPeakMb[name], sampler.Stop());
  }
  file.Close();
  CDBVisiterFactory::Instance().DestroyAll();
}

// A workbook whose only sheet holds a comment of megabytes MB before its
// one row.
bool WriteCommentedWorkbook(const QString &path, int megabytes) {
  const QByteArray type = "http://schemas.openxmlformats.org/officeDocument/"
                          "2006/relationships/worksheet";
  // The parts stay alive until zip_close reads them.
  const QByteArray sheet =
      "<worksheet><sheetData><!--" + QByteArray(megabytes * 1024 * 1024, ' ') +
      "--><row r=\"1\"><c><v>1</v></c></row></sheetData></worksheet>";
  const QByteArray book =
      "<workbook xmlns:r=\"r\"><sheets><sheet r:id=\"rId1\"/></sheets>"
      "</workbook>";
  const QByteArray links =
      "<Relationships><Relationship Id=\"rId1\" Type=\"" + type +
      "\" Target=\"worksheets/sheet1.xml\"/></Relationships>";
  int code = 0;
  zip_t *archive = zip_open(QFile::encodeName(path).constData(),
                            ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (!archive)
    return false;
  const std::pair<const char *, const QByteArray *> parts[] = {
      {"xl/workbook.xml", &book},
      {"xl/_rels/workbook.xml.rels", &links},
      {"xl/worksheets/sheet1.xml", &sheet}};
  for (const auto &[name, bytes] : parts) {
    zip_source_t *source = zip_source_buffer(
        archive, bytes->constData(), zip_uint64_t(bytes->size()), 0);
    if (zip_file_add(archive, name, source, 0) < 0) {
      zip_source_free(source);
      zip_discard(archive);
      return false;
    }
  }
  return zip_close(archive) == 0;
}

// Reads the workbook with a comment of state.range(0) MB; the time per MB
// is what the ratio compares.
void BM_XlsxHugeComment(benchmark::State &state) {
  const int megabytes = int(state.range(0));
  const QString path =
      gDir->filePath(QStringLiteral("comment%1.xlsx").arg(megabytes));
  if (!WriteCommentedWorkbook(path, megabytes)) {
    state.SkipWithError("cannot write the workbook");
    return;
  }
  for (auto _ : state) {
    int rows = 0;
    QString error;
    if (!ReadXlsxRows(
            path, [&](int, const QStringList &) { return ++rows > 0; },
            &error) ||
        rows != 1)
      state.SkipWithError("the workbook was not read");
  }
}

void BM_ExportXlsx(benchmark::State &state) { Export(state, "out.xlsx"); }
void BM_ExportCsv(benchmark::State &state) { Export(state, "out.csv"); }

BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ImportAlipayBill)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_RawBillInserts)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ImportCsvWithRules)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ImportOfx)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_RefuseWideCsv)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_RawInserts)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_CheckCsv)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ExportXlsx)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_XlsxHugeComment)->Arg(4)->Arg(32)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace


int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  QTemporaryDir dir;
  gDir = &dir;
  QDir::setCurrent(dir.path()); // compaction's scratch file stays in here
  gStatement = dir.filePath(QStringLiteral("statement.csv"));
  gOfxStatement = dir.filePath(QStringLiteral("statement.ofx"));
  gBill = dir.filePath(QStringLiteral("alipay.csv"));
  if (!QFile::exists(HouseholdTemplate()) || !WriteStatement(gStatement) ||
      !WriteOfxStatement(gOfxStatement) || !WriteAlipayBill(gBill)) {
    std::fprintf(stderr, "cannot prepare from %s\n", qPrintable(HouseholdTemplate()));
    return 1;
  }
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double import = reporter.Real("BM_ImportCsv");
  const double raw = reporter.Real("BM_RawInserts");
  const double rawCpu = reporter.Cpu("BM_RawInserts");
  if (import > 0 && raw > 0 && rawCpu > 0)
    std::printf("ratio import of a CSV of 100000 lines vs the same INSERTs in "
                "one transaction (C API): %.2fx real, %.2fx CPU "
                "(target <= 2x)\n",
                import / raw, reporter.Cpu("BM_ImportCsv") / rawCpu);
  const double bill = reporter.Real("BM_ImportAlipayBill");
  const double rawBill = reporter.Real("BM_RawBillInserts");
  if (bill > 0 && rawBill > 0)
    std::printf("ratio import of an Alipay bill of 20000 lines vs the same "
                "INSERTs in one transaction (C API): %s (target <= 2x)\n",
                reporter.Ratio("BM_ImportAlipayBill", "BM_RawBillInserts")
                    .c_str());
  const double withRules = reporter.Real("BM_ImportCsvWithRules");
  if (import > 0 && withRules > 0 && raw > 0)
    std::printf("ratio import of the CSV with 50 import rules vs without: "
                "%.2fx real; vs the same INSERTs (C API): %.2fx real "
                "(target <= 2x)\n",
                withRules / import, withRules / raw);
  const double ofx = reporter.Real("BM_ImportOfx");
  if (import > 0 && ofx > 0)
    std::printf("ratio import of an OFX of 100000 transactions vs the CSV of "
                "the same records: %.2fx real (target <= 3x)\n",
                ofx / import);
  const double comment4 = reporter.Real("BM_XlsxHugeComment/4");
  const double comment32 = reporter.Real("BM_XlsxHugeComment/32");
  const double comment4Cpu = reporter.Cpu("BM_XlsxHugeComment/4");
  const double comment32Cpu = reporter.Cpu("BM_XlsxHugeComment/32");
  if (comment4 > 0 && comment32 > 0 && comment4Cpu > 0)
    std::printf("ratio time per MB reading an XLSX sheet with a comment of "
                "32 MB vs 4 MB: %.2fx real, %.2fx CPU (%.1f vs %.1f ms/MB "
                "real; linear is 1x)\n",
                (comment32 / 32) / (comment4 / 4),
                (comment32Cpu / 32) / (comment4Cpu / 4), comment32 / 32,
                comment4 / 4);
  for (const auto &[name, mb] : gPeakMb)
    std::printf("peak memory added by %s: %.1f MB\n", name.c_str(), mb);
  std::printf("export of 100000 records to XLSX: %.0f ms\n",
              reporter.Real("BM_ExportXlsx"));
  return 0;
}
