// Backups of account files: the retention rule, making a backup without
// touching the account file, listing, restoring with the overwrite
// question, and the per-user count. Every test has a home of its own, so
// nothing reaches the real user folder.
#include "base/scripted_prompt.h"
#include "db/db_visiter.h"
#include "db/db_visiter_factory.h"
#include "storage/backup_retention.h"
#include "storage/backup_settings.h"
#include "storage/backup_store.h"
#include "support/test_file.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

QDateTime At(const char *text) {
  return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
}

QByteArray Digest(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return QByteArray();
  return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// A home of its own: data and settings folders inside a temporary folder.
class ScopedHome {
public:
  ScopedHome() {
    for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
      saved_.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
    qputenv("HOME", QFile::encodeName(dir_.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir_.filePath("data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath("config")));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       dir_.filePath("config"));
  }
  ~ScopedHome() {
    for (const Saved &saved : saved_) {
      if (saved.set)
        qputenv(saved.name, saved.value);
      else
        qunsetenv(saved.name);
    }
  }
  QString Path() const { return dir_.path(); }

private:
  struct Saved {
    const char *name;
    QByteArray value;
    bool set;
  };
  QTemporaryDir dir_;
  QList<Saved> saved_;
};

class BackupStoreTest : public ::testing::Test {
protected:
  BackupStoreTest() {
    EXPECT_TRUE(file_.Valid());
    for (int i = 1; i <= 3; ++i)
      AddRecord(i);
    // The program backs up a file it has closed.
    CDBVisiterFactory::Instance().RemoveVisiter(file_.Path());
  }
  ~BackupStoreTest() override {
    CDBVisiterFactory::Instance().RemoveVisiter(file_.Path());
  }

  void AddRecord(int id) {
    CDBVisiter *session = CDBVisiterFactory::Instance().GetVisiter(file_.Path());
    ASSERT_NE(session, nullptr);
    ASSERT_TRUE(session->Execute(
        QStringLiteral("Insert Into Users ([ID], [Item], [Amount], [Memo]) "
                       "Values (%1, 'O''Brien', 12.5, '现金')")
            .arg(id)));
    CDBVisiterFactory::Instance().RemoveVisiter(file_.Path());
  }

  ScopedHome home_;
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
  TestFile file_;
};

} // namespace

TEST(BackupRetentionTest, NewestNAndOnePerMonthForAYear) {
  const QDate today(2026, 12, 7);
  QList<QDateTime> made;
  // Five this month, then one or two a month back to 2025.
  for (int day = 1; day <= 5; ++day)
    made.append(QDateTime(QDate(2026, 12, day), QTime(9, 0)));
  for (int back = 1; back <= 20; ++back) {
    const QDate month = QDate(2026, 12, 1).addMonths(-back);
    made.append(QDateTime(month.addDays(2), QTime(8, 0)));
    made.append(QDateTime(month.addDays(20), QTime(8, 0)));
  }
  const std::vector<bool> kept = BackupsToKeep(made, 3, today);
  // The three newest.
  EXPECT_TRUE(kept[4] && kept[3] && kept[2]);
  EXPECT_FALSE(kept[1] || kept[0]); // this month already has its newest
  for (int back = 1; back <= 20; ++back) {
    const size_t early = size_t(5 + 2 * (back - 1));
    // The newest of each of the 11 months before this one; nothing older.
    EXPECT_EQ(kept[early + 1], back <= 11) << back;
    EXPECT_FALSE(kept[early]) << back;
  }

  // Keeping more than there are keeps them all; 0 keeps only the months.
  EXPECT_EQ(BackupsToKeep(made, 1000, today), std::vector<bool>(made.size(), true));
  const std::vector<bool> monthsOnly = BackupsToKeep(made, 0, today);
  EXPECT_EQ(std::count(monthsOnly.begin(), monthsOnly.end(), true), 12);
}

TEST_F(BackupStoreTest, BackupIsAPrivateCheckedCopyAndTheFileIsUntouched) {
  const QByteArray before = Digest(file_.Path());
  const QString made = MakeBackup(file_.Path(), 10, At("2026-12-07T10:30:05"));
  ASSERT_FALSE(made.isEmpty()) << qPrintable(prompt_.Last());
  EXPECT_TRUE(prompt_.Texts().isEmpty());
  EXPECT_EQ(Digest(file_.Path()), before);

  const QString folder = BackupFolderFor(file_.Path());
  EXPECT_TRUE(folder.startsWith(home_.Path() + "/data/桌面账本应用程序/Sorvanel/backups/" +
                                QFileInfo(file_.Path()).fileName() + "-"));
  EXPECT_EQ(made, folder + "/20261207-103005.fz");
  struct stat info;
  ASSERT_EQ(::stat(QFile::encodeName(made).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  // Every folder the program made on the way is private too.
  for (const QString &made : {folder, home_.Path() + "/data/桌面账本应用程序"}) {
    ASSERT_EQ(::stat(QFile::encodeName(made).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << qPrintable(made);
  }
  // Nothing but the backup is left in the folder.
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
            QStringList{"20261207-103005.fz"});

  // A second backup in the same second gets a name of its own and lists
  // first; both hold the records with their texts as typed.
  AddRecord(4);
  const QString second = MakeBackup(file_.Path(), 10, At("2026-12-07T10:30:05"));
  EXPECT_EQ(second, folder + "/20261207-103005-2.fz");
  const QList<BackupInfo> list = ListBackups(file_.Path());
  ASSERT_EQ(list.size(), 2);
  EXPECT_EQ(list[0].path, second);
  EXPECT_EQ(list[0].records, 4);
  EXPECT_EQ(list[1].records, 3);
  EXPECT_EQ(list[1].made, At("2026-12-07T10:30:05"));
  EXPECT_EQ(list[1].size, QFileInfo(made).size());

  const QString copy = QFileInfo(file_.Path()).absolutePath() + "/restored.fz";
  ASSERT_TRUE(RestoreBackup(second, copy));
  CDBVisiter *restored = CDBVisiterFactory::Instance().GetVisiter(copy);
  ASSERT_NE(restored, nullptr);
  EXPECT_EQ(restored->Count(QStringLiteral("Users"), QString()), 4u);
  ASSERT_GT(restored->Query(QStringLiteral("Select [Item] From Users")), 0);
  EXPECT_EQ(restored->GetString(0), QStringLiteral("O'Brien"));
  CDBVisiterFactory::Instance().RemoveVisiter(copy);
}

TEST_F(BackupStoreTest, RotationKeepsTheNewestAndOnePerMonth) {
  // A backup every other week for two years, keeping 4.
  QDateTime when = At("2025-01-01T20:00:00");
  const QDateTime last = At("2026-12-07T20:00:00");
  int made = 0;
  for (; when <= last; when = when.addDays(14), ++made)
    ASSERT_FALSE(MakeBackup(file_.Path(), 4, when).isEmpty());
  const QList<BackupInfo> list = ListBackups(file_.Path());
  QList<QDateTime> times;
  for (const BackupInfo &backup : list)
    times.append(backup.made);
  // The 4 newest (2026/12/2 back to 10/21), then the newest of each earlier
  // month of the last twelve: September back to January.
  ASSERT_EQ(times.size(), 4 + 9);
  EXPECT_EQ(times.first(), when.addDays(-14));
  for (int i = 4; i < times.size(); ++i) {
    EXPECT_EQ(times[i].date().year(), 2026);
    EXPECT_EQ(times[i].date().month(), 13 - i);
    EXPECT_NE(times[i].addDays(14).date().month(), times[i].date().month());
  }
  EXPECT_GT(made, 50);
  // Files that are no backups are left alone.
  const QString stranger = BackupFolderFor(file_.Path()) + "/notes.txt";
  QFile note(stranger);
  ASSERT_TRUE(note.open(QIODevice::WriteOnly));
  note.close();
  ASSERT_FALSE(MakeBackup(file_.Path(), 4, last.addDays(1)).isEmpty());
  EXPECT_TRUE(QFile::exists(stranger));
}

TEST_F(BackupStoreTest, FailedBackupShowsWhyAndLeavesNothing) {
  // The folder cannot be made: a file stands where it would go.
  const QString root = BackupRoot();
  ASSERT_TRUE(QDir().mkpath(root));
  QFile blocker(BackupFolderFor(file_.Path()));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const QByteArray before = Digest(file_.Path());
  EXPECT_TRUE(MakeBackup(file_.Path(), 10, At("2026-12-07T10:00:00")).isEmpty());
  ASSERT_EQ(prompt_.Texts().size(), 1);
  EXPECT_TRUE(prompt_.Last().startsWith(QStringLiteral("备份账簿文件失败！\r\n")));
  EXPECT_EQ(Digest(file_.Path()), before);
  QFile::remove(blocker.fileName());

  // A file that is no database: the engine's reason, and no partial copy.
  prompt_.Clear();
  QTemporaryDir other;
  const QString garbage = other.filePath("garbage.fz");
  QFile bad(garbage);
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write(QByteArray(4096, 'x'));
  bad.close();
  const QByteArray garbageBefore = Digest(garbage);
  EXPECT_TRUE(MakeBackup(garbage, 10, At("2026-12-07T10:00:00")).isEmpty());
  EXPECT_TRUE(prompt_.Last().startsWith(QStringLiteral("备份账簿文件失败！")));
  EXPECT_EQ(Digest(garbage), garbageBefore);
  EXPECT_TRUE(QDir(BackupFolderFor(garbage))
                  .entryList(QDir::Files | QDir::Hidden)
                  .isEmpty());

  // A missing account file.
  prompt_.Clear();
  EXPECT_TRUE(MakeBackup(other.filePath("missing.fz"), 10,
                         At("2026-12-07T10:00:00"))
                  .isEmpty());
  EXPECT_EQ(prompt_.Texts().size(), 1);
}

TEST_F(BackupStoreTest, RestoreAsksBeforeReplacingAndRefusesBrokenBackups) {
  const QString backup = MakeBackup(file_.Path(), 10, At("2026-12-07T10:00:00"));
  ASSERT_FALSE(backup.isEmpty());
  QTemporaryDir target;
  const QString existing = target.filePath("家.fz");
  QFile file(existing);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("mine");
  file.close();

  // "取消" (and a dismissed question) keep the file.
  prompt_.QueueAnswer(1);
  EXPECT_FALSE(RestoreBackup(backup, existing));
  EXPECT_EQ(prompt_.Last(), QStringLiteral("文件家.fz已存在\r\n是否覆盖？"));
  EXPECT_FALSE(RestoreBackup(backup, existing));
  EXPECT_EQ(Digest(existing), QCryptographicHash::hash("mine", QCryptographicHash::Sha256));
  // "覆盖" replaces it.
  prompt_.QueueAnswer(0);
  EXPECT_TRUE(RestoreBackup(backup, existing));
  EXPECT_EQ(Digest(existing), Digest(backup));

  // The backup onto itself, a missing one and a broken one.
  prompt_.Clear();
  EXPECT_FALSE(RestoreBackup(backup, backup));
  EXPECT_EQ(prompt_.Last(), QStringLiteral("不能用备份文件覆盖它自己！"));
  EXPECT_FALSE(RestoreBackup(target.filePath("none.fz"), target.filePath("x.fz")));
  EXPECT_EQ(prompt_.Last(), QStringLiteral("备份文件不存在！"));
  EXPECT_FALSE(RestoreBackup(existing + "x", target.filePath("x.fz")));
  QFile broken(target.filePath("broken.fz"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write(QByteArray(8192, '\0'));
  broken.close();
  EXPECT_FALSE(RestoreBackup(broken.fileName(), target.filePath("x.fz")));
  EXPECT_EQ(prompt_.Last(), QStringLiteral("备份文件已损坏，无法恢复！"));
  EXPECT_FALSE(QFile::exists(target.filePath("x.fz")));
  const QByteArray backupBefore = Digest(backup);
  EXPECT_EQ(Digest(backup), backupBefore);
}

TEST_F(BackupStoreTest, CountIsAPerUserSettingAndZeroTurnsBackupsOff) {
  EXPECT_EQ(BackupCount(), 10);
  SetBackupCount(3);
  EXPECT_EQ(BackupCount(), 3);
  EXPECT_EQ(QSettings(QStringLiteral("桌面账本应用程序"), QStringLiteral("Sorvanel"))
                .value(QStringLiteral("Sorvanel/nBackupCount"))
                .toInt(),
            3);
  SetBackupCount(-5);
  EXPECT_EQ(BackupCount(), 0);
  SetBackupCount(100000);
  EXPECT_EQ(BackupCount(), kMaxBackupCount);

  SetBackupCount(0);
  EXPECT_TRUE(BackupAfterClose(file_.Path()));
  EXPECT_TRUE(ListBackups(file_.Path()).isEmpty());
  SetBackupCount(2);
  EXPECT_TRUE(BackupAfterClose(file_.Path()));
  ASSERT_EQ(ListBackups(file_.Path()).size(), 1);
  EXPECT_EQ(ListBackups(file_.Path())[0].records, 3);
}

// Two files of one name in different folders keep their backups apart:
// neither lists, restores or thins out the other's. A folder named by the
// file name alone (earlier versions) is listed for both and never thinned.
TEST_F(BackupStoreTest, FilesOfOneNameHaveBackupsOfTheirOwn) {
  QTemporaryDir years;
  const QString y2023 = years.filePath("y2023/账簿.fz");
  const QString y2024 = years.filePath("y2024/账簿.fz");
  for (const QString &path : {y2023, y2024}) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    ASSERT_TRUE(QFile::copy(file_.Path(), path));
  }
  const QString old = BackupRoot() + "/账簿.fz";
  ASSERT_TRUE(QDir().mkpath(old));
  ASSERT_TRUE(QFile::copy(file_.Path(), old + "/20200101-000000.fz"));

  const QString first = MakeBackup(y2023, 1, At("2026-12-01T10:00:00"));
  ASSERT_FALSE(first.isEmpty()) << qPrintable(prompt_.Last());
  for (int day = 2; day <= 5; ++day)
    ASSERT_FALSE(MakeBackup(y2024, 1, At("2026-12-01T10:00:00").addDays(day)).isEmpty());
  EXPECT_NE(BackupFolderFor(y2023), BackupFolderFor(y2024));

  QStringList listed;
  for (const BackupInfo &backup : ListBackups(y2023))
    listed.append(backup.path);
  EXPECT_EQ(listed, QStringList({first, old + "/20200101-000000.fz"}));
  EXPECT_EQ(ListBackups(y2024).size(), 2);
  EXPECT_EQ(ListBackups(y2024).first().made, At("2026-12-06T10:00:00"));
}
