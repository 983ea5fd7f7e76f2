// Recurring records in the program: opening a file adds what is due
// automatically and says so in the status bar, then asks about the rest in
// "到期的定期记录"; 编辑 → "定期记录…" opens the list.
#include "app/main_frame.h"
#include "app/sorvanel_doc.h"
#include "app/startup_settings.h"
#include "app_test_env.h"
#include "db/db_visiter.h"
#include "document/account_file.h"
#include "recurring/recurring_store.h"
#include "recurring/ui/due_records_dialog.h"
#include "recurring/ui/recurring_manager_dialog.h"
#include "support/query_rows.h"

#include <QAction>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace {

class RecurringAppTest : public AppTest {
protected:
  RecurringAppTest()
      : settings_(Folder()),
        frame_(std::make_unique<CMainFrame>(settings_, recent_)) {}
  ~RecurringAppTest() override { frame_.reset(); }

  // A household file with monthly rent since two months ago (asked) and a
  // weekly bill since a week ago (added automatically).
  QString FileWithRecurringRecords() {
    const QString path = Copy(QStringLiteral("家庭账本"), "定期");
    AccountFile file;
    EXPECT_TRUE(file.OpenAccountFile(path));
    RecurringRecord rent;
    rent.title = QStringLiteral("房租");
    rent.groupId = 2;
    rent.values = {{QStringLiteral("Amount"), QStringLiteral("3000")}};
    rent.first = QDate::currentDate().addMonths(-2);
    EXPECT_TRUE(AddRecurringRecord(file, rent));
    RecurringRecord bill = rent;
    bill.title = QStringLiteral("报纸");
    bill.rhythm = {RhythmUnit::Weeks, 1};
    bill.first = QDate::currentDate().addDays(-7);
    bill.automatic = true;
    EXPECT_TRUE(AddRecurringRecord(file, bill));
    file.Close();
    return path;
  }

  StartupSettings settings_;
  RecentFileList recent_;
  std::unique_ptr<CMainFrame> frame_;
};

} // namespace

TEST_F(RecurringAppTest, OpeningAddsAutomaticOnesAndAsksAboutTheRest) {
  const QString path = FileWithRecurringRecords();
  QStringList seen;
  runner_.onDialog = [&](QDialog &dialog) {
    seen.append(dialog.windowTitle());
    if (auto *due = qobject_cast<DueRecordsDialog *>(&dialog)) {
      EXPECT_EQ(due->Selection().All().size(), 3);
      for (QPushButton *button : dialog.findChildren<QPushButton *>())
        if (button->accessibleName() == QStringLiteral("确定"))
          button->click();
    }
  };
  ASSERT_TRUE(frame_->OpenDocument(path));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !seen.isEmpty(); }));
  EXPECT_EQ(seen, QStringList{"到期的定期记录"});
  EXPECT_EQ(frame_->statusBar()->currentMessage(),
            QStringLiteral("已自动添加 2 条定期记录"));
  AccountFile &file = frame_->Documents().first()->File();
  EXPECT_EQ(QueryRows(*file.Session(), "Select Count(*) From Users"),
            QStringList{"5"});

  frame_->Command(QStringLiteral("定期记录…"))->trigger();
  EXPECT_EQ(seen, (QStringList{"到期的定期记录", "定期记录"}));
}
