// Due occurrences of recurring records on a real account file: a gap of
// months brings each occurrence on its own date, made once (through a
// reopen and an undo), skipped or left for later, ended and paused; the
// records get the defaults and formulas of a typed record; a record that no
// longer fits is named and skipped while the others are made.
#include "recurring_test_file.h"

#include "db/db_visiter.h"
#include "records/command_history.h"
#include "recurring/due_occurrences.h"
#include "recurring/due_selection.h"
#include "recurring/recurring_store.h"

namespace {

QList<QDate> DatesOf(const QList<DueOccurrence> &due) {
  QList<QDate> dates;
  for (const DueOccurrence &occurrence : due)
    dates.append(occurrence.date);
  return dates;
}

} // namespace

TEST_F(RecurringTest, ThreeMonthGapMakesEachOccurrenceOnceOnItsDate) {
  RecurringRecord rent = Rent(QDate(2026, 1, 31));
  ASSERT_TRUE(AddRecurringRecord(file_, rent));
  const QDate today(2026, 4, 30);
  QList<RecurringRecord> records = LoadRecurringRecords(file_);
  const QList<DueOccurrence> due = DueOccurrences(records, today);
  EXPECT_EQ(DatesOf(due), (QList<QDate>{QDate(2026, 1, 31), QDate(2026, 2, 28),
                                        QDate(2026, 3, 31),
                                        QDate(2026, 4, 30)}));
  ASSERT_TRUE(AddOccurrences(file_, records, due));
  // Defaults (Count 1) and the formula Total = Amount*Count, as typed.
  EXPECT_EQ(Records(), (QStringList{"2026/1/31|居住|3000|3000|",
                                    "2026/2/28|居住|3000|3000|",
                                    "2026/3/31|居住|3000|3000|",
                                    "2026/4/30|居住|3000|3000|"}));
  EXPECT_EQ(file_.History().UndoDepth(), 1);

  Reopen();
  records = LoadRecurringRecords(file_);
  EXPECT_TRUE(DueOccurrences(records, today).isEmpty());
  EXPECT_EQ(NextDueDate(records[0]), QDate(2026, 5, 31));
  EXPECT_EQ(DatesOf(DueOccurrences(records, QDate(2026, 6, 1))),
            QList<QDate>{QDate(2026, 5, 31)});
}

TEST_F(RecurringTest, UndoRemovesTheOccurrencesAndTheyDoNotComeBack) {
  RecurringRecord rent = Rent(QDate(2026, 1, 5));
  ASSERT_TRUE(AddRecurringRecord(file_, rent));
  QList<RecurringRecord> records = LoadRecurringRecords(file_);
  ASSERT_TRUE(AddOccurrences(file_, records,
                             DueOccurrences(records, QDate(2026, 3, 5))));
  EXPECT_EQ(Records().size(), 3);
  ASSERT_TRUE(file_.History().Undo());
  EXPECT_TRUE(Records().isEmpty());
  // Undone as the user chose: they are not offered again.
  EXPECT_TRUE(
      DueOccurrences(LoadRecurringRecords(file_), QDate(2026, 3, 5)).isEmpty());
  ASSERT_TRUE(file_.History().Redo());
  EXPECT_EQ(Records().size(), 3);
}

