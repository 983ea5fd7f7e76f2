// The recurring record dialogs driven as a user does: the due dialog adds
// the ticked occurrences as one undoable action, skips them or leaves them
// for later; the due check adds the automatic ones and reports them; the
// manager adds (a bad date refused in its edit dialog), pauses, resumes and
// deletes; "设为定期记录" takes a stored record's texts and date.
#include "../recurring_test_file.h"

#include "groups/group_tree.h"
#include "records/command_history.h"
#include "records/new_record.h"
#include "records/row_item.h"
#include "recurring/due_occurrences.h"
#include "recurring/recurring_store.h"
#include "recurring/ui/due_records_dialog.h"
#include "recurring/ui/due_watch.h"
#include "recurring/ui/recurring_edit_dialog.h"
#include "recurring/ui/recurring_manager_dialog.h"
#include "widgets/date_line_edit.h"
#include "window/dialog_runner.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include <functional>

namespace {

template <class T> T *Named(QWidget &parent, const QString &name) {
  for (T *child : parent.findChildren<T *>())
    if (child->accessibleName() == name)
      return child;
  return nullptr;
}

// Hands each dialog to act, which presses its buttons; true when accepted.
class ActingRunner : public DialogRunner {
public:
  std::function<void(QDialog &)> act;
  int runs = 0;
  bool Run(QDialog &dialog) override {
    ++runs;
    act(dialog);
    return dialog.result() == QDialog::Accepted;
  }
};

class RecurringDialogsTest : public RecurringTest {
protected:
  void SetUp() override {
    RecurringTest::SetUp();
    SetDialogRunner(&runner_);
  }
  void TearDown() override {
    SetDialogRunner(nullptr);
    RecurringTest::TearDown();
  }

  // Rent from 2026-01-31 and a phone bill every two weeks from 2026-02-03.
  QList<RecurringRecord> AddTwo(bool phoneAutomatic) {
    RecurringRecord rent = Rent(QDate(2026, 1, 31));
    RecurringRecord phone = Rent(QDate(2026, 2, 3));
    phone.title = QStringLiteral("电话费");
    phone.rhythm = {RhythmUnit::Weeks, 2};
    phone.automatic = phoneAutomatic;
    EXPECT_TRUE(AddRecurringRecord(file_, rent));
    EXPECT_TRUE(AddRecurringRecord(file_, phone));
    return LoadRecurringRecords(file_);
  }

  static QList<bool> Ticks(QTableWidget &table) {
    QList<bool> ticks;
    for (int row = 0; row < table.rowCount(); ++row)
      ticks.append(table.item(row, 0)->checkState() == Qt::Checked);
    return ticks;
  }

  ActingRunner runner_;
};

} // namespace

TEST_F(RecurringDialogsTest, DueDialogAddsTheTickedAsOneAction) {
  const QList<RecurringRecord> records = AddTwo(false);
  const QDate today(2026, 3, 1);
  DueRecordsDialog dialog(file_, records, DueOccurrences(records, today));
  QTableWidget *table = Named<QTableWidget>(dialog, "到期的定期记录");
  ASSERT_TRUE(table);
  // 1/31 rent, 2/3 phone, 2/17 phone, 2/28 rent; days as the grid shows them.
  EXPECT_EQ(table->item(1, 0)->text(), QStringLiteral("2026/2/3"));
  EXPECT_EQ(table->item(1, 1)->text(), QStringLiteral("电话费"));
  EXPECT_EQ(table->item(1, 2)->text(), QStringLiteral("缺省分组"));
  EXPECT_EQ(table->item(1, 3)->text(), QStringLiteral("类别=居住，单价=3000"));
  EXPECT_EQ(Ticks(*table), (QList<bool>{true, true, true, true}));
  // Clearing the phone's first clears its second; rent stays ticked.
  table->item(1, 0)->setCheckState(Qt::Unchecked);
  EXPECT_EQ(Ticks(*table), (QList<bool>{true, false, false, true}));
  Named<QPushButton>(dialog, "确定")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(Records(), (QStringList{"2026/1/31|居住|3000|3000|",
                                    "2026/2/28|居住|3000|3000|"}));
  EXPECT_EQ(file_.History().UndoDepth(), 1);
  // The phone bill stays due.
  EXPECT_EQ(DueOccurrences(LoadRecurringRecords(file_), today).size(), 2);
}

TEST_F(RecurringDialogsTest, DueDialogSkipsOrLeavesForLater) {
  const QList<RecurringRecord> records = AddTwo(false);
  const QDate today(2026, 3, 1);
  {
    DueRecordsDialog later(file_, records, DueOccurrences(records, today));
    Named<QPushButton>(later, "稍后")->click();
    EXPECT_EQ(later.result(), QDialog::Rejected);
  }
  EXPECT_EQ(DueOccurrences(LoadRecurringRecords(file_), today).size(), 4);
  DueRecordsDialog skip(file_, records, DueOccurrences(records, today));
  Named<QPushButton>(skip, "跳过")->click();
  EXPECT_TRUE(Records().isEmpty());
  EXPECT_TRUE(DueOccurrences(LoadRecurringRecords(file_), today).isEmpty());
}

