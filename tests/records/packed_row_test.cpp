// Rows kept compactly in the undo history: what is packed comes back
// exactly, a row holds its texts and not its layout, added rows hold a few
// bytes while in the file, and a large action of several batches is undone
// and redone record for record.
#include "memory_grid.h"
#include "record_test_file.h"

#include "db/unit_of_work.h"
#include "model/field_type.h"
#include "records/command_history.h"
#include "records/packed_row.h"
#include "records/rows_command.h"

namespace {

class PackedRowTest : public RecordFileTest {
protected:
  // A new row of group 2 with a text no column shows (as an import's bill
  // number) after its items.
  CRowItem RowWithHiddenText(const QString &item, const QString &number) {
    CRowItem row = NewRow(2, {{"Item", item}, {"Amount", "1.5"}}, &grid_);
    FieldValueItem hidden;
    hidden.type = FT_TEXT;
    hidden.fieldName = "BillNo";
    hidden.text = number;
    row.items.append(hidden);
    return row;
  }

  MemoryGrid grid_;
};

TEST_F(PackedRowTest, KeepsTheTextsAndSharesTheLayout) {
  CRowItem row = RowWithHiddenText("午餐 O'Brien", "2026'01");
  row.items[1].text = QString();          // null stays null
  row.items[9].text = QStringLiteral(""); // empty stays empty
  row.items[2].applyingDefault = true;
  row.gridRow = -1;
  row.groupId = 5;
  row.textsAsStored = true;

  const RowShape shape = ShapeFor(row, {});
  const QByteArray packed = PackRow(row);
  const CRowItem back = UnpackRow(*shape, packed);
  ASSERT_EQ(back.items.size(), row.items.size());
  for (qsizetype i = 0; i < row.items.size(); ++i) {
    const FieldValueItem &a = row.items[i], &b = back.items[i];
    EXPECT_EQ(b.text, a.text) << i;
    EXPECT_EQ(b.text.isNull(), a.text.isNull()) << i;
    EXPECT_EQ(b.applyingDefault, a.applyingDefault) << i;
    EXPECT_EQ(b.fieldName, a.fieldName) << i;
    EXPECT_EQ(b.type, a.type) << i;
    EXPECT_EQ(b.defaultFormula, a.defaultFormula) << i;
  }
  EXPECT_EQ(back.accountFile, row.accountFile);
  EXPECT_EQ(back.keyIndex, row.keyIndex);
  EXPECT_EQ(back.columnCount, row.columnCount);
  EXPECT_EQ(back.groupId, 5);
  EXPECT_EQ(back.gridNumber, row.gridNumber);
  EXPECT_EQ(back.gridRow, -1);
  EXPECT_TRUE(back.textsAsStored);

  // A row holds about the UTF-8 of its texts: no field names, types or
  // default formulas, which its layout's one shape holds.
  qsizetype utf8 = 0;
  for (const FieldValueItem &item : row.items)
    utf8 += item.text.toUtf8().size();
  EXPECT_LE(packed.size(), utf8 + 2 * row.items.size() + 8);
  EXPECT_EQ(ShapeFor(RowWithHiddenText("b", "2"), shape), shape);
  EXPECT_NE(ShapeFor(NewRow(2, {{"Item", "c"}}), shape), shape);
}

// Added rows whose records are in the file hold their places only, and
// join the command before them.
TEST_F(PackedRowTest, AddedRowsHoldAFewBytesEach) {
  RawSql("ALTER TABLE Users ADD COLUMN BillNo TEXT");
  UnitOfWork work(&Session()); // one write to the file
  RowsCommand added(RowWithHiddenText("a", "1"), RowsCommand::Add, {});
  ASSERT_TRUE(added.Run());
  for (int i = 0; i < 100; ++i) {
    RowsCommand next(RowWithHiddenText(QStringLiteral("第%1笔").arg(i), "2"),
                     RowsCommand::Add, {});
    ASSERT_TRUE(next.Run());
    ASSERT_TRUE(added.Absorb(next));
  }
  EXPECT_EQ(added.RowCount(), 101);
  EXPECT_LE(added.HeldBytes(), 101u * 32);
  // Taken back, they hold their texts as the file held them.
  ASSERT_TRUE(added.Run());
  EXPECT_TRUE(Records(2).isEmpty());
  EXPECT_GT(added.HeldBytes(), 101u * 32);
  ASSERT_TRUE(added.Run());
  EXPECT_EQ(Rows("Select Count(*) From Users Where BillNo='2'"),
            QStringList{"100"});
  EXPECT_LE(added.HeldBytes(), 101u * 32);
}

// An import stores its records in batches, each through AddRows, inside
// one group: one undo takes every record back and one redo stores the
// same records again, the text no column shows included.
TEST_F(PackedRowTest, AnActionOfManyRowsIsUndoneAndRedoneExactly) {
  RawSql("ALTER TABLE Users ADD COLUMN BillNo TEXT");
  const QString all = "Select * From Users Order By trelva_Group_ID, ID";
  const QStringList before = Rows(all);
  CommandHistory &history = file_.History();
  ASSERT_TRUE(history.BeginGroup());
  int stored = 0;
  for (int batch = 0; batch < 3; ++batch) {
    QList<CRowItem> rows;
    for (int i = 0; i < 400; ++i)
      rows.append(RowWithHiddenText(QStringLiteral("超市 %1").arg(i),
                                    QStringLiteral("N%1-%2").arg(batch).arg(i)));
    stored += history.AddRows(rows);
  }
  ASSERT_TRUE(history.EndGroup());
  ASSERT_EQ(stored, 1200);
  const QStringList added = Rows(all);
  ASSERT_EQ(added.size(), before.size() + 1200);
  EXPECT_TRUE(added.contains(Rows("Select * From Users Where BillNo='N2-399'")
                                 .value(0)));

  grid_.calls.clear();
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(Rows(all), before);
  ASSERT_TRUE(history.Redo());
  EXPECT_EQ(Rows(all), added);
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(Rows(all), before);
  // The grid was told of every record each time.
  EXPECT_EQ(grid_.calls.size(), 3 * 1200);
  EXPECT_TRUE(grid_.faults.isEmpty()) << qPrintable(grid_.faults.join('\n'));
  EXPECT_TRUE(prompt_.Texts().isEmpty());
}

} // namespace
