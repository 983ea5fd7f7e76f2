// How stored changes reach the file and the grids: a statement that finds
// no record is a failure, one action is one unit of work, every registered
// grid shows each change as stored, and a grid may go away before the
// history does.
#include "memory_grid.h"
#include "record_test_file.h"

#include "db/db_visiter.h"
#include "records/command_history.h"

#include <sqlite3.h>

#include <memory>

namespace {

class StoredChangeTest : public RecordFileTest {
protected:
  CommandHistory &History() { return file_.History(); }

  // Counts the commits that reach the file from now on.
  void CountCommits() {
    commits_ = 0;
    sqlite3_commit_hook(
        Session().GetConnection(),
        [](void *count) {
          ++*static_cast<int *>(count);
          return 0;
        },
        &commits_);
  }
  void TearDown() override {
    if (file_.Session())
      sqlite3_commit_hook(Session().GetConnection(), nullptr, nullptr);
    RecordFileTest::TearDown();
  }

  QList<CRowItem> AddRows(int groupId, const QStringList &items,
                          RecordGrid *grid) {
    QList<CRowItem> rows;
    for (const QString &item : items)
      rows.append(NewRow(groupId, {{"Item", item}, {"Amount", "1"}}, grid));
    EXPECT_EQ(History().AddRows(rows), items.size());
    return rows;
  }

