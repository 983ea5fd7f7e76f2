// Durability: a process killed (SIGKILL) at any moment while it writes,
// compacts, closes, pastes or changes columns leaves a sound file holding
// every piece of work it confirmed, each unit of work whole or not at all,
// and nothing that blocks the next compaction.
#include "db_test_util.h"

#include "storage/compaction.h"
#include "db/db_visiter_factory.h"
#include "db/jet_collation.h"
#include "db/jet_types.h"
#include "model/field_type.h"
#include "support/scoped_current_dir.h"
#include "support/template_copy.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <functional>
#include <map>

#include <set>

namespace {

// A child of the crash tests (crash_child.cpp) on path, run in folder.
class Child {
public:
  Child(const QStringList &args, const QString &folder,
        const QProcessEnvironment &environment =
            QProcessEnvironment::systemEnvironment()) {
    process_.setProcessEnvironment(environment);
    process_.setProgram(QStringLiteral(SORVANEL_CRASH_CHILD));
    process_.setArguments(args);
    process_.setWorkingDirectory(folder);
    process_.start();
    EXPECT_TRUE(process_.waitForStarted(10000));
  }
  ~Child() { Kill(); }

  // Waits until the child printed at least lines complete lines.
  void WaitForLines(int lines) {
    while (output_.count('\n') < lines && process_.state() == QProcess::Running) {
      process_.waitForReadyRead(10000);
      output_ += process_.readAllStandardOutput();
    }
    ASSERT_GE(output_.count('\n'), lines) << "the child stopped: "
                                          << process_.readAllStandardError().constData();
  }
  // Kills the child with SIGKILL; the complete lines it printed.
  QList<QByteArray> Kill() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(10000);
      EXPECT_EQ(process_.exitStatus(), QProcess::CrashExit);
    }
    output_ += process_.readAllStandardOutput();
    QList<QByteArray> lines = output_.split('\n');
    lines.removeLast();  // cut short, or empty
    return lines;
  }

private:
  QProcess process_;
  QByteArray output_;
};

int RandomMs(int below) { return int(QRandomGenerator::global()->bounded(below)); }

// Polls condition until it holds or ten seconds have passed.
bool WaitFor(const std::function<bool()> &condition) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > 10000)
      return false;
    QThread::usleep(100);
  }
  return true;
}

// Opens path as the program would after the crash: a sound file whose
// integrity check passes.
std::unique_ptr<CAccessVisiter> Reopen(const QString &path, ScriptedPrompt &prompt) {
  auto session = std::make_unique<CAccessVisiter>(path);
  EXPECT_TRUE(session->Open()) << qPrintable(prompt.Last());
  sqlite3_stmt *stmt = nullptr;
  sqlite3_prepare_v2(session->GetConnection(), "PRAGMA integrity_check", -1, &stmt, nullptr);
  EXPECT_EQ(sqlite3_step(stmt), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)), "ok");
  sqlite3_finalize(stmt);
  return session;
}

// A file that may not be written (a backup): its integrity check passes.
bool IsSoundReadOnly(const QString &path) {
  sqlite3 *db = nullptr;
  bool sound = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY,
                               nullptr) == SQLITE_OK;
  RegisterJetCollation(db);
  sqlite3_stmt *stmt = nullptr;
  sound = sound &&
          sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK &&
          sqlite3_step(stmt) == SQLITE_ROW &&
          qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)), "ok") == 0;
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return sound;
}

std::set<int> Keys(CDBVisiter &session, const QString &sql) {
  std::set<int> keys;
  if (session.Query(sql))
    do
      keys.insert(session.GetInt(0));
    while (session.MoveNext());
  return keys;
}

class CrashTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(work_.isValid());
  }
  void TearDown() override { CDBVisiterFactory::Instance().DestroyAll(); }
  // The scratch files beside the account files.
  QStringList ScratchFiles() const {
    return QDir(dir_.path()).entryList({"*.sorvanel-tmp-*"}, QDir::Files | QDir::Hidden);
  }
  qint64 ScratchSize() const {
    qint64 size = 0;
    for (const QString &name : ScratchFiles())
      size += QFileInfo(dir_.filePath(name)).size();
    return size;
  }

  QTemporaryDir dir_;
  QTemporaryDir work_;  // the children's current folder
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
};

