// Imports at scale, each against a peer measured in the same run:
//
// - `sorvanel-cli import` of a bank CSV of 1,000,000 lines into a new
//   收支账本, as a child process: its time, and the peak memory it adds
//   (its maximum resident set above that of the same command importing
//   one line), target at most 300 MB; the time per line against the same
//   import of 100,000 lines (linear is 1x).
// - A bank CSV of 100,000 lines whose columns (交易日期,摘要,金额,对方户名)
//   match no known layout, imported through the guessed mapping, against
//   the same INSERTs in one transaction through the SQLite C API (target
//   at most 2x).
// - Recognition (RecogniseBill and DetectStatementFormat) of a CSV of 50 MB
//   against one of 1 MB: it reads the head of a file only, so the time
//   must not grow with the file (1x).
// - An Alipay bill of 20,000 numbered lines imported into a file whose
//   BillSeen table and Users.BillNumber hold 100,000 other numbers,
//   against the same import into a file with the same 100,000 records and
//   no numbers (target at most 1.1x).
#include "db/db_visiter_factory.h"
#include "document/account_file.h"
#include "exchange/bill_recognition.h"
#include "exchange/statement_import.h"
#include "exchange/statement_source.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "ratio_reporter.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

extern char **environ;

namespace {

constexpr int kMillion = 1000000;
constexpr int kBankLines = 100000;
constexpr int kBillLines = 20000;
constexpr int kStoredNumbers = 100000;
// The first group of the 收支账本 template.
constexpr int kGroup = 2;

QTemporaryDir *gDir = nullptr;

QString BuildFolder() {
  return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(".."));
}

QString Cli() { return BuildFolder() + QStringLiteral("/sorvanel-cli"); }

QString IncomeExpenseTemplate() {
  return BuildFolder() + QStringLiteral("/system/收支账本.fz");
}

bool CopyTemplate(const QString &from, const QString &path) {
  QFile::remove(path);
  return QFile::copy(from, path) &&
         QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

bool WriteFile(const QString &path, const QByteArray &text) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// The fields of bank line i: its day, amount (expenses negative) and
// counterpart.
struct BankLine {
  int month, day;
  int cents;
  int counterpart;
};

BankLine BankLineOf(int i) {
  const int cents = (i % 500) * 100 + i % 100 + 1;
  return {i / 28 % 12 + 1, i % 28 + 1, i % 7 == 0 ? cents : -cents, i % 50};
}

QString Money(int cents) {
  return QStringLiteral("%1%2.%3")
      .arg(cents < 0 ? QStringLiteral("-") : QString())
      .arg(std::abs(cents) / 100)
      .arg(std::abs(cents) % 100, 2, 10, QLatin1Char('0'));
}

// A bank statement of lines lines with columns no known layout has.
bool WriteBankCsv(const QString &path, int lines) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return false;
  QByteArray text = "交易日期,摘要,金额,对方户名\r\n";
  for (int i = 0; i < lines; ++i) {
    const BankLine line = BankLineOf(i);
    text += QStringLiteral("2024-%1-%2,超市购物 第%3笔,%4,商户%5\r\n")
                .arg(line.month, 2, 10, QLatin1Char('0'))
                .arg(line.day, 2, 10, QLatin1Char('0'))
                .arg(i)
                .arg(Money(line.cents))
                .arg(line.counterpart)
                .toUtf8();
    if (text.size() > (1 << 20)) {
      file.write(text);
      text.clear();
    }
  }
  return file.write(text) == text.size();
}

