// Storing record rows in an account file: insert, load, update and delete,
// the grid being told of each success, failures, and the keys of new rows.
#include "memory_grid.h"
#include "record_test_file.h"

#include "groups/group_node.h"
#include "document/group_edits.h"
#include "groups/group_tree.h"
#include "records/record_key.h"

namespace {

using RowStoreTest = RecordFileTest;

TEST_F(RowStoreTest, StoresAndLoadsARowAsTyped) {
  MemoryGrid grid;
  CRowItem row = NewRow(
      2, {{"Amount", "12.5"}, {"Item", "O'Brien's \"lunch\""}, {"Memo", "a%1b"}},
      &grid);
  ASSERT_TRUE(row.InsertIntoDatabase());
  EXPECT_EQ(Records(), QStringList({"2|1|O'Brien's \"lunch\"|12.5|1|12.5|a%1b"}));
  EXPECT_EQ(grid.calls, QStringList({"insert 2/1 @-1"}));
  EXPECT_TRUE(prompt_.Texts().isEmpty());

  const CRowItem stored = StoredRow(1, 2);
  EXPECT_EQ(stored.groupId, 2);
  EXPECT_EQ(stored.columnCount, unsigned(file_.Columns().Size()));
  ASSERT_EQ(stored.items.size(), row.items.size());
  for (int i = 0; i < stored.items.size(); ++i) {
    EXPECT_EQ(stored.items[i].fieldName, row.items[i].fieldName);
    EXPECT_EQ(stored.items[i].defaultFormula, row.items[i].defaultFormula);
  }
  EXPECT_EQ(stored.items[8].text, "O'Brien's \"lunch\"");
  EXPECT_EQ(stored.items[3].text, "其他");
  EXPECT_EQ(stored.items[4].text, "现金");
}

TEST_F(RowStoreTest, NewRowsTakeDefaultsAndFormulasButKeepTypedTexts) {
  // "Amount" in the typed text is no formula: it stays as typed.
  CRowItem row = NewRow(3, {{"Amount", "2.5"}, {"Count", "3"},
                            {"Item", "Amount due"}});
  ASSERT_TRUE(row.InsertIntoDatabase());
  EXPECT_EQ(Records(3), QStringList({"1|Amount due|2.5|3|7.5|"}));
  const QDate today = QDate::currentDate();
  EXPECT_EQ(row.items[1].text, QStringLiteral("%1/%2/%3")
                                   .arg(today.year())
                                   .arg(today.month())
                                   .arg(today.day()));
}

TEST_F(RowStoreTest, SameKeyInTwoGroupsIsTwoRecords) {
  CRowItem first = NewRow(2, {{"Item", "first"}});
  CRowItem second = NewRow(3, {{"Item", "second"}});
  ASSERT_EQ(first.KeyValue(), second.KeyValue());
  ASSERT_TRUE(first.InsertIntoDatabase());
  ASSERT_TRUE(second.InsertIntoDatabase());

  first.Item("Item")->text = "changed";
  ASSERT_TRUE(first.UpdateInDatabase());
  EXPECT_EQ(Records(), QStringList({"2|1|changed|0|1|0|", "3|1|second|0|1|0|"}));
  ASSERT_TRUE(second.DeleteFromDatabase());
  EXPECT_EQ(Records(), QStringList({"2|1|changed|0|1|0|"}));
}

TEST_F(RowStoreTest, FailingStatementsShowFailureOnceAndNothingInTheGrid) {
  MemoryGrid grid;
  CRowItem row = NewRow(2, {{"Item", "a"}}, &grid);
  ASSERT_TRUE(row.InsertIntoDatabase());
  grid.calls.clear();
  prompt_.Clear();

  // The same key in the same group again.
  EXPECT_FALSE(row.InsertIntoDatabase());
  EXPECT_EQ(prompt_.Texts().count("失败！"), 1);
  EXPECT_EQ(prompt_.Last(), "失败！");

  RawSql("CREATE TRIGGER refuse BEFORE UPDATE ON Users "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  RawSql("CREATE TRIGGER keep BEFORE DELETE ON Users "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  row.Item("Item")->text = "b";
  EXPECT_FALSE(row.UpdateInDatabase());
  EXPECT_FALSE(row.DeleteFromDatabase());
  EXPECT_EQ(prompt_.Texts().count("失败！"), 3);
  EXPECT_TRUE(grid.calls.isEmpty());
  EXPECT_EQ(Records(), QStringList({"2|1|a|0|1|0|"}));
}

TEST_F(RowStoreTest, LoadingAMissingRecordChangesNothing) {
  CRowItem row = NewRow(2, {{"Item", "kept"}});
  const CRowItem before = row;
  EXPECT_FALSE(row.LoadFromDatabase(1, 2));
  EXPECT_EQ(row.items[8].text, "kept");
  EXPECT_EQ(row.groupId, before.groupId);
  EXPECT_TRUE(prompt_.Texts().isEmpty());

  // Reload of a missing record keeps the row's own values.
  EXPECT_EQ(row.Reload().items[8].text, "kept");
  ASSERT_TRUE(row.InsertIntoDatabase());
  row.Item("Item")->text = "edited";
  EXPECT_EQ(row.Reload().items[8].text, "kept");
}

// The options sheet may change the layout while the history keeps rows made
// before; loading such a row takes the layout the file has now.
TEST_F(RowStoreTest, ReloadingARowFromBeforeALayoutChangeTakesTheNewLayout) {
  CRowItem row = NewRow(2, {{"Item", "a"}});
  ASSERT_TRUE(row.InsertIntoDatabase());
  QList<ColumnDef> kept = file_.Columns().All().mid(0, 4);
  kept.append(file_.Columns().At(8));
  file_.Columns().Clear();
  for (const ColumnDef &column : kept)
    file_.Columns().Append(column);

  const CRowItem reloaded = row.Reload();
  EXPECT_EQ(reloaded.columnCount, 5u);
  ASSERT_EQ(reloaded.items.size(), 5);
  EXPECT_EQ(reloaded.items[4].fieldName, "Item");
  EXPECT_EQ(reloaded.items[4].text, "a");
}

TEST_F(RowStoreTest, KeysContinueAfterTheLargestStoredKeyAndAreNotReused) {
  RawSql("INSERT INTO Users (ID, Item, trelva_Group_ID) VALUES (41, 'old', 2)");
  RawSql("INSERT INTO Users (ID, Item, trelva_Group_ID) VALUES (7, 'old', 2)");
  LoadGroupTree(file_);
  ASSERT_EQ(Group(2).largestKey, 41);

  RawSql("CREATE TRIGGER refuse BEFORE INSERT ON Users WHEN NEW.Item = 'boom' "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  CRowItem failing = NewRow(2, {{"Item", "boom"}});
  EXPECT_EQ(failing.KeyValue(), 42);
  EXPECT_FALSE(failing.InsertIntoDatabase());

  CRowItem next = NewRow(2, {{"Item", "next"}});
  EXPECT_EQ(next.KeyValue(), 43);
  ASSERT_TRUE(next.InsertIntoDatabase());
  ASSERT_TRUE(next.DeleteFromDatabase());
  EXPECT_EQ(NewRow(2, {}).KeyValue(), 44);
  // Other groups count on their own.
  EXPECT_EQ(NewRow(5, {}).KeyValue(), 1);
}

TEST_F(RowStoreTest, AFileWithoutKeyColumnAddressesRowsByID) {
  // The first column is then the key item and "ID" names the key field.
  RawSql("UPDATE TableStyle SET [数据类型]=1 WHERE [字段名]='ID'");
  ASSERT_TRUE(file_.LoadAccountFile());
  ASSERT_EQ(file_.Columns().Type(0), int(FT_INTEGER));
  CRowItem row = NewRow(4, {{"Item", "no key"}});
  EXPECT_EQ(row.keyIndex, 0u);
  EXPECT_EQ(row.KeyValue(), 1);
  ASSERT_TRUE(row.InsertIntoDatabase());
  EXPECT_EQ(StoredRow(1, 4).items[8].text, "no key");
}

} // namespace
