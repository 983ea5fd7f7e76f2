// One writer per file across processes: commands that write wait briefly
// for the file's lock and otherwise say the file is busy and change
// nothing; commands that only read need no lock.
#include "cli_support.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

const char kBusy[] = "账簿文件正在被其他程序使用！";

QByteArray Bytes(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class LockCliTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("book.fz");
    const CliResult made = RunCli({"new", path_});
    ASSERT_EQ(made.status, 0) << qPrintable(made.err);
  }

  QTemporaryDir dir_;
  QString path_;
};

// Three add commands started at once, round after round: each stores its
// record or says the file is busy, and no key is ever taken twice.
TEST_F(LockCliTest, AddsStartedTogetherNeverShareAKey) {
  constexpr int kRounds = 12;
  constexpr int kAtOnce = 3;
  std::set<int> keys;
  int stored = 0;
  for (int round = 0; round < kRounds; ++round) {
    std::vector<std::unique_ptr<QProcess>> adds;
    for (int i = 0; i < kAtOnce; ++i) {
      auto add = std::make_unique<QProcess>();
      add->setWorkingDirectory(dir_.path());
      add->start(QStringLiteral(SORVANEL_BINARY_DIR "/sorvanel-cli"),
                 {"add", path_, QStringLiteral("Item=r%1p%2").arg(round).arg(i)});
      adds.push_back(std::move(add));
    }
    for (auto &add : adds) {
      ASSERT_TRUE(add->waitForFinished(60000));
      const QString out = QString::fromUtf8(add->readAllStandardOutput());
      const QString err = QString::fromUtf8(add->readAllStandardError());
      if (add->exitCode() == 0) {
        const int key = out.trimmed().toInt();
        EXPECT_TRUE(keys.insert(key).second) << "key " << key << " taken twice";
        ++stored;
      } else {
        EXPECT_EQ(add->exitCode(), 1);
        EXPECT_TRUE(err.contains(QString::fromUtf8(kBusy))) << qPrintable(err);
      }
    }
  }
  const CliResult count = RunCli({"sql", path_, "Select Count(*), Count(Distinct ID) "
                                                "From Users Where Item Like 'r*p*'"});
  ASSERT_EQ(count.status, 0) << qPrintable(count.err);
  EXPECT_EQ(count.out, QStringLiteral("%1\t%1\n").arg(stored));
  // Whoever comes first in a round stores.
  EXPECT_GE(stored, kRounds);
}

TEST_F(LockCliTest, HeldFileRefusesWritersButNotReaders) {
  QProcess holder;
  holder.start(QStringLiteral(SORVANEL_CRASH_CHILD), {"lock", path_});
  ASSERT_TRUE(holder.waitForReadyRead(10000));
  ASSERT_EQ(holder.readLine().trimmed(), "locked");
  const QByteArray before = Bytes(path_);

  const QList<QStringList> writers = {
      {"add", path_, "Item=x"},
      {"set", path_, "1", "2", "Item=x"},
      {"delete", path_, "1", "2"},
      {"sql", path_, "Update Users Set Item='x'"},
      {"compact", path_},
  };
  for (const QStringList &args : writers) {
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.status, 1) << qPrintable(args.join(' '));
    EXPECT_TRUE(result.err.contains(QString::fromUtf8(kBusy))) << qPrintable(result.err);
  }
  EXPECT_EQ(Bytes(path_), before);

  for (const QStringList &args : QList<QStringList>{
           {"sql", path_, "Select Count(*) From TableStyle"},
           {"columns", path_},
           {"groups", path_}}) {
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.status, 0) << qPrintable(args.join(' ')) << qPrintable(result.err);
    EXPECT_FALSE(result.out.isEmpty());
  }
  EXPECT_EQ(Bytes(path_), before);

  // The lock dies with its holder.
  holder.kill();
  holder.waitForFinished(10000);
  const CliResult add = RunCli({"add", path_, "Item=after"});
  EXPECT_EQ(add.status, 0) << qPrintable(add.err);
}

} // namespace
