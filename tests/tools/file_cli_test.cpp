// The file commands of sorvanel-cli: new, sql, columns, compact.
#include "cli_support.h"
#include "support/scoped_tmpfs.h"
#include "support/template_copy.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class FileCliTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Path(const QString &name) const { return dir_.filePath(name); }

  QTemporaryDir dir_;
};

TEST_F(FileCliTest, NewTakesTheFirstTemplateAndNeverOverwrites) {
  const QString path = Path("book.fz");
  CliResult made = RunCli({"new", path});
  ASSERT_EQ(made.status, 0) << qPrintable(made.err);
  EXPECT_EQ(made.out.trimmed(), QDir(path).absolutePath());

  // 家庭账本 sorts first and carries the formula column.
  CliResult columns = RunCli({"columns", path});
  ASSERT_EQ(columns.status, 0);
  const QStringList lines = columns.out.trimmed().split('\n');
  ASSERT_EQ(lines.size(), 10);
  EXPECT_EQ(lines[0], "0\tID\t编号\t主键\t50\t\t");
  EXPECT_TRUE(lines[7].startsWith("7\tTotal\t金额\t浮点型\t80\t\tAmount*Count"))
      << qPrintable(lines[7]);

  CliResult again = RunCli({"new", path});
  EXPECT_EQ(again.status, 1);
  EXPECT_FALSE(again.err.isEmpty());

  CliResult unknown = RunCli({"new", Path("x.fz"), "--template", "没有这个模板"});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_TRUE(unknown.err.contains("家庭账本")) << qPrintable(unknown.err);
  EXPECT_FALSE(QFile::exists(Path("x.fz")));
}

TEST_F(FileCliTest, NewFromTheOlderTemplateRunsTheUpgrade) {
  const QString path = Path("old.fz");
  ASSERT_EQ(RunCli({"new", path, "--template", "旧版简易账本"}).status, 0);
  CliResult rows = RunCli({"sql", path, "select ID, trelva_Group_ID, Data from Users order by ID"});
  ASSERT_EQ(rows.status, 0) << qPrintable(rows.err);
  EXPECT_EQ(rows.out, "1\t2\t2010/8/1\n2\t2\t2010/8/2\n3\t2\t2010/8/15\n");
}

