// Making record rows: reading them from the grid, their keys, and the
// defaults of a new row.
#include "memory_grid.h"

#include "groups/group_node.h"
#include "document/account_file.h"
#include "records/record_key.h"
#include "records/row_item.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <climits>

namespace {

ColumnDef Column(const char *name, int type, const char *defaultValue = "") {
  ColumnDef column;
  column.fieldName = QString::fromUtf8(name);
  column.type = type;
  column.defaultValue = QString::fromUtf8(defaultValue);
  return column;
}

class RowItemTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const ColumnDef &column :
         {Column("ID", FT_KEY), Column("Data", FT_AUTODATE),
          Column("Moment", FT_AUTOTIME), Column("Spare", FT_AUTODATE, "x"),
          Column("Count", FT_INTEGER, "1"), Column("Item", FT_TEXT, "-")})
      file_.Columns().Append(column);
    group_.id = 3;
    group_.nodeKind = NK_GROUP;
  }

  AccountFile file_;
  GroupNode group_;
  MemoryGrid grid_;
};

TEST_F(RowItemTest, ReadsEachColumnFromTheGridColumnBeforeIt) {
  const int gridRow =
      grid_.AppendRow({"", "", "", "", "4", "lunch"}, &group_);
  grid_.AttachFile(&file_);
  const CRowItem row = CRowItem::ReadFromGrid(file_, gridRow, &grid_);
  ASSERT_EQ(row.items.size(), 6);
  EXPECT_EQ(row.columnCount, 6u);
  EXPECT_EQ(row.keyIndex, 0u);
  EXPECT_EQ(row.groupId, 3);
  EXPECT_EQ(row.gridRow, gridRow);
  EXPECT_EQ(row.gridNumber, grid_.GridNumber());
  EXPECT_NE(row.gridNumber, 0);
  EXPECT_EQ(row.items[0].text, "");
  EXPECT_EQ(row.KeyValue(), 0);
  EXPECT_EQ(row.items[4].text, "4");
  EXPECT_EQ(row.items[4].type, unsigned(FT_INTEGER));
  EXPECT_EQ(row.items[4].fieldName, "Count");
  EXPECT_EQ(row.items[4].defaultFormula, "1");
  EXPECT_EQ(row.items[5].text, "lunch");

  const int loose = grid_.AppendRow({"8"}, nullptr);
  const CRowItem other = CRowItem::ReadFromGrid(file_, loose, &grid_);
  EXPECT_EQ(other.groupId, 0);
  EXPECT_EQ(other.KeyValue(), 8);
  EXPECT_EQ(other.items[5].text, "");
}

TEST_F(RowItemTest, NewRowDefaultsFillOnlyWhatIsEmpty) {
  const int gridRow = grid_.AppendRow({"", "", "", "", "", "lunch"}, &group_);
  CRowItem row = CRowItem::ReadFromGrid(file_, gridRow, &grid_);
  row.FillNewRowDefaults(42, QDateTime(QDate(2010, 5, 3), QTime(9, 5, 7)));

  EXPECT_EQ(row.items[0].text, "42");
  EXPECT_EQ(row.items[1].text, "2010/5/3");
  EXPECT_EQ(row.items[2].text, "9:5:7");
  // Only the first automatic date column is set; the second one is empty
  // and gets its default.
  EXPECT_EQ(row.items[3].text, "x");
  EXPECT_EQ(row.items[4].text, "1");
  EXPECT_EQ(row.items[5].text, "lunch");

  // Exactly the items that received their default formula are marked.
  QList<bool> marked;
  for (const FieldValueItem &item : row.items)
    marked.append(item.applyingDefault);
  EXPECT_EQ(marked, QList<bool>({false, false, false, true, true, false}));
}

TEST_F(RowItemTest, SettersReportARowWithoutSuitableItems) {
  file_.Columns().Clear();
  file_.Columns().Append(Column("Item", FT_TEXT));
  CRowItem row = CRowItem::EmptyRow(file_, 2);
  EXPECT_FALSE(row.SetAutomaticDate("2010/5/3"));
  EXPECT_FALSE(row.SetAutomaticTime("9:5:7"));
  EXPECT_EQ(row.items[0].text, "");
  // Without a key column, column 0 serves as the key.
  EXPECT_TRUE(row.SetKeyValue(12));
  EXPECT_EQ(row.KeyValue(), 12);

  CRowItem empty;
  EXPECT_FALSE(empty.SetKeyValue(1));
  EXPECT_EQ(empty.KeyValue(), 0);
}

TEST(RecordKeyTest, KeyTextReadsLikeAtoi) {
  EXPECT_EQ(KeyFromText("42"), 42);
  EXPECT_EQ(KeyFromText("  -7"), -7);
  EXPECT_EQ(KeyFromText("+15abc"), 15);
  EXPECT_EQ(KeyFromText("*"), 0);
  EXPECT_EQ(KeyFromText(""), 0);
  EXPECT_EQ(KeyFromText("99999999999999999999"), INT_MAX);
  EXPECT_EQ(KeyFromText("-99999999999999999999"), INT_MIN);
}

TEST(RecordKeyTest, NewKeysAdvanceTheGroupAndAreNeverGivenBack) {
  GroupNode group;
  group.largestKey = 41;
  EXPECT_EQ(TakeNewKey(&group), 42);
  EXPECT_EQ(TakeNewKey(&group), 43);
  EXPECT_EQ(group.largestKey, 43);
  EXPECT_EQ(TakeNewKey(nullptr), 0);

  group.largestKey = INT_MAX;
  EXPECT_EQ(TakeNewKey(&group), 0);
  EXPECT_EQ(group.largestKey, INT_MAX);
}

} // namespace