// An Alipay bill of lines numbered payments, the numbers from first on.
bool WriteAlipayBill(const QString &path, int lines, int first) {
  QString text = QStringLiteral(
      "------------------------------------------------\r\n"
      "姓名：张小明\r\n起始时间：[2024-03-01 00:00:00]    终止时间：[2024-03-31 "
      "23:59:59]\r\n共%1笔记录\r\n"
      "------------------------电子客户回单------------------------\r\n"
      "交易时间,交易分类,交易对方,对方账号,商品说明,收/支,金额,收/付款方式,"
      "交易状态,交易订单号,商家订单号,备注,\r\n")
                     .arg(lines);
  for (int i = 0; i < lines; ++i) {
    const int n = first + i;
    text += QStringLiteral("2024-03-%1 %2:%3:%4,日用百货,超市%5,,商品%6,支出,"
                           "%7.%8,花呗,交易成功,2024%9\t,T%6\t,,\r\n")
                .arg(n % 28 + 1, 2, 10, QLatin1Char('0'))
                .arg(n / 3600 % 24, 2, 10, QLatin1Char('0'))
                .arg(n / 60 % 60, 2, 10, QLatin1Char('0'))
                .arg(n % 60, 2, 10, QLatin1Char('0'))
                .arg(n % 50)
                .arg(n)
                .arg(n % 300 + 1)
                .arg(n % 100, 2, 10, QLatin1Char('0'))
                .arg(n, 10, 10, QLatin1Char('0'));
  }
  QStringEncoder encoder("GB18030");
  return WriteFile(path, encoder.encode(text));
}

// A child's exit status, real time and maximum resident set.
struct ChildRun {
  bool ok = false;
  double seconds = 0;
  double maxRssMb = 0;
};

// A child started with posix_spawn shares this process's memory until it
// runs the program, and its maximum resident set starts at this process's
// peak: the peak is set back to what is resident now.
void ResetPeakMemory() {
  QFile refs(QStringLiteral("/proc/self/clear_refs"));
  if (refs.open(QIODevice::WriteOnly))
    refs.write("5");
}

ChildRun RunCli(const QStringList &arguments) {
  ResetPeakMemory();
  std::vector<QByteArray> bytes = {QFile::encodeName(Cli())};
  for (const QString &argument : arguments)
    bytes.push_back(QFile::encodeName(argument));
  std::vector<char *> argv;
  for (QByteArray &each : bytes)
    argv.push_back(each.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  ChildRun run;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0)
    return run;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid)
    return run;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() -
                                              start)
                    .count();
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  run.maxRssMb = double(usage.ru_maxrss) / 1024.0; // kilobytes
  return run;
}

QString StatementPath(int lines) {
  return gDir->filePath(QStringLiteral("bank%1.csv").arg(lines));
}

// `sorvanel-cli import` of a bank CSV of state.range(0) lines into a new
// 收支账本; the time is the import's alone, the peak resident set a
// counter.
void BM_CliImport(benchmark::State &state) {
  const int lines = int(state.range(0));
  const QString account = gDir->filePath(QStringLiteral("cli.fz"));
  for (auto _ : state) {
    QFile::remove(account);
    if (!RunCli({QStringLiteral("new"), account, QStringLiteral("--template"),
                 QStringLiteral("收支账本")})
             .ok) {
      state.SkipWithError("sorvanel-cli new failed");
      break;
    }
    const ChildRun run =
        RunCli({QStringLiteral("import"), account, StatementPath(lines)});
    if (!run.ok) {
      state.SkipWithError("sorvanel-cli import failed");
      break;
    }
    state.SetIterationTime(run.seconds);
    state.counters["peak_MB_" + std::to_string(lines)] = run.maxRssMb;
  }
}

// Imports the statement into a copy of base; the import alone is timed.
void ImportInto(benchmark::State &state, const QString &base,
                const QString &statement, int lines) {
  const QString path = gDir->filePath(QStringLiteral("import.fz"));
  for (auto _ : state) {
    state.PauseTiming();
    CopyTemplate(base, path);
    AccountFile file;
    file.OpenAccountFile(path);
    StatementImport import(file);
    QString error;
    import.Open(statement, &error);
    import.SetGroupId(kGroup);
    bool cancelled = false;
    state.ResumeTiming();
    const int stored = import.Store({}, {}, &cancelled, &error);
    state.PauseTiming();
    file.Close();
    CDBVisiterFactory::Instance().DestroyAll();
    state.ResumeTiming();
    if (stored != lines) {
      state.SkipWithError(qPrintable(
          QStringLiteral("stored %1 of %2: %3").arg(stored).arg(lines).arg(error)));
      break;
    }
  }
}