TEST_F(RecurringTest, SkipLaterEndsAndPause) {
  RecurringRecord rent = Rent(QDate(2026, 1, 10));
  RecurringRecord phone = Rent(QDate(2026, 1, 1));
  phone.title = QStringLiteral("电话费");
  phone.rhythm = {RhythmUnit::Weeks, 2};
  phone.end = RecurringEnd::AfterTimes;
  phone.times = 3;
  RecurringRecord insurance = Rent(QDate(2026, 1, 20));
  insurance.rhythm = {RhythmUnit::Days, 10};
  insurance.end = RecurringEnd::OnDate;
  insurance.until = QDate(2026, 2, 9);
  for (RecurringRecord *record : {&rent, &phone, &insurance})
    ASSERT_TRUE(AddRecurringRecord(file_, *record));
  const QDate today(2026, 3, 31);
  QList<RecurringRecord> records = LoadRecurringRecords(file_);
  QList<DueOccurrence> due = DueOccurrences(records, today);
  // Three of the phone bill, insurance up to its end, rent each month.
  EXPECT_EQ(DatesOf(due),
            (QList<QDate>{QDate(2026, 1, 1), QDate(2026, 1, 10),
                          QDate(2026, 1, 15), QDate(2026, 1, 20),
                          QDate(2026, 1, 29), QDate(2026, 1, 30),
                          QDate(2026, 2, 9), QDate(2026, 2, 10),
                          QDate(2026, 3, 10)}));

  // The dialog's ticks: clearing rent's February clears March too; ticking
  // March ticks February again.
  DueSelection selection(due);
  selection.SetTicked(7, false);
  EXPECT_FALSE(selection.IsTicked(8));
  EXPECT_TRUE(selection.IsTicked(1));
  selection.SetTicked(8, true);
  EXPECT_TRUE(selection.IsTicked(7));
  selection.SetTicked(7, false);

  // Skipping makes no record and moves past them; what was left stays due.
  ASSERT_TRUE(SkipOccurrences(file_, selection.Ticked()));
  EXPECT_TRUE(Records().isEmpty());
  records = LoadRecurringRecords(file_);
  EXPECT_EQ(DatesOf(DueOccurrences(records, today)),
            (QList<QDate>{QDate(2026, 2, 10), QDate(2026, 3, 10)}));
  EXPECT_EQ(RecurringStateText(records[1]), QStringLiteral("已结束"));
  EXPECT_EQ(RecurringStateText(records[2]), QStringLiteral("已结束"));

  ASSERT_TRUE(SetRecurringPaused(file_, rent.id, true));
  records = LoadRecurringRecords(file_);
  EXPECT_TRUE(DueOccurrences(records, today).isEmpty());
  EXPECT_EQ(RecurringStateText(records[0]), QStringLiteral("已暂停"));
  ASSERT_TRUE(SetRecurringPaused(file_, rent.id, false));
  EXPECT_EQ(DueOccurrences(LoadRecurringRecords(file_), today).size(), 2);
}

TEST_F(RecurringTest, BadInputIsRefusedWithItsReasonAndChangesNothing) {
  const auto refused = [&](RecurringRecord record, const QString &message) {
    prompt_.Clear();
    EXPECT_FALSE(AddRecurringRecord(file_, record)) << qPrintable(message);
    EXPECT_EQ(prompt_.Texts(), QStringList{message});
  };
  RecurringRecord record = Rent(QDate(2026, 1, 31));
  record.rhythm.every = 0;
  refused(record, QStringLiteral("周期必须至少为 1（每 0 月）"));
  record = Rent(QDate(2026, 1, 31));
  record.end = RecurringEnd::OnDate;
  record.until = QDate(2026, 1, 30);
  refused(record, QStringLiteral("结束日期 2026-01-30 早于开始日期 2026-01-31"));
  record = Rent(QDate(2026, 1, 31));
  record.groupId = 1; // the folder above the groups
  refused(record, QStringLiteral("没有 ID 为 1 的分组"));
  record = Rent(QDate(2026, 1, 31));
  record.values.append({QStringLiteral("Nope"), QStringLiteral("1")});
  refused(record, QStringLiteral("没有名为“Nope”的字段"));
  record = Rent(QDate(2026, 1, 31));
  record.values.append({QStringLiteral("ID"), QStringLiteral("7")});
  refused(record, QStringLiteral("编号由分组自动给出，不能指定：ID"));
  // A date a record cannot have, and values that give no number.
  record = Rent(QDate(1, 1, 1));
  refused(record, QStringLiteral("开始日期 0001-01-01：日期格式不正确"));
  for (const char *amount : {"1/0", "1e309"}) {
    record = Rent(QDate(2026, 1, 31));
    record.values[1].second = QString::fromLatin1(amount);
    refused(record, QStringLiteral("定期记录“房租”的值无法计算：计算结果超出"
                                   "数值范围或无意义（如除以零）：[%1]")
                        .arg(QString::fromLatin1(amount)));
  }
  EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From RecurringRecord")),
            QStringList{"0"});

  // A text with a quote is kept as typed.
  record = Rent(QDate(2026, 1, 31));
  record.title = QStringLiteral("O'Brien 的 %1 房租");
  record.values.append({QStringLiteral("Item"), QStringLiteral("O'Brien")});
  ASSERT_TRUE(AddRecurringRecord(file_, record));
  const QList<RecurringRecord> records = LoadRecurringRecords(file_);
  EXPECT_EQ(records[0].title, record.title);
  EXPECT_EQ(records[0].values, record.values);
}

