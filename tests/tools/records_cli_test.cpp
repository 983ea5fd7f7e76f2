// The record commands of sorvanel-cli: add, set and delete.
#include "cli_support.h"
#include "support/scoped_tmpfs.h"

#include <QDate>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace {

class RecordsCliTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("book.fz");
    CliResult made = RunCli({"new", path_});
    ASSERT_EQ(made.status, 0) << qPrintable(made.err);
  }

  CliResult Run(const QString &command, const QStringList &args) {
    return RunCli(QStringList{command, path_} + args);
  }

  // "group|key|Item|Amount|Count|Total|Category" per record.
  QString Records() {
    CliResult rows = Run("sql", {"Select trelva_Group_ID, ID, Item, Amount, "
                                 "Count, Total, Category From Users "
                                 "Order By trelva_Group_ID, ID"});
    EXPECT_EQ(rows.status, 0) << qPrintable(rows.err);
    return rows.out.replace('\t', '|');
  }

  QTemporaryDir dir_;
  QString path_;
};

TEST_F(RecordsCliTest, AddMakesARecordAsTheNewRecordRowDoes) {
  CliResult first = Run("add", {"amount=12.5", "ITEM=O'Brien's = lunch"});
  ASSERT_EQ(first.status, 0) << qPrintable(first.err);
  EXPECT_EQ(first.out, "1\n");
  EXPECT_TRUE(first.err.isEmpty()) << qPrintable(first.err);

  CliResult other = Run("add", {"--group", "4", "Count=2", "Amount=3"});
  ASSERT_EQ(other.status, 0) << qPrintable(other.err);
  EXPECT_EQ(other.out, "1\n");
  EXPECT_EQ(Run("add", {"Item=Amount"}).out, "2\n");

  EXPECT_EQ(Records(), "2|1|O'Brien's = lunch|12.5|1|12.5|其他\n"
                       "2|2|Amount|0|1|0|其他\n"
                       "4|1||3|2|6|其他\n");
  const QDate today = QDate::currentDate();
  CliResult date = Run("sql", {"Select Data From Users Where ID=1 And "
                               "trelva_Group_ID=4"});
  EXPECT_EQ(date.out, QStringLiteral("%1/%2/%3\n")
                          .arg(today.year())
                          .arg(today.month())
                          .arg(today.day()));
}

TEST_F(RecordsCliTest, BadArgumentsStoreNothing) {
  const struct {
    QStringList args;
    const char *inMessage;
  } cases[] = {
      {{"Nope=1"}, "Nope"},
      {{"Item"}, "Item"},
      {{"=x"}, "字段"},
      {{"Item=a", "item=b"}, "item"},
      {{"ID=5"}, "ID"},
      {{"--group", "99", "Item=a"}, "99"},
      {{"--group", "1", "Item=a"}, "文件夹"},
      {{"--group", "x", "Item=a"}, "x"},
      {{"--group"}, "add"},
  };
  for (const auto &c : cases) {
    CliResult result = Run("add", c.args);
    EXPECT_EQ(result.status, 1) << qPrintable(c.args.join(' '));
    EXPECT_TRUE(result.err.contains(QString::fromUtf8(c.inMessage)))
        << qPrintable(result.err);
    EXPECT_TRUE(result.out.isEmpty());
  }
  EXPECT_EQ(Records(), "");
}

TEST_F(RecordsCliTest, AFormulaFailureIsReportedButTheRecordIsStored) {
  CliResult added = Run("add", {"Amount=12*(", "Item=x"});
  EXPECT_EQ(added.status, 0);
  EXPECT_EQ(added.out, "1\n");
  EXPECT_TRUE(added.err.contains("执行语句错误")) << qPrintable(added.err);
  EXPECT_EQ(Records(), "2|1|x|0|1|0|其他\n");
}

// An overflow or a division by zero is no value: nothing is stored, and an
// edit that would give one leaves the record as it was.
TEST_F(RecordsCliTest, AResultThatIsNoNumberStoresNothing) {
  for (const QStringList &args :
       {QStringList{"Amount=1e308", "Count=10"}, QStringList{"Amount=1/0"},
        QStringList{"Amount=0/0"}}) {
    const CliResult added = Run("add", args);
    EXPECT_EQ(added.status, 1) << qPrintable(args.join(' '));
    EXPECT_TRUE(added.out.isEmpty());
    EXPECT_TRUE(added.err.contains("计算结果超出数值范围或无意义"))
        << qPrintable(added.err);
  }
  EXPECT_EQ(Records(), "");
  ASSERT_EQ(Run("add", {"Amount=1e308", "Item=a"}).status, 0);
  const QString stored = Records();
  EXPECT_EQ(Run("set", {"1", "2", "Count=10"}).status, 1);
  EXPECT_EQ(Records(), stored);
}