TEST_F(CrashTest, KilledWriterLosesNoConfirmedRow) {
  for (int rows : {1, 37, 150}) {
    const QString path = dbtest::MakeAccountFile(dir_.filePath(QStringLiteral("crash%1.fz").arg(rows)));
    Child child({path}, work_.path());
    child.WaitForLines(rows);
    std::set<int> confirmed;
    for (const QByteArray &line : child.Kill())
      confirmed.insert(line.toInt());

    auto session = Reopen(path, prompt_);
    const std::set<int> stored = Keys(*session, "Select ID From Users Order By ID");
    for (int key : confirmed)
      EXPECT_TRUE(stored.count(key)) << "row " << key << " was confirmed but is missing";
    // At most the one row in flight may be there without having been printed.
    EXPECT_LE(stored.size(), confirmed.size() + 1);
  }
}

// A file big enough that writing its compacted copy takes a while.
QString MakeBigFile(const QString &path, int rows) {
  dbtest::MakeAccountFile(path);
  CAccessVisiter session(path);
  EXPECT_TRUE(session.Open());
  EXPECT_TRUE(session.BeginTransaction());
  for (int i = 1; i <= rows; ++i)
    session.Execute(QStringLiteral("Insert Into Users ([ID],[Memo],[trelva_Group_ID]) "
                                   "Values (%1,'%2',2)").arg(i).arg(QString(1000, 'x')));
  EXPECT_TRUE(session.CommitTransaction());
  return path;
}