TEST_F(RecurringDialogsTest, DueCheckAddsAutomaticOnesAndAsksAboutTheRest) {
  AddTwo(true);
  QStringList reports;
  DueWatch watch(file_, nullptr,
                 [&](const QString &text) { reports.append(text); }, nullptr);
  QList<int> asked;
  runner_.act = [&](QDialog &dialog) {
    auto *due = qobject_cast<DueRecordsDialog *>(&dialog);
    ASSERT_TRUE(due);
    asked.append(int(due->Selection().All().size()));
    Named<QPushButton>(dialog, "稍后")->click();
  };
  watch.Check(QDate(2026, 3, 1));
  EXPECT_EQ(reports, QStringList{"已自动添加 2 条定期记录"});
  EXPECT_EQ(asked, QList<int>{2});
  EXPECT_EQ(Records().size(), 2);
  // The next midnight: nothing more is added, the rent is asked again.
  watch.Check(QDate(2026, 3, 2));
  EXPECT_EQ(reports.size(), 1);
  EXPECT_EQ(asked, (QList<int>{2, 2}));
}

TEST_F(RecurringDialogsTest, MidnightIsCountedInLocalTime) {
  const char *before = std::getenv("TZ");
  const std::string saved = before ? before : "";
  setenv("TZ", "Europe/Berlin", 1);
  tzset();
  // The day winter time ends has 23 hours, the day it comes back 25.
  EXPECT_EQ(DueWatch::MsecsToMidnight(
                QDateTime(QDate(2026, 3, 29), QTime(0, 30))),
            qint64(22.5 * 3600 * 1000));
  EXPECT_EQ(DueWatch::MsecsToMidnight(
                QDateTime(QDate(2026, 10, 25), QTime(0, 30))),
            qint64(24.5 * 3600 * 1000));
  before ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
  tzset();
}

TEST_F(RecurringDialogsTest, ManagerAddsPausesAndDeletes) {
  QString first = "2026/2/30";
  QStringList pickers;
  runner_.act = [&](QDialog &dialog) {
    // Each date's drop-down button is named by the date it picks.
    pickers.clear();
    for (DateLineEdit *edit : dialog.findChildren<DateLineEdit *>())
      for (QAction *action : edit->actions())
        pickers.append(action->text());
    Named<QLineEdit>(dialog, "名称")->setText("O'Brien 保险");
    Named<QSpinBox>(dialog, "周期")->setValue(3);
    Named<DateLineEdit>(dialog, "开始日期")->setText(first);
    QTableWidget *values = Named<QTableWidget>(dialog, "记录内容");
    for (int row = 0; row < values->rowCount(); ++row)
      if (values->item(row, 0)->text() == "单价")
        values->item(row, 1)->setText("120");
    dialog.accept();
  };
  RecurringManagerDialog dialog(file_);
  QTableWidget *table = Named<QTableWidget>(dialog, "定期记录");
  Named<QPushButton>(dialog, "添加")->click();
  EXPECT_EQ(prompt_.Texts(), QStringList{"开始日期不是有效的日期：2026/2/30"});
  EXPECT_EQ(table->rowCount(), 0);
  EXPECT_EQ(pickers, (QStringList{"选择开始日期", "选择截止日期"}));
  first = "2026/1/31";
  Named<QPushButton>(dialog, "添加")->click();
  ASSERT_EQ(table->rowCount(), 1);
  EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("O'Brien 保险"));
  EXPECT_EQ(table->item(0, 2)->text(), QStringLiteral("每3个月"));
  EXPECT_EQ(table->item(0, 3)->text(), QStringLiteral("缺省分组"));
  const QList<RecurringRecord> records = LoadRecurringRecords(file_);
  EXPECT_EQ(records[0].values,
            (QList<QPair<QString, QString>>{{"Amount", "120"}}));

  Named<QPushButton>(dialog, "暂停")->click();
  EXPECT_EQ(table->item(0, 4)->text(), QStringLiteral("已暂停"));
  Named<QPushButton>(dialog, "恢复")->click();
  EXPECT_EQ(table->item(0, 4)->text(), QStringLiteral("进行中"));
  prompt_.QueueAnswer(1);
  Named<QPushButton>(dialog, "删除")->click();
  EXPECT_EQ(table->rowCount(), 0);
  EXPECT_TRUE(LoadRecurringRecords(file_).isEmpty());
}

TEST_F(RecurringDialogsTest, MakeRecurringTakesTheRecordsTextsAndDate) {
  // A record typed on 2026-02-14 into group 2.
  CRowItem row = CRowItem::EmptyRow(file_, 2);
  row.Item("Category")->text = "居住";
  row.Item("Amount")->text = "3000";
  row.Item("Item")->text = "花";
  ASSERT_TRUE(CompleteNewRecord(row, *FindGroupNode(file_.Root(), 2),
                                QDateTime(QDate(2026, 2, 14), QTime(9, 0))));
  ASSERT_EQ(file_.History().AddRows({row}), 1);
  runner_.act = [](QDialog &dialog) { dialog.accept(); };
  ASSERT_TRUE(MakeRecurringFromRecord(file_, 1, 2, nullptr));
  const QList<RecurringRecord> made = LoadRecurringRecords(file_);
  ASSERT_EQ(made.size(), 1);
  EXPECT_EQ(made[0].title, QStringLiteral("花"));
  EXPECT_EQ(made[0].first, QDate(2026, 2, 14));
  EXPECT_EQ(made[0].groupId, 2);
  // The stored texts, defaults and results included; not the key, the
  // date or the time of day.
  EXPECT_EQ(made[0].values,
            (QList<QPair<QString, QString>>{{"Category", "居住"},
                                            {"Payment", "现金"},
                                            {"Amount", "3000"},
                                            {"Count", "1"},
                                            {"Total", "3000"},
                                            {"Item", "花"}}));
  // The record it was made from is its first occurrence: nothing is due on
  // its own date, the next month is.
  EXPECT_EQ(NextDueDate(made[0]), QDate(2026, 3, 14));
  EXPECT_TRUE(DueOccurrences(made, QDate(2026, 3, 13)).isEmpty());
}
