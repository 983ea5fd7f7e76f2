// Undo and redo of record changes through the command history.
#include "memory_grid.h"
#include "record_test_file.h"

#include "formula/evaluate_row.h"
#include "model/column_store.h"
#include "support/query_rows.h"
#include "db/db_visiter.h"
#include "records/command_history.h"

namespace {

const unsigned kRecordHint = HINT_PIE_SERIES | HINT_BAR_SERIES; // 6

class CommandHistoryTest : public RecordFileTest {
protected:
  CommandHistory &History() { return file_.History(); }

  // Adds one record per item text to group 2, one group per record, the way
  // the grid adds typed rows.
  QList<CRowItem> AddEach(const QStringList &itemTexts) {
    QList<CRowItem> rows;
    for (const QString &text : itemTexts) {
      rows.append(NewRow(2, {{"Amount", "2"}, {"Item", text}}, &grid_));
      EXPECT_EQ(History().AddRows({rows.last()}), 1);
    }
    return rows;
  }

  MemoryGrid grid_;
};

TEST_F(CommandHistoryTest, DeletedRowsComeBackInOneUndoAndGoInOneRedo) {
  QList<CRowItem> rows = AddEach({"a", "b", "c", "d"});
  const QStringList all = Records();
  // A selection is deleted from the bottom row upward.
  const QList<CRowItem> doomed = {rows[3], rows[2], rows[0]};
  hints_.hints.clear();
  grid_.calls.clear();
  EXPECT_EQ(History().DeleteRows(doomed), 3);
  EXPECT_EQ(Records(), QStringList({"2|2|b|2|1|2|"}));
  EXPECT_EQ(hints_.hints, QList<unsigned>({kRecordHint}));

  ASSERT_TRUE(History().Undo());
  EXPECT_EQ(Records(), all);
  ASSERT_TRUE(History().Redo());
  EXPECT_EQ(Records(), QStringList({"2|2|b|2|1|2|"}));
  // Undo inserted the rows again from the top down.
  EXPECT_EQ(grid_.calls,
            QStringList({"remove 2/4 @-1", "remove 2/3 @-1", "remove 2/1 @-1",
                         "insert 2/1 @-1", "insert 2/3 @-1", "insert 2/4 @-1",
                         "remove 2/4 @-1", "remove 2/3 @-1",
                         "remove 2/1 @-1"}));
  EXPECT_TRUE(grid_.faults.isEmpty()) << qPrintable(grid_.faults.join('\n'));
  // Undo and redo announce nothing themselves; their caller does.
  EXPECT_EQ(hints_.hints, QList<unsigned>({kRecordHint}));
  EXPECT_TRUE(prompt_.Texts().isEmpty());
}

// The grid holds only the shown columns; a column switched off (like the
// number a bill gave an imported record) must survive a delete and its undo.
TEST_F(CommandHistoryTest, UndoOfADeleteKeepsWhatNoColumnShows) {
  QList<CRowItem> rows = AddEach({"a", "b"});
  CDBVisiter &session = *file_.Session();
  ColumnDef hidden;
  hidden.id = 90;
  hidden.order = 90;
  hidden.fieldName = "BillNo";
  hidden.title = "交易单号";
  hidden.enabled = false;
  ASSERT_TRUE(InsertColumn(session, hidden));
  ASSERT_TRUE(session.Execute("Update Users Set BillNo='2026''01' Where Item='a'"));

  EXPECT_EQ(History().DeleteRows({rows[1], rows[0]}), 2);
  ASSERT_TRUE(History().Undo());
  EXPECT_EQ(QueryRows(session, "Select Item, BillNo From Users Order By Item"),
            QStringList({"a|2026'01", "b|"}));
}

TEST_F(CommandHistoryTest, ANewChangeDiscardsWhatCouldBeRedone) {
  AddEach({"a", "b"});
  ASSERT_TRUE(History().Undo());
  ASSERT_TRUE(History().Undo());
  EXPECT_FALSE(History().CanUndo());
  EXPECT_EQ(History().RedoDepth(), 2);
  ASSERT_TRUE(History().Redo());
  EXPECT_TRUE(History().CanUndo());
  EXPECT_TRUE(History().CanRedo());

  AddEach({"c"});
  EXPECT_FALSE(History().CanRedo());
  EXPECT_FALSE(History().Redo());
  EXPECT_EQ(History().UndoDepth(), 2);
  // Keys are not given back: b's key 2 stays unused after its undo.
  EXPECT_EQ(Records(), QStringList({"2|1|a|2|1|2|", "2|3|c|2|1|2|"}));
}

TEST_F(CommandHistoryTest, NothingToUndoOrRedoDoesNothing) {
  EXPECT_FALSE(History().Undo());
  EXPECT_FALSE(History().Redo());
  EXPECT_FALSE(History().CanUndo());
  EXPECT_FALSE(History().CanRedo());
  EXPECT_TRUE(hints_.hints.isEmpty());
}

TEST_F(CommandHistoryTest, UndoOfAnEditWritesBackTheStoredValues) {
  QList<CRowItem> rows = AddEach({"a"});
  // The grid reads the row with its new text and recalculates.
  CRowItem edited = StoredRow(1, 2);
  grid_.AttachFile(&file_);
  edited.gridNumber = grid_.GridNumber();
  edited.Item("Count")->text = "4";
  RecalculateDependents(edited.items, file_.Columns().PositionOf("Count"));
  hints_.hints.clear();
  EXPECT_EQ(History().UpdateRows({edited}), 1);
  EXPECT_EQ(Records(), QStringList({"2|1|a|2|4|8|"}));
  EXPECT_EQ(hints_.hints, QList<unsigned>({kRecordHint}));

  ASSERT_TRUE(History().Undo());
  EXPECT_EQ(Records(), QStringList({"2|1|a|2|1|2|"}));
  ASSERT_TRUE(History().Redo());
  EXPECT_EQ(Records(), QStringList({"2|1|a|2|4|8|"}));
  EXPECT_EQ(grid_.shown.value({2, 1}).value(7), "8");
}

TEST_F(CommandHistoryTest, FailedRowsAreNotRecorded) {
  AddEach({"a", "b"});
  RawSql("CREATE TRIGGER refuse BEFORE UPDATE ON Users WHEN NEW.Item = 'boom' "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  CRowItem a = StoredRow(1, 2);
  CRowItem b = StoredRow(2, 2);
  a.Item("Item")->text = "boom";
  hints_.hints.clear();
  const int depth = History().UndoDepth();

  // The only row fails: no group, no notification.
  EXPECT_EQ(History().UpdateRows({a}), 0);
  EXPECT_EQ(History().UndoDepth(), depth);
  EXPECT_TRUE(hints_.hints.isEmpty());
  EXPECT_EQ(prompt_.Texts().count("失败！"), 1);

  // One of two rows fails: the other is recorded alone.
  b.Item("Item")->text = "b2";
  EXPECT_EQ(History().UpdateRows({a, b}), 1);
  EXPECT_EQ(History().UndoDepth(), depth + 1);
  EXPECT_EQ(hints_.hints, QList<unsigned>({kRecordHint}));
  ASSERT_TRUE(History().Undo());
  EXPECT_EQ(Records(), QStringList({"2|1|a|2|1|2|", "2|2|b|2|1|2|"}));
}

// A statement that fails during undo shows its message; the group moves all
// the same and its commands stay in step, so a later redo and undo work on
// the whole group again.
TEST_F(CommandHistoryTest, FailuresDuringUndoKeepTheGroupInStep) {
  CRowItem a = NewRow(2, {{"Item", "a"}}, &grid_);
  CRowItem b = NewRow(2, {{"Item", "b"}}, &grid_);
  ASSERT_EQ(History().AddRows({a, b}), 2);
  RawSql("CREATE TRIGGER keep BEFORE DELETE ON Users WHEN OLD.Item = 'b' "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END");

  ASSERT_TRUE(History().Undo());
  EXPECT_EQ(prompt_.Texts().count("失败！"), 1);
  EXPECT_EQ(Records(), QStringList({"2|2|b|0|1|0|"}));
  EXPECT_TRUE(History().CanRedo());

  RawSql("DROP TRIGGER keep");
  ASSERT_TRUE(History().Redo()); // b is there already: its insert fails
  EXPECT_EQ(prompt_.Texts().count("失败！"), 2);
  EXPECT_EQ(Records(), QStringList({"2|1|a|0|1|0|", "2|2|b|0|1|0|"}));
  ASSERT_TRUE(History().Undo());
  EXPECT_TRUE(Records().isEmpty());
  EXPECT_TRUE(grid_.faults.isEmpty()) << qPrintable(grid_.faults.join('\n'));
  EXPECT_TRUE(grid_.shown.isEmpty());
}

// When the engine drops the whole transaction of an action by itself (as
// SQLite does on a full disk or an I/O error), the rows after the failing
// one must not be committed one by one: the action stores nothing.
TEST_F(CommandHistoryTest, ALostTransactionStoresNoRowAfterIt) {
  RawSql("CREATE TRIGGER full BEFORE INSERT ON Users WHEN NEW.Item = 'b' "
         "BEGIN SELECT RAISE(ROLLBACK, 'database or disk is full'); END");
  EXPECT_EQ(History().AddRows({NewRow(2, {{"Item", "a"}}, &grid_),
                               NewRow(2, {{"Item", "b"}}, &grid_),
                               NewRow(2, {{"Item", "c"}}, &grid_)}),
            0);
  EXPECT_TRUE(Records().isEmpty());
  EXPECT_FALSE(History().CanUndo());

  // The next action works as before.
  RawSql("DROP TRIGGER full");
  AddEach({"d"});
  EXPECT_EQ(Records().size(), 1);
}

TEST_F(CommandHistoryTest, NestedGroupsBecomeOneUndoStep) {
  ASSERT_TRUE(History().BeginGroup());
  EXPECT_FALSE(History().BeginGroup()); // a nested level
  History().AddRows({NewRow(2, {{"Item", "a"}})});
  History().EndGroup();
  History().AddRows({NewRow(3, {{"Item", "b"}})});
  EXPECT_TRUE(hints_.hints.isEmpty());
  EXPECT_FALSE(History().CanUndo());
  History().EndGroup();
  EXPECT_EQ(hints_.hints, QList<unsigned>({kRecordHint}));
  EXPECT_EQ(History().UndoDepth(), 1);

  ASSERT_TRUE(History().Undo());
  EXPECT_TRUE(Records().isEmpty());

  // An outer group that ends up empty records nothing.
  ASSERT_TRUE(History().BeginGroup());
  History().EndGroup();
  EXPECT_EQ(History().UndoDepth(), 0);
  EXPECT_TRUE(History().CanRedo());
}

TEST_F(CommandHistoryTest, OpeningTheFileAndClearLeaveNothingToUndo) {
  AddEach({"a", "b"});
  ASSERT_TRUE(History().Undo());
  History().Clear();
  EXPECT_FALSE(History().CanUndo());
  EXPECT_FALSE(History().CanRedo());
  EXPECT_EQ(Records(), QStringList({"2|1|a|2|1|2|"}));

  AddEach({"c"});
  ASSERT_TRUE(file_.OpenAccountFile(path_));
  EXPECT_FALSE(History().CanUndo());
  EXPECT_FALSE(History().CanRedo());
  // The reloaded tree knows the keys in use.
  EXPECT_EQ(Group(2).largestKey, 3);
}

} // namespace