  int commits_ = 0;
};

TEST_F(StoredChangeTest, ChangingARecordThatIsNotThereFailsAndIsNotRecorded) {
  MemoryGrid grid;
  CRowItem row = NewRow(2, {{"Item", "a"}}, &grid);
  ASSERT_TRUE(row.InsertIntoDatabase());
  // Someone else took the record away.
  RawSql("DELETE FROM Users");
  prompt_.Clear();
  hints_.hints.clear();
  grid.calls.clear();

  row.Item("Item")->text = "b";
  EXPECT_EQ(History().UpdateRows({row}), 0);
  EXPECT_EQ(History().DeleteRows({row}), 0);
  EXPECT_EQ(prompt_.Texts(), QStringList({"失败！", "失败！"}));
  EXPECT_FALSE(History().CanUndo());
  EXPECT_TRUE(hints_.hints.isEmpty());
  EXPECT_TRUE(grid.calls.isEmpty());
  // So no undo can ever write the record back.
  EXPECT_TRUE(Records().isEmpty());

  ASSERT_TRUE(Session().Execute("UPDATE Users SET Item='x' WHERE ID=99"));
  EXPECT_EQ(Session().ChangedRows(), 0);
  ASSERT_TRUE(row.InsertIntoDatabase());
  EXPECT_EQ(Session().ChangedRows(), 1);
  ASSERT_TRUE(Session().Execute("CREATE TABLE Spare (n int)"));
  EXPECT_EQ(Session().ChangedRows(), 0);
}

TEST_F(StoredChangeTest, OneActionIsOneCommitAndAFailingRowFailsAlone) {
  MemoryGrid grid;
  CountCommits();
  QList<CRowItem> rows = AddRows(2, {"a", "b", "c", "d"}, &grid);
  EXPECT_EQ(commits_, 1);

  RawSql("CREATE TRIGGER keep BEFORE DELETE ON Users WHEN OLD.Item = 'c' "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  CountCommits();
  prompt_.Clear();
  EXPECT_EQ(History().DeleteRows({rows[3], rows[2], rows[1]}), 2);
  EXPECT_EQ(commits_, 1);
  EXPECT_EQ(prompt_.Texts().count("失败！"), 1);
  EXPECT_EQ(Records(2), QStringList({"1|a|1|1|1|", "3|c|1|1|1|"}));

  CountCommits();
  ASSERT_TRUE(History().Undo());
  EXPECT_EQ(commits_, 1);
  EXPECT_EQ(Records(2).size(), 4);
  CountCommits();
  ASSERT_TRUE(History().Redo());
  EXPECT_EQ(commits_, 1);
  EXPECT_EQ(Records(2).size(), 2);
  EXPECT_TRUE(grid.faults.isEmpty()) << qPrintable(grid.faults.join('\n'));
}

TEST_F(StoredChangeTest, AGroupThatCannotBeCommittedLeavesNothingAndNoUndo) {
  MemoryGrid grid;
  AddRows(2, {"a"}, &grid);
  // The commit of the next action is refused.
  sqlite3_commit_hook(
      Session().GetConnection(), [](void *) { return 1; }, nullptr);
  prompt_.Clear();
  hints_.hints.clear();
  // Nothing of it is reported stored.
  EXPECT_EQ(History().AddRows({NewRow(2, {{"Item", "b"}}, &grid)}), 0);
  EXPECT_EQ(prompt_.Texts(), QStringList({"失败！"}));
  // The pages reload from the file, which holds only the first record.
  EXPECT_EQ(hints_.hints, QList<unsigned>({7}));
  EXPECT_EQ(History().UndoDepth(), 1);

  // An undo that cannot be committed stays where it was.
  prompt_.Clear();
  EXPECT_FALSE(History().Undo());
  EXPECT_EQ(History().UndoDepth(), 1);
  sqlite3_commit_hook(Session().GetConnection(), nullptr, nullptr);
  EXPECT_EQ(Records(2), QStringList({"1|a|1|1|1|"}));
  ASSERT_TRUE(History().Undo());
  EXPECT_TRUE(Records(2).isEmpty());
}

TEST_F(StoredChangeTest, EveryGridShowsEachChangeAndMayGoFirst) {
  MemoryGrid kept;
  auto closed = std::make_unique<MemoryGrid>();
  kept.AttachFile(&file_);
  closed->AttachFile(&file_);
  EXPECT_NE(kept.GridNumber(), closed->GridNumber());
  EXPECT_EQ(file_.GridByNumber(closed->GridNumber()), closed.get());

  // Typed in the grid that is closed afterwards.
  CRowItem row = NewRow(2, {{"Item", "a"}}, closed.get());
  row.gridRow = 5;
  ASSERT_EQ(History().AddRows({row}), 1);
  EXPECT_EQ(closed->calls, QStringList({"insert 2/1 @5"}));
  // The other grid gets no row hint from a grid it does not know.
  EXPECT_EQ(kept.calls, QStringList({"insert 2/1 @-1"}));

  const int number = closed->GridNumber();
  closed.reset();
  EXPECT_EQ(file_.Grids().size(), 1);
  EXPECT_EQ(file_.GridByNumber(number), nullptr);
  ASSERT_TRUE(History().Undo());
  ASSERT_TRUE(History().Redo());
  EXPECT_EQ(kept.calls.mid(1),
            QStringList({"remove 2/1 @-1", "insert 2/1 @-1"}));

  // A grid may also outlive its file.
  auto file = std::make_unique<AccountFile>();
  MemoryGrid late;
  late.AttachFile(file.get());
  file.reset();
  EXPECT_EQ(late.AttachedFile(), nullptr);
  EXPECT_EQ(late.GridNumber(), 0);
}

TEST_F(StoredChangeTest, GridsShowTheValuesAsTheFileStoredThem) {
  MemoryGrid grid;
  CRowItem row = NewRow(2, {{"Item", "a"}}, &grid);
  row.Item("Amount")->text = "1,234.5";
  row.Item("Moment")->text = "25:99";
  ASSERT_EQ(History().AddRows({row}), 1);
  const QStringList shown = grid.shown.value({2, 1});
  const CRowItem stored = StoredRow(1, 2);
  ASSERT_EQ(shown.size(), stored.items.size());
  for (int i = 0; i < shown.size(); ++i)
    EXPECT_EQ(shown[i], stored.items[i].text) << i;
  EXPECT_EQ(file_.Columns().FieldName(5), "Amount");
  EXPECT_EQ(stored.items[5].text, "1");

  CRowItem edited = stored;
  edited.gridNumber = grid.GridNumber();
  edited.items[5].text = "2x";
  ASSERT_EQ(History().UpdateRows({edited}), 1);
  EXPECT_EQ(grid.shown.value({2, 1}).value(5), "2");
}

} // namespace
