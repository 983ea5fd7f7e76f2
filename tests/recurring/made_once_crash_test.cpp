// "Made once" across a crash: a process that has just added the due
// occurrences is killed before it closes anything; the next open finds the
// records and nothing due, so nothing is made twice.
#include "recurring_test_file.h"

#include "db/db_visiter_factory.h"
#include "recurring/due_occurrences.h"
#include "recurring/recurring_store.h"

#include <QProcess>

TEST_F(RecurringTest, KilledAfterMakingMakesNothingTwice) {
  RecurringRecord rent = Rent(QDate(2026, 1, 31));
  ASSERT_TRUE(AddRecurringRecord(file_, rent));
  file_.Close();
  CDBVisiterFactory::Instance().DestroyAll();

  QProcess child;
  child.start(QStringLiteral(RECURRING_CRASH_CHILD), {path_});
  ASSERT_TRUE(child.waitForStarted(10000));
  QByteArray output;
  while (!output.contains("made\n") && child.state() == QProcess::Running) {
    child.waitForReadyRead(10000);
    output += child.readAllStandardOutput();
  }
  ASSERT_TRUE(output.contains("made\n")) << child.readAllStandardError().constData();
  child.kill();
  ASSERT_TRUE(child.waitForFinished(10000));
  EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);

  ASSERT_TRUE(file_.OpenAccountFile(path_));
  EXPECT_EQ(Records().size(), 6);
  const QList<RecurringRecord> records = LoadRecurringRecords(file_);
  EXPECT_TRUE(DueOccurrences(records, QDate(2026, 6, 30)).isEmpty());
  EXPECT_EQ(NextDueDate(records[0]), QDate(2026, 7, 31));
}