void BM_ImportBankCsv(benchmark::State &state) {
  ImportInto(state, IncomeExpenseTemplate(), StatementPath(kBankLines),
             kBankLines);
}

// The peer: the records the import stores, as INSERTs in one transaction.
void BM_RawBankInserts(benchmark::State &state) {
  const QString path = gDir->filePath(QStringLiteral("raw.fz"));
  for (auto _ : state) {
    state.PauseTiming();
    CopyTemplate(IncomeExpenseTemplate(), path);
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    std::vector<std::string> inserts;
    inserts.reserve(kBankLines);
    for (int i = 0; i < kBankLines; ++i) {
      const BankLine line = BankLineOf(i);
      char sql[512];
      std::snprintf(sql, sizeof sql,
                    "INSERT INTO Users (ID, Data, Moment, Direction, Category, "
                    "Counterpart, Goods, Payment, Amount, Memo, BillNumber, "
                    "trelva_Group_ID) VALUES (%d, '2024-%02d-%02d 00:00:00', "
                    "NULL, '%s', '其他', '商户%d', "
                    "'超市购物 第%d笔', '', %d.%02d, '', NULL, %d)",
                    i + 1, line.month, line.day,
                    line.cents < 0 ? "支出" : "收入", line.counterpart, i,
                    std::abs(line.cents) / 100, std::abs(line.cents) % 100,
                    kGroup);
      inserts.emplace_back(sql);
    }
    state.ResumeTiming();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (const std::string &sql : inserts)
      if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) !=
          SQLITE_OK)
        state.SkipWithError(sqlite3_errmsg(db));
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    state.PauseTiming();
    sqlite3_close(db);
    state.ResumeTiming();
  }
}

// Recognition of the statement of state.range(0) MB.
void BM_Recognise(benchmark::State &state) {
  const QString path =
      gDir->filePath(QStringLiteral("big%1.csv").arg(state.range(0)));
  for (auto _ : state) {
    RecognisedBill bill;
    StatementFormat format;
    QString error;
    if (RecogniseBill(path, &bill) ||
        !DetectStatementFormat(path, &format, &error))
      state.SkipWithError("the bank statement was not told apart");
  }
}

// The files of the bill matching: the same 100,000 records with their
// numbers (and the lines seen) and without.
QString gNumbered;
QString gUnnumbered;

bool PrepareStoredNumbers() {
  const QString bill = gDir->filePath(QStringLiteral("stored.csv"));
  gNumbered = gDir->filePath(QStringLiteral("numbered.fz"));
  gUnnumbered = gDir->filePath(QStringLiteral("unnumbered.fz"));
  if (!WriteAlipayBill(bill, kStoredNumbers, kBillLines) ||
      !CopyTemplate(IncomeExpenseTemplate(), gNumbered))
    return false;
  {
    AccountFile file;
    if (!file.OpenAccountFile(gNumbered))
      return false;
    StatementImport import(file);
    QString error;
    bool cancelled = false;
    if (!import.Open(bill, &error))
      return false;
    import.SetGroupId(kGroup);
    const int stored = import.Store({}, {}, &cancelled, &error);
    file.Close();
    CDBVisiterFactory::Instance().DestroyAll();
    if (stored != kStoredNumbers) {
      std::fprintf(stderr, "stored %d numbers: %s\n", stored, qPrintable(error));
      return false;
    }
  }
  if (!CopyTemplate(gNumbered, gUnnumbered))
    return false;
  sqlite3 *db = nullptr;
  sqlite3_open(QFile::encodeName(gUnnumbered).constData(), &db);
  const int rc = sqlite3_exec(db,
                              "UPDATE Users SET BillNumber=NULL;"
                              "DELETE FROM BillSeen;",
                              nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return rc == SQLITE_OK;
}

// Made by the first benchmark that needs them, after the child processes
// ran: this process then stays small while they run.
bool StoredNumbersReady() {
  static const bool ready = PrepareStoredNumbers();
  return ready;
}

void BM_BillIntoNumbered(benchmark::State &state) {
  if (!StoredNumbersReady()) {
    state.SkipWithError("cannot store the 100000 numbers");
    return;
  }
  ImportInto(state, gNumbered, gDir->filePath(QStringLiteral("bill.csv")),
             kBillLines);
}

void BM_BillIntoUnnumbered(benchmark::State &state) {
  if (!StoredNumbersReady()) {
    state.SkipWithError("cannot store the 100000 numbers");
    return;
  }
  ImportInto(state, gUnnumbered, gDir->filePath(QStringLiteral("bill.csv")),
             kBillLines);
}

BENCHMARK(BM_CliImport)->Arg(1)->Arg(kBankLines)->Arg(kMillion)->Iterations(1)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_ImportBankCsv)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_RawBankInserts)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Recognise)->Arg(1)->Arg(50)->Unit(benchmark::kMicrosecond)->Iterations(20)->UseRealTime();
BENCHMARK(BM_BillIntoUnnumbered)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_BillIntoNumbered)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// A CSV of about megabytes MB of bank lines.
bool WriteBankCsvOfSize(const QString &path, int megabytes) {
  // A line of the bank statement takes about 50 bytes.
  return WriteBankCsv(path, megabytes * 1024 * 1024 / 50);
}