// Compaction killed at random moments, and once for certain while the
// scratch file is being written: the account file keeps every row, and the
// next compaction removes the scratch file left behind.
TEST_F(CrashTest, KilledCompactionsLeftoversAreRemoved) {
  constexpr int kRows = 20000;
  const QString path = MakeBigFile(dir_.filePath("big.fz"), kRows);
  ScopedCurrentDir current(work_.path());
  int leftBehind = 0;
  for (int round = 0; round < 6; ++round) {
    {
      Child child({"compact", path}, work_.path());
      if (round == 0) {
        // Until the copy is being written.
        EXPECT_TRUE(WaitFor([&] { return ScratchSize() > 0; }));
      } else {
        child.WaitForLines(RandomMs(3));
        QThread::msleep(RandomMs(150));
      }
      child.Kill();
    }
    leftBehind += !ScratchFiles().isEmpty();
    if (round == 0) {
      // Readable by its owner only, whatever the account file's mode.
      ASSERT_FALSE(ScratchFiles().isEmpty());
      EXPECT_EQ(QFileInfo(dir_.filePath(ScratchFiles().first())).permissions(),
                QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    }
    {
      auto session = Reopen(path, prompt_);
      EXPECT_EQ(session->Count("Users", ""), unsigned(kRows));
    }
    EXPECT_TRUE(CompactAccountFile(path)) << qPrintable(prompt_.Last());
    EXPECT_EQ(ScratchFiles(), QStringList());
  }
  EXPECT_GE(leftBehind, 1);
}

// The program's close (compaction, then a backup, after the last record
// was stored) killed at random moments: every stored record is there
// afterwards, every backup is a sound account file, and the next compaction
// leaves no scratch file behind.
TEST_F(CrashTest, KilledCloseKeepsEveryStoredRecord) {
  const QString path = CopyTemplate(dir_, QStringLiteral("家庭账本"), QStringLiteral("close"));
  ASSERT_FALSE(path.isEmpty());
  // The children keep their backups and settings in the test's folder.
  const QString data = work_.filePath("data");
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_DATA_HOME", data);
  environment.insert("XDG_CONFIG_HOME", work_.filePath("config"));
  std::set<int> confirmed;
  for (int round = 0; round < 5; ++round) {
    {
      Child child({"close", path}, work_.path(), environment);
      if (round == 1) {
        child.WaitForLines(12);  // one close with its backup done
      } else if (round % 2 == 0) {
        child.WaitForLines(10);
        EXPECT_TRUE(WaitFor([&] { return !ScratchFiles().isEmpty(); }));
      } else {
        child.WaitForLines(RandomMs(40));
        QThread::msleep(RandomMs(30));
      }
      for (const QByteArray &line : child.Kill()) {
        bool key = false;
        const int id = line.toInt(&key);
        if (key)
          confirmed.insert(id);
      }
    }
    auto session = Reopen(path, prompt_);
    const std::set<int> stored = Keys(*session, "Select ID From Users Where ID > 0");
    for (int key : confirmed)
      EXPECT_TRUE(stored.count(key)) << "record " << key << " was stored but is missing";
    session.reset();
    ScopedCurrentDir current(work_.path());
    EXPECT_TRUE(CompactAccountFile(path)) << qPrintable(prompt_.Last());
    EXPECT_EQ(ScratchFiles(), QStringList());
  }
  EXPECT_GE(confirmed.size(), 20u);
  QDirIterator backups(data, {"*.fz"}, QDir::Files, QDirIterator::Subdirectories);
  int sound = 0;
  while (backups.hasNext()) {
    const QString backup = backups.next();
    EXPECT_TRUE(IsSoundReadOnly(backup)) << qPrintable(backup);
    ++sound;
  }
  EXPECT_GE(sound, 1);
}

// A paste of 1,000 records is one unit of work: after a kill, each unit is
// in the file whole or not at all.
TEST_F(CrashTest, KilledPasteStoresWholeUnitsOnly) {
  const QString path = CopyTemplate(dir_, QStringLiteral("家庭账本"), QStringLiteral("paste"));
  ASSERT_FALSE(path.isEmpty());
  unsigned before = 0;
  {
    CAccessVisiter session(path);
    ASSERT_TRUE(session.Open());
    before = session.Count("Users", "trelva_Group_ID=2");
  }
  unsigned units = 0;  // whole units in the file
  for (int round = 0; round < 4; ++round) {
    unsigned confirmed = 0;
    {
      Child child({"paste", path}, work_.path());
      child.WaitForLines(round % 2);
      QThread::msleep(RandomMs(200));
      confirmed = unsigned(child.Kill().size());
    }
    auto session = Reopen(path, prompt_);
    const unsigned added = session->Count("Users", "trelva_Group_ID=2") - before;
    EXPECT_EQ(added % 1000, 0u) << added << " records of units of 1,000 were stored";
    // Every confirmed unit, and at most the one in flight besides.
    EXPECT_GE(added / 1000, units + confirmed);
    EXPECT_LE(added / 1000, units + confirmed + 1);
    units = added / 1000;
  }
}

// The column changes of the options sheet killed at random moments: the
// columns of Users and the rows of TableStyle agree, names and kinds.
TEST_F(CrashTest, KilledColumnChangesKeepTablesInStep) {
  const QString path = CopyTemplate(dir_, QStringLiteral("家庭账本"), QStringLiteral("columns"));
  ASSERT_FALSE(path.isEmpty());
  for (int round = 0; round < 5; ++round) {
    {
      Child child({"columns", path}, work_.path());
      child.WaitForLines(RandomMs(4));
      QThread::msleep(RandomMs(120));
      child.Kill();
    }
    auto session = Reopen(path, prompt_);
    std::map<QString, ColumnKind> users;
    ASSERT_GT(session->Query("Select name, type From pragma_table_info('Users')"), 0);
    do
      users[session->GetString(0)] = KindOfDeclaredType(session->GetString(1));
    while (session->MoveNext());
    users.erase(QStringLiteral("trelva_Group_ID"));
    std::map<QString, ColumnKind> styles;
    ASSERT_GT(session->Query("Select [字段名], [数据类型] From TableStyle"), 0);
    do
      styles[session->GetString(0)] = KindOfDeclaredType(
          SqlTypeName(session->GetInt(1)));
    while (session->MoveNext());
    EXPECT_EQ(users, styles) << "round " << round;
  }
}

} // namespace
