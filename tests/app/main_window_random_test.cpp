// The main window driven at random with fixed seeds: records added in the
// active group and undone and redone, groups made and activated, page tabs,
// folders, refresh, a second window, the options sheet applied, the file
// closed and opened again. After every step the program must be alive and
// every record it reported stored must be in the file, and nothing else.
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "app/options/general_page.h"
#include "app/options/setup_prop_sheet.h"
#include "app/sorvanel_doc.h"
#include "app/sorvanel_view.h"
#include "app/startup_settings.h"
#include "app_test_env.h"
#include "db/db_visiter.h"
#include "groups/group_node.h"
#include "document/group_pane_logic.h"
#include "groups/group_tree.h"
#include "groups/ui/sorvan_group_pane.h"
#include "document/account_file.h"
#include "records/command_history.h"
#include "records/record_key.h"
#include "records/row_item.h"
#include "support/query_rows.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QSet>
#include <QToolBox>

namespace {

using Record = QPair<int, int>; // key, group

class RandomWindowTest : public AppTest, public ::testing::WithParamInterface<int> {
protected:
  CChildFrame *Child() { return frame_->ActiveChild(); }
  AccountFile &File() { return Child()->Doc().File(); }

  QList<int> GroupIds() {
    QList<int> ids;
    std::function<void(const GroupNode &)> walk = [&](const GroupNode &node) {
      for (const auto &child : node.children) {
        if (child->IsGroup())
          ids.append(child->id);
        walk(*child);
      }
    };
    walk(File().Root());
    return ids;
  }

  // Adds count records to the first active group (or any group) as one
  // undoable action, as the records page stores typed rows.
  void AddRecords(int count) {
    QList<int> active = Child()->ActiveGroupIds();
    if (active.isEmpty())
      active = GroupIds();
    if (active.isEmpty())
      return;
    const int groupId = active[random_.bounded(int(active.size()))];
    GroupNode *group = FindGroupNode(File().Root(), groupId);
    QList<CRowItem> rows;
    for (int i = 0; i < count; ++i) {
      CRowItem row = CRowItem::EmptyRow(File(), groupId);
      row.Item(QStringLiteral("Item"))->text =
          QStringLiteral("O'Brien %1").arg(random_.bounded(1000));
      row.Item(QStringLiteral("Amount"))->text =
          QString::number(random_.bounded(10000) / 100.0);
      row.FillNewRowDefaults(TakeNewKey(group));
      rows.append(row);
    }
    const int stored = File().History().AddRows(rows);
    ASSERT_EQ(stored, count);
    QList<Record> batch;
    for (const CRowItem &row : rows)
      batch.append({row.KeyValue(), groupId});
    undo_.append(batch);
    redo_.clear();
    for (const Record &r : batch)
      expected_.insert(r);
  }

  void Undo() {
    if (!File().History().Undo())
      return;
    File().Notify(6);
    ASSERT_FALSE(undo_.isEmpty());
    const QList<Record> batch = undo_.takeLast();
    for (const Record &r : batch)
      expected_.remove(r);
    redo_.append(batch);
  }

  void Redo() {
    if (!File().History().Redo())
      return;
    File().Notify(6);
    ASSERT_FALSE(redo_.isEmpty());
    const QList<Record> batch = redo_.takeLast();
    for (const Record &r : batch)
      expected_.insert(r);
    undo_.append(batch);
  }

  void ForgetHistory() {
    undo_.clear();
    redo_.clear();
  }

  void Step() {
    switch (random_.bounded(14)) {
    case 0:
    case 1:
    case 2:
      AddRecords(1 + random_.bounded(3));
      break;
    case 3:
      Undo();
      break;
    case 4:
      Redo();
      break;
    case 5:
      Child()->View()->SelectPageKind(1 + random_.bounded(3));
      break;
    case 6:
      Child()->FolderBar()->setCurrentIndex(random_.bounded(4));
      break;
    case 7: {
      const QList<int> ids = GroupIds();
      if (ids.size() < 12)
        Child()->GroupPane()->RunCommand(ID_NEW_GROUP, ids.value(0, -1));
      break;
    }
    case 8: {
      const QList<int> ids = GroupIds();
      if (!ids.isEmpty())
        Child()->GroupPane()->Activate(ids[random_.bounded(int(ids.size()))]);
      break;
    }
    case 9:
      frame_->Command(QStringLiteral("刷新"))->trigger();
      break;
    case 10:
      if (frame_->Children().size() < 3)
        frame_->OnNewWindow();
      else
        frame_->CloseWindow(Child());
      break;
    case 11: {
      CSetUpPropSheet sheet(File(), settings_);
      sheet.GeneralPage()->TitleEdit()->setPlainText(
          QStringLiteral("共 {Select Count(*) From Users} 笔 %1").arg(random_.bounded(100)));
      ASSERT_TRUE(sheet.ApplyPages());
      if (sheet.AnyApplied()) {
        ReloadAfterOptions(File());
        ForgetHistory();
      }
      break;
    }
    case 12:
      if (random_.bounded(4) == 0) {
        frame_->CloseAllDocuments();
        ASSERT_TRUE(frame_->OpenDocument(path_));
        ForgetHistory();
      }
      break;
    case 13:
      Child()->GroupPane()->ToggleMode();
      break;
    }
    QApplication::processEvents();
  }

  void Check(int step) {
    ASSERT_NE(Child(), nullptr) << "step " << step;
    ASSERT_TRUE(File().IsOpen()) << "step " << step;
    QSet<Record> stored;
    for (const QString &row :
         QueryRows(*File().Session(), "Select ID, trelva_Group_ID From Users")) {
      const QStringList fields = row.split(QLatin1Char('|'));
      stored.insert({fields.value(0).toInt(), fields.value(1).toInt()});
    }
    ASSERT_EQ(stored, expected_) << "step " << step;
  }

  QRandomGenerator random_;
  StartupSettings settings_{Folder()};
  RecentFileList recent_;
  std::unique_ptr<CMainFrame> frame_;
  QString path_;
  QSet<Record> expected_;
  QList<QList<Record>> undo_, redo_;
};

TEST_P(RandomWindowTest, StaysAliveAndKeepsEveryStoredRecord) {
  random_.seed(quint32(GetParam()));
  path_ = Copy(QStringLiteral("家庭账本"), QStringLiteral("随机"));
  frame_ = std::make_unique<CMainFrame>(settings_, recent_);
  frame_->resize(1000, 700);
  frame_->show();
  ASSERT_TRUE(frame_->OpenDocument(path_));
  prompt_.QueueAnswer(0);
  const int steps = qEnvironmentVariableIntValue("SORVANEL_RANDOM_STEPS");
  for (int step = 0; step < (steps > 0 ? steps : 700); ++step) {
    Step();
    if (HasFatalFailure())
      return;
    Check(step);
    if (HasFatalFailure())
      return;
  }
  frame_->CloseAllDocuments();
  frame_.reset();
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomWindowTest, ::testing::Values(1, 2, 3));

} // namespace