bool Prepare() {
  if (!QFile::exists(Cli()) || !QFile::exists(IncomeExpenseTemplate()))
    return false;
  for (const int lines : {1, kBankLines, kMillion})
    if (!WriteBankCsv(StatementPath(lines), lines))
      return false;
  return WriteBankCsvOfSize(gDir->filePath(QStringLiteral("big1.csv")), 1) &&
         WriteBankCsvOfSize(gDir->filePath(QStringLiteral("big50.csv")), 50) &&
         WriteAlipayBill(gDir->filePath(QStringLiteral("bill.csv")),
                         kBillLines, 0);
}

void PrintFigures(const RatioReporter &reporter) {
  const double base = reporter.Counter("peak_MB_1");
  const double million = reporter.Counter("peak_MB_1000000");
  if (base > 0 && million > 0)
    std::printf("sorvanel-cli import of 1000000 lines: %.1f s, peak memory "
                "added %.0f MB (%.0f MB against %.0f MB importing one line; "
                "target <= 300 MB)\n",
                reporter.Real("BM_CliImport/1000000") / 1000, million - base,
                million, base);
  const double tenth = reporter.Real("BM_CliImport/100000");
  if (tenth > 0 && million > 0)
    std::printf("ratio time per line importing 1000000 vs 100000 lines: "
                "%.2fx (linear is 1x)\n",
                reporter.Real("BM_CliImport/1000000") / (10 * tenth));
  std::printf("ratio import of a bank CSV of 100000 lines (guessed mapping) "
              "vs the same INSERTs in one transaction (C API): %s "
              "(target <= 2x)\n",
              reporter.Ratio("BM_ImportBankCsv", "BM_RawBankInserts").c_str());
  std::printf("ratio recognition of a CSV of 50 MB vs 1 MB: %s "
              "(reading the head only is 1x)\n",
              reporter.Ratio("BM_Recognise/50", "BM_Recognise/1").c_str());
  std::printf("ratio import of a bill of 20000 lines into a file with 100000 "
              "stored numbers vs none: %s (target <= 1.1x)\n",
              reporter.Ratio("BM_BillIntoNumbered", "BM_BillIntoUnnumbered")
                  .c_str());
}

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  QTemporaryDir dir;
  gDir = &dir;
  QDir::setCurrent(dir.path()); // compaction's scratch file stays in here
  if (!Prepare()) {
    std::fprintf(stderr, "cannot prepare the files from %s\n",
                 qPrintable(BuildFolder()));
    return 1;
  }
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintFigures(reporter);
  return 0;
}