TEST_F(FileCliTest, SqlTellsEmptyResultsFromFailures) {
  const QString path = Path("book.fz");
  ASSERT_EQ(RunCli({"new", path}).status, 0);

  CliResult insert = RunCli({"sql", path,
      "Insert Into Users ([ID], [Item], [Data], [trelva_Group_ID]) Values (7, 'O''Brien', #2010/8/1#, 2)"});
  ASSERT_EQ(insert.status, 0) << qPrintable(insert.err);

  CliResult select = RunCli({"sql", path, "  SeLeCt Item, Data From Users Where Data >= #2010-08-01#"});
  ASSERT_EQ(select.status, 0);
  EXPECT_EQ(select.out, "O'Brien\t2010/8/1\n");

  CliResult empty = RunCli({"sql", path, "Select * From Users Where ID=99"});
  EXPECT_EQ(empty.status, 0);
  EXPECT_TRUE(empty.out.isEmpty());

  CliResult bad = RunCli({"sql", path, "Select Nothing From Nowhere"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_FALSE(bad.err.isEmpty());

  CliResult badStatement = RunCli({"sql", path, "Update Nowhere Set x=1"});
  EXPECT_EQ(badStatement.status, 1);
  EXPECT_FALSE(badStatement.err.isEmpty());
}

TEST_F(FileCliTest, CompactKeepsEveryRecord) {
  const QString path = Path("book.fz");
  ASSERT_EQ(RunCli({"new", path}).status, 0);
  ASSERT_EQ(RunCli({"sql", path, "Insert Into Users ([ID], [Item], [trelva_Group_ID]) Values (1, '保留', 2)"}).status, 0);
  CliResult compact = RunCli({"compact", path});
  ASSERT_EQ(compact.status, 0) << qPrintable(compact.err);
  EXPECT_EQ(RunCli({"sql", path, "Select Item From Users"}).out, "保留\n");
}

TEST_F(FileCliTest, FilesThatDoNotOpenFailCleanly) {
  const QString garbage = Path("garbage.fz");
  {
    QFile out(garbage);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("SQLite format 3\0 but truncated", 30);
  }
  for (const char *command : {"columns", "compact", "groups"}) {
    CliResult result = RunCli({command, garbage});
    EXPECT_EQ(result.status, 1) << command;
    EXPECT_FALSE(result.err.isEmpty());
  }
  EXPECT_EQ(RunCli({"columns", Path("missing.fz")}).status, 1);
  EXPECT_EQ(RunCli({"nonsense"}).status, 1);
}

// Commands that only read never write: readers started together on a file
// of the older layout all read it (the first upgrades it under its lock).
TEST_F(FileCliTest, ReadersStartedTogetherOnAnOldFileAllRead) {
  for (int round = 0; round < 3; ++round) {
    const QString path = CopyTemplate(dir_, "旧版简易账本", QString("old%1").arg(round));
    std::vector<std::unique_ptr<QProcess>> readers;
    for (int i = 0; i < 4; ++i) {
      auto reader = std::make_unique<QProcess>();
      reader->setWorkingDirectory(dir_.path());
      reader->start(QStringLiteral(SORVANEL_BINARY_DIR "/sorvanel-cli"),
                    {"sql", path, "Select Count(*) From Users"});
      readers.push_back(std::move(reader));
    }
    for (auto &reader : readers) {
      ASSERT_TRUE(reader->waitForFinished(60000));
      EXPECT_EQ(reader->exitCode(), 0) << reader->readAllStandardError().constData();
      EXPECT_EQ(reader->readAllStandardOutput(), "3\n");
    }
  }
}

// A file on a read-only file system is read and exported; a command that
// writes is refused with a message naming the file.
TEST_F(FileCliTest, AReadOnlyFileIsReadButNotWritten) {
  const QString folder = Path("ro");
  ASSERT_TRUE(QDir().mkdir(folder));
  ScopedTmpfs disk(folder, "4m");
  if (!disk.Mounted())
    GTEST_SKIP() << "needs root to mount a read-only file system";
  const QString path = folder + "/book.fz";
  ASSERT_EQ(RunCli({"new", path}).status, 0);
  ASSERT_TRUE(disk.MakeReadOnly());

  const CliResult count = RunCli({"sql", path, "Select Count(*) From Users"});
  EXPECT_EQ(count.status, 0) << qPrintable(count.err);
  EXPECT_EQ(count.out, "0\n");
  const CliResult exported = RunCli({"export", path, Path("out.csv")});
  EXPECT_EQ(exported.status, 0) << qPrintable(exported.err);
  const CliResult add = RunCli({"add", path, "Item=x"});
  EXPECT_EQ(add.status, 1);
  EXPECT_TRUE(add.err.contains("账簿文件是只读的，不能修改：" + path)) << qPrintable(add.err);
}

// Fills the file system of folder to the last byte.
void FillDisk(const QString &folder) {
  QFile filler(folder + "/filler");
  if (!filler.open(QIODevice::WriteOnly))
    return;
  const QByteArray block(4096, 'x');
  while (filler.write(block) == block.size() && filler.flush()) {
  }
}

// A full disk: what was not done is said once, in Chinese, naming the file
// that could not be written; the ledger is unchanged.
TEST_F(FileCliTest, AFullDiskSaysWhatWasNotDone) {
  const QString folder = Path("small");
  ASSERT_TRUE(QDir().mkdir(folder));
  ScopedTmpfs disk(folder, "1m");
  if (!disk.Mounted())
    GTEST_SKIP() << "needs root to mount a small file system";
  const QString ledger = folder + "/book.fz";
  ASSERT_EQ(RunCli({"new", ledger}).status, 0);
  ASSERT_EQ(RunCli({"recurring", ledger, "add", "房租", "--group", "2", "--every",
                    "1", "weeks", "--from", "2000-01-01", "--until", "2010-01-01",
                    "Item=" + QString(100, QChar(0x8D26))})
                .status,
            0);
  const QString backup = Path("backup.fz");
  ASSERT_TRUE(QFile::copy(ledger, backup));
  FillDisk(folder);

  const CliResult due = RunCli({"due", ledger, "--apply"});
  EXPECT_EQ(due.status, 1);
  EXPECT_EQ(due.err.trimmed(), "磁盘已满，定期记录没有生成，账簿没有改动");
  EXPECT_EQ(RunCli({"sql", ledger, "Select Count(*) From Users"}).out, "0\n");

  const QString target = folder + "/restored.fz";
  const CliResult restored = RunCli({"restore", backup, target});
  EXPECT_EQ(restored.status, 1);
  EXPECT_TRUE(restored.err.contains(target + "：磁盘已满")) << qPrintable(restored.err);
  EXPECT_FALSE(QFile::exists(target));
}

} // namespace
