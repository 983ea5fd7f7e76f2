// Pictures of the program's own windows for a person to look at: with
// SORVANEL_SHOTS set to a folder, the start-up dialog, the new-file wizard,
// a document window on each page and the options sheet's pages are saved
// there as PNG files. Without it the windows are only built and shown.
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "app/new_file_wizard.h"
#include "app/options/setup_prop_sheet.h"
#include "app/sorvanel_doc.h"
#include "app/sorvanel_view.h"
#include "app/startup_settings.h"
#include "app/startup_wizard.h"
#include "app_test_env.h"
#include "document/account_file.h"
#include "groups/group_tree.h"
#include "records/command_history.h"
#include "records/record_key.h"
#include "records/row_item.h"

#include <QTabWidget>
#include <QTest>

namespace {

void Shot(QWidget &widget, const QString &name) {
  widget.show();
  QTest::qWait(50);
  const QString folder = qEnvironmentVariable("SORVANEL_SHOTS");
  if (!folder.isEmpty())
    widget.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
  EXPECT_FALSE(widget.grab().isNull());
}

class ScreenshotTest : public AppTest {};

TEST_F(ScreenshotTest, EveryWindowOfTheShell) {
  const QString path = Copy(QStringLiteral("家庭账本"), QStringLiteral("家庭"));
  RecentFileList recent;
  recent.Add(path);
  {
    CStartupWizard wizard(path, recent, nullptr);
    Shot(wizard, "startup");
  }
  {
    CNewFileWizard wizard(QStringLiteral("我的账簿"), Folder(),
                          QStringLiteral(SORVANEL_SYSTEM_DIR));
    Shot(wizard, "new-file-wizard");
  }
  StartupSettings settings(Folder());
  CMainFrame frame(settings, recent);
  frame.resize(1280, 800);
  ASSERT_TRUE(frame.OpenDocument(path));
  CChildFrame *child = frame.ActiveChild();
  // A few months of records, so that the pages have something to show.
  AccountFile &file = child->Doc().File();
  const int groupId = child->ActiveGroupIds().value(0, 2);
  const char *categories[] = {"餐饮", "交通", "购物", "居住", "医疗", "其他"};
  QList<CRowItem> rows;
  for (int i = 0; i < 40; ++i) {
    CRowItem row = CRowItem::EmptyRow(file, groupId);
    row.FillNewRowDefaults(TakeNewKey(FindGroupNode(file.Root(), groupId)));
    row.Item("Data")->text = QStringLiteral("2025/%1/%2").arg(i % 6 + 1).arg(i % 27 + 1);
    row.Item("Category")->text = QString::fromUtf8(categories[i % 6]);
    row.Item("Amount")->text = QString::number(10 + (i * 37) % 90);
    row.Item("Total")->text = row.Item("Amount")->text;
    row.Item("Item")->text = QStringLiteral("第%1笔").arg(i + 1);
    rows.append(row);
  }
  file.History().AddRows(rows);
  file.Notify(0xFFFF);
  Shot(frame, "records-page");
  child->View()->SelectPageKind(CSorvanBaseView::PieChartPage);
  Shot(frame, "pie-page");
  child->View()->SelectPageKind(CSorvanBaseView::BarChartPage);
  Shot(frame, "bar-page");
  CSetUpPropSheet sheet(child->Doc().File(), settings);
  for (int i = 0; i < sheet.Tabs()->count(); ++i) {
    sheet.Tabs()->setCurrentIndex(i);
    Shot(sheet, QStringLiteral("options-%1").arg(i));
  }
  frame.CloseAllDocuments();
}

} // namespace
