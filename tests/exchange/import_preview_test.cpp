// The user's ticks and edits over a checked statement: they survive a new
// check, a bad line takes neither, and a cell takes only what a typed cell
// would.
#include "exchange/import_preview.h"

#include "exchange_test_file.h"

namespace {

ImportCheck CheckOf(StatementImport &import) {
  ImportCheck check;
  QString error;
  EXPECT_TRUE(import.Check(&check, {}, &error)) << qPrintable(error);
  return check;
}

} // namespace

TEST_F(ExchangeTest, PreviewKeepsTicksAndEditsOverANewCheck) {
  StatementImport import(file_);
  QString error;
  ASSERT_TRUE(import.Open(Data("bad_lines.csv"), &error)) << qPrintable(error);
  import.SetGroupId(3);
  ImportPreview preview;
  preview.SetCheck(CheckOf(import));
  ASSERT_EQ(preview.RowCount(), 5);
  EXPECT_EQ(preview.CountsText(), "新 2，重复 0，跳过 0，错误 3，将导入 2");
  const ColumnList &columns = file_.Columns();
  const int amount = columns.PositionOf("Amount");
  const int date = columns.PositionOf("Data");
  const int memo = columns.PositionOf("Memo");

  // A bad line (row 1, 2024-02-30) is neither ticked nor edited.
  EXPECT_FALSE(preview.SetTicked(1, true));
  EXPECT_FALSE(preview.Edit(columns, 1, memo, "x", &error));
  EXPECT_FALSE(preview.Line(1).ticked);

  // A refused text leaves the cell as it was, with the grid's message.
  const QString before = preview.Line(0).texts[amount];
  EXPECT_FALSE(preview.Edit(columns, 0, amount, "abc", &error));
  EXPECT_EQ(error, "单价：abc 不是数字");
  EXPECT_FALSE(preview.Edit(columns, 0, date, "2024-02-30", &error));
  EXPECT_EQ(error, "日期格式不正确");
  EXPECT_EQ(preview.Line(0).texts[amount], before);
  EXPECT_FALSE(preview.Edited(0, amount));

  ASSERT_TRUE(preview.Edit(columns, 0, date, "2024-02-11", &error));
  ASSERT_TRUE(preview.Edit(columns, 0, memo, "O'Brien", &error));
  EXPECT_EQ(preview.Line(0).texts[date], "2024/2/11"); // as stored
  EXPECT_TRUE(preview.SetTicked(4, false));

  // A new check (after the mapping or the rules changed) keeps them.
  preview.SetCheck(CheckOf(import));
  EXPECT_EQ(preview.Line(0).texts[memo], "O'Brien");
  EXPECT_TRUE(preview.Edited(0, memo));
  EXPECT_FALSE(preview.Line(4).ticked);
  EXPECT_EQ(preview.TickedLines(), QSet<int>{2});

  bool cancelled = false;
  ASSERT_EQ(import.Store(preview.Check(), preview.TickedLines(), {},
                         &cancelled, &error),
            1)
      << qPrintable(error);
  EXPECT_EQ(Records(file_, 3), (QStringList{"2024/2/11||3.2|1|3.2|O'Brien"}));
}
