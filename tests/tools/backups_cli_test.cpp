// sorvanel-cli backup, backups and restore, each run with a home folder of
// its own.
#include "cli_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class BackupsCliTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(home_.isValid());
    ASSERT_EQ(RunCli({"new", Path("book.fz")}).status, 0);
  }
  QString Path(const QString &name) const { return dir_.filePath(name); }
  CliResult Cli(const QStringList &args) const {
    return RunCliWithHome(args, home_.path());
  }
  QString Records(const QString &path) const {
    return Cli({"sql", path, "Select Count(*) From Users"}).out.trimmed();
  }

  QTemporaryDir dir_;
  QTemporaryDir home_;
};

} // namespace

TEST_F(BackupsCliTest, BackupsAreListedNewestFirstAndRestoredToANewPath) {
  const QString book = Path("book.fz");
  const QString records = Records(book);
  const CliResult first = Cli({"backup", book});
  ASSERT_EQ(first.status, 0) << qPrintable(first.err);
  const QString firstPath = first.out.trimmed();
  EXPECT_TRUE(firstPath.startsWith(home_.path() +
                                   "/data/桌面账本应用程序/Sorvanel/backups/book.fz-"))
      << qPrintable(firstPath);

  ASSERT_EQ(Cli({"sql", book,
                 "Insert Into Users ([ID], [Item], [trelva_Group_ID]) Values "
                 "(900, 'O''Brien', 2)"})
                .status,
            0);
  const CliResult second = Cli({"backup", book});
  ASSERT_EQ(second.status, 0) << qPrintable(second.err);

  const CliResult list = Cli({"backups", book});
  ASSERT_EQ(list.status, 0) << qPrintable(list.err);
  const QStringList lines = list.out.trimmed().split('\n');
  ASSERT_EQ(lines.size(), 2);
  const QStringList newest = lines[0].split('\t');
  const QStringList oldest = lines[1].split('\t');
  ASSERT_EQ(newest.size(), 4);
  EXPECT_EQ(newest[3], second.out.trimmed());
  EXPECT_EQ(oldest[3], firstPath);
  EXPECT_EQ(oldest[2], records);
  EXPECT_EQ(newest[2].toInt(), records.toInt() + 1);
  EXPECT_EQ(oldest[1].toLongLong(), QFileInfo(firstPath).size());
  EXPECT_TRUE(QDateTime::fromString(oldest[0], "yyyy/M/d H:mm:ss").isValid())
      << qPrintable(oldest[0]);

  // The older backup, under a new name, without the record added since.
  const QString restored = Path("restored.fz");
  const CliResult restore = Cli({"restore", firstPath, restored});
  ASSERT_EQ(restore.status, 0) << qPrintable(restore.err);
  EXPECT_EQ(Records(restored), records);

  // Nobody can answer the overwrite question here: nothing is replaced.
  const QByteArray before = [&] {
    QFile file(book);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }();
  const CliResult over = Cli({"restore", firstPath, book});
  EXPECT_EQ(over.status, 1);
  EXPECT_TRUE(over.err.contains("是否覆盖？")) << qPrintable(over.err);
  QFile file(book);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), before);
}

TEST_F(BackupsCliTest, NoBackupsAndWrongArguments) {
  const CliResult none = Cli({"backups", Path("book.fz")});
  EXPECT_EQ(none.status, 0);
  EXPECT_TRUE(none.out.isEmpty());
  EXPECT_TRUE(none.err.contains("没有此文件的备份")) << qPrintable(none.err);

  EXPECT_EQ(Cli({"backups"}).status, 1);
  EXPECT_EQ(Cli({"restore", Path("book.fz")}).status, 1);
  const CliResult missing = Cli({"backup", Path("missing.fz")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(missing.err.contains("备份账簿文件失败！")) << qPrintable(missing.err);
  const CliResult noBackup = Cli({"restore", Path("none.fz"), Path("x.fz")});
  EXPECT_EQ(noBackup.status, 1);
  EXPECT_FALSE(QFile::exists(Path("x.fz")));
}

// A database that is no account file is neither backed up nor restored:
// the copy could never be opened.
TEST_F(BackupsCliTest, OnlyAccountFilesAreBackedUpOrRestored) {
  const QString users = Path("users.fz");
  QFile::copy(Path("book.fz"), users);
  QFile::setPermissions(users, QFile::ReadOwner | QFile::WriteOwner);
  ASSERT_EQ(Cli({"sql", users, "Drop Table ViewMap"}).status, 0);

  const CliResult backup = Cli({"backup", users});
  EXPECT_EQ(backup.status, 1);
  EXPECT_TRUE(backup.err.contains("不是账簿文件：缺少表 ViewMap")) << qPrintable(backup.err);
  const CliResult restore = Cli({"restore", users, Path("restored.fz")});
  EXPECT_EQ(restore.status, 1);
  EXPECT_FALSE(QFile::exists(Path("restored.fz")));
}