TEST_F(RecurringTest, ARecordThatCannotBeMadeIsNamedAndSkipped) {
  RecurringRecord rent = Rent(QDate(2026, 1, 1));
  RecurringRecord broken = Rent(QDate(2026, 1, 2));
  broken.title = QStringLiteral("水费");
  ASSERT_TRUE(AddRecurringRecord(file_, rent));
  ASSERT_TRUE(AddRecurringRecord(file_, broken));
  // The column it sets has gone since (as after the options sheet), and a
  // value that gives no number got into the file.
  ASSERT_TRUE(file_.Session()->Execute(QStringLiteral(
      "Update RecurringRecord Set [FieldValues]='[[\"Gone\",\"1\"]]' Where "
      "[ID]=2")));
  RecurringRecord infinite = Rent(QDate(2026, 1, 3));
  infinite.title = QStringLiteral("电费");
  ASSERT_TRUE(AddRecurringRecord(file_, infinite));
  ASSERT_TRUE(file_.Session()->Execute(QStringLiteral(
      "Update RecurringRecord Set [FieldValues]='[[\"Amount\",\"1/0\"]]' "
      "Where [ID]=3")));
  const QList<RecurringRecord> records = LoadRecurringRecords(file_);
  prompt_.Clear();
  QList<int> skipped;
  EXPECT_TRUE(AddOccurrences(file_, records,
                             DueOccurrences(records, QDate(2026, 3, 1)),
                             nullptr, &skipped));
  EXPECT_EQ(skipped, (QList<int>{2, 3}));
  EXPECT_EQ(prompt_.Texts(),
            (QStringList{"定期记录“水费”：没有名为“Gone”的字段",
                         "定期记录“电费”（2026-01-03）：计算结果超出数值范围或无意义"
                         "（如除以零）：[1/0]"}));
  // The good record is made; the bad ones stay due, from their first date.
  EXPECT_EQ(Records().size(), 3);
  EXPECT_EQ(DatesOf(DueOccurrences(LoadRecurringRecords(file_),
                                    QDate(2026, 3, 1))),
            (QList<QDate>{QDate(2026, 1, 2), QDate(2026, 1, 3),
                          QDate(2026, 2, 2), QDate(2026, 2, 3)}));
}

TEST_F(RecurringTest, UpgradeAddsTheTableToAFileThatLacksIt) {
  ASSERT_TRUE(file_.Session()->Execute(
      QStringLiteral("Drop Table RecurringRecord")));
  // Viewing the file changes nothing; it simply has no recurring records.
  file_.Close();
  ASSERT_TRUE(file_.OpenAccountFile(path_, AccountFile::ForReading));
  EXPECT_TRUE(LoadRecurringRecords(file_).isEmpty());
  EXPECT_EQ(file_.Session()->Query(
                QStringLiteral("Select Count(*) From RecurringRecord")),
            0);
  file_.Close();
  ASSERT_TRUE(file_.OpenAccountFile(path_));
  EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From RecurringRecord")),
            QStringList{"0"});
  RecurringRecord rent = Rent(QDate(2026, 1, 1));
  EXPECT_TRUE(AddRecurringRecord(file_, rent));
}