// A date given wins over the automatic date; one that is no date is refused.
TEST_F(RecordsCliTest, GivenDatesAreStoredAndBadDatesRefused) {
  const CliResult added = Run("add", {"Data=2024-02-29", "Item=a"});
  ASSERT_EQ(added.status, 0) << qPrintable(added.err);
  EXPECT_EQ(Run("sql", {"Select Data From Users"}).out, "2024/2/29\n");
  for (const QStringList &args :
       {QStringList{"add", "Data=2024-02-30"}, QStringList{"add", "Data=abc"},
        QStringList{"set", "1", "2", "Data=abc"},
        QStringList{"set", "1", "2", "Data=2023-2-29"}}) {
    const CliResult refused = Run(args.first(), args.mid(1));
    EXPECT_EQ(refused.status, 1) << qPrintable(args.join(' '));
    EXPECT_EQ(refused.err, "日期格式不正确\n") << qPrintable(refused.err);
  }
  EXPECT_EQ(Run("set", {"1", "2", "Data=2024/3/1"}).status, 0);
  EXPECT_EQ(Run("sql", {"Select ID, Data From Users"}).out, "1\t2024/3/1\n");
}

TEST_F(RecordsCliTest, AFailedInsertExitsWithOne) {
  // The file's layout names a column that Users no longer has.
  ASSERT_EQ(Run("sql", {"Alter Table Users drop Column Memo"}).status, 0);
  CliResult added = Run("add", {"Item=x"});
  EXPECT_EQ(added.status, 1);
  EXPECT_TRUE(added.err.contains("失败！")) << qPrintable(added.err);
  EXPECT_TRUE(added.out.isEmpty());
}

// On a disk that fills up, an add that reports a key has stored its
// record, and one that cannot store it exits with 1.
TEST_F(RecordsCliTest, AddsOnAFullDiskReportOnlyWhatIsStored) {
  const QString folder = dir_.filePath("small");
  ASSERT_TRUE(QDir().mkdir(folder));
  ScopedTmpfs disk(folder, "1m");
  if (!disk.Mounted())
    GTEST_SKIP() << "needs root to mount a small file system";
  path_ = folder + "/book.fz";
  ASSERT_EQ(RunCli({"new", path_}).status, 0);
  const QString memo = "Memo=" + QString(6000, QChar(0x8D26));
  std::set<QString> keys;
  int failed = 0;
  for (int i = 0; i < 60; ++i) {
    const CliResult added = Run("add", {"Item=x", memo});
    if (added.status == 0)
      EXPECT_TRUE(keys.insert(added.out.trimmed()).second) << qPrintable(added.out);
    else
      ++failed;
  }
  EXPECT_GT(failed, 0); // the disk did fill up
  const CliResult count = Run("sql", {"Select Count(*) From Users Where Item='x'"});
  ASSERT_EQ(count.status, 0) << qPrintable(count.err);
  EXPECT_EQ(count.out.trimmed().toInt(), int(keys.size()));
}

TEST_F(RecordsCliTest, SetEditsACellAndRecalculatesItsDependents) {
  ASSERT_EQ(Run("add", {"Amount=12.5", "Item=a"}).status, 0);
  ASSERT_EQ(Run("add", {"--group", "3", "Amount=1", "Item=b"}).status, 0);

  CliResult set = Run("set", {"1", "2", "count=4"});
  ASSERT_EQ(set.status, 0) << qPrintable(set.err);
  CliResult text = Run("set", {"1", "3", "Item=it's"});
  ASSERT_EQ(text.status, 0) << qPrintable(text.err);
  EXPECT_EQ(Records(), "2|1|a|12.5|4|50|其他\n3|1|it's|1|1|1|其他\n");

  for (const QStringList &args :
       {QStringList{"2", "2", "Item=x"}, QStringList{"1", "4", "Item=x"},
        QStringList{"1", "2", "Nope=x"}, QStringList{"1", "2", "ID=9"},
        QStringList{"a", "2", "Item=x"}, QStringList{"1", "2"}}) {
    CliResult refused = Run("set", args);
    EXPECT_EQ(refused.status, 1) << qPrintable(args.join(' '));
    EXPECT_FALSE(refused.err.isEmpty());
  }
  EXPECT_EQ(Records(), "2|1|a|12.5|4|50|其他\n3|1|it's|1|1|1|其他\n");
}

TEST_F(RecordsCliTest, DeleteRemovesOnlyTheNamedRecord) {
  ASSERT_EQ(Run("add", {"Item=a"}).status, 0);
  ASSERT_EQ(Run("add", {"--group", "3", "Item=b"}).status, 0);

  CliResult missing = Run("delete", {"1", "5"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(missing.err.contains("没有")) << qPrintable(missing.err);

  CliResult deleted = Run("delete", {"1", "2"});
  ASSERT_EQ(deleted.status, 0) << qPrintable(deleted.err);
  EXPECT_EQ(Records(), "3|1|b|0|1|0|其他\n");
  EXPECT_EQ(Run("delete", {"1", "2"}).status, 1);
  // Each run loads the largest key from the stored records.
  EXPECT_EQ(Run("add", {"Item=c"}).out, "1\n");
}

} // namespace
