// The records grid on a real account file, without showing a window: rows
// and bands, typing new records, edits that keep every other stored value,
// a key that is not the first column, stored texts shown, several grids on
// one file, queries and the filter.
#include "records_page_fixture.h"

#include "db/db_visiter.h"
#include "document/group_edits.h"
#include "groups/group_tree.h"
#include "formula/evaluate_formula.h"
#include "records/command_history.h"
#include "records/ui/grid_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>

#include <climits>

namespace {

using RecordsGridTest = RecordsPageTest;

TEST_F(RecordsGridTest, EachGroupHasAHeaderAndANewRecordRow) {
  ASSERT_EQ(Grid().GetNumberRows(), 4);
  EXPECT_EQ(Grid().GetNumberCols(), 9);
  EXPECT_EQ(Grid().GetText(-1, -1), "编号");
  EXPECT_EQ(Grid().GetText(kTotal, -1), "金额");
  EXPECT_EQ(Grid().GetColWidth(kItem), 120);
  EXPECT_EQ(Grid().GetColWidth(-1), 50);
  EXPECT_EQ(HeaderRow(2), 0);
  EXPECT_EQ(NewRecordRow(2), 1);
  EXPECT_EQ(HeaderRow(3), 2);
  EXPECT_EQ(NewRecordRow(3), 3);

  EXPECT_EQ(Grid().DisplayText(-1, 0), "+");
  EXPECT_EQ(Grid().DisplayText(0, 0), "缺省分组");
  EXPECT_EQ(Grid().GetParam(0, 0), CSorvansGridCtrl::kHeaderRowMark);
  EXPECT_EQ(Grid().GetBackColor(3, 0), CSorvansGridCtrl::kHeaderRowColor);
  EXPECT_EQ(Grid().GetTextColor(3, 0), CSorvansGridCtrl::kWhite);
  EXPECT_EQ(Grid().GetBackColor(-1, 0), CSorvansGridCtrl::kHeadingColor);
  CellRange join;
  ASSERT_TRUE(Grid().GetJoinRange(4, 0, &join));
  EXPECT_EQ(join, (CellRange{0, 0, 8, 0}));
  EXPECT_FALSE(Grid().DrawsFocusRect(2, 0));
  // Showing the first line starts below the header, which keeps its blue.
  file_.Settings().showLastLine = false;
  page_->Refresh();
  EXPECT_EQ(Grid().GetCurrentRow(), 1);

  // The new-record row: "*" is only what its heading shows; its key reads
  // empty, whatever column comes first.
  EXPECT_EQ(Grid().DisplayText(-1, 1), "*");
  EXPECT_EQ(Grid().CellText(-1, 1), "");
  EXPECT_EQ(Grid().GetBackColor(kItem, 1), CSorvansGridCtrl::kWhite);
  // Every cell opens its editor as a record's does: numbers, texts,
  // options, dates and times.
  for (int col : {kData, kMoment, kCategory, kPayment, kAmount, kCount, kTotal,
                  kItem, kMemo})
    EXPECT_FALSE(Grid().IsReadOnly(col, 1)) << col;
  EXPECT_TRUE(Grid().IsReadOnly(kItem, 0));
}

TEST_F(RecordsGridTest, TypingIntoTheNewRecordRowStoresARecordWithDefaults) {
  Group(2).largestKey = 41;
  Grid().GotoCell(kAmount, 1);
  Type(kAmount, 1, "12.5");
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));

  const QDate today = QDate::currentDate();
  const QString date = QStringLiteral("%1/%2/%3")
                           .arg(today.year())
                           .arg(today.month())
                           .arg(today.day());
  EXPECT_EQ(Records(2), QStringList({"42||12.5|1|12.5|"}));
  EXPECT_EQ(Rows("Select Category, Payment, Data From Users"),
            QStringList({"其他|现金|" + date}));
  // The row became the record; a fresh new-record row follows and takes
  // the typing on.
  ASSERT_EQ(RecordRows(2), std::vector<int>({1}));
  EXPECT_EQ(Grid().DisplayText(-1, 1), "42");
  EXPECT_EQ(Grid().DisplayText(kTotal, 1), "12.5");
  EXPECT_EQ(Grid().DisplayText(kData, 1), date);
  EXPECT_EQ(Grid().GetBackColor(kItem, 1), CSorvansGridCtrl::kBandColor1);
  EXPECT_FALSE(Grid().IsReadOnly(kCategory, 1));
  EXPECT_EQ(Grid().QuickGetCellType(kCategory, 1), CT_DROPLIST);
  EXPECT_EQ(NewRecordRow(2), 2);
  EXPECT_EQ(Grid().CellText(kAmount, 2), "");
  EXPECT_EQ(Grid().GetCurrentRow(), 2);
  EXPECT_EQ(Grid().GetCurrentCol(), kAmount);
  EXPECT_EQ(HeaderRow(3), 3);

  // An empty text stores nothing; the same text again saves nothing.
  Type(kItem, 2, "");
  EXPECT_EQ(Records(2).size(), 1);
  hints_.hints.clear();
  Type(kAmount, 1, "12.5");
  EXPECT_TRUE(hints_.hints.isEmpty());
  EXPECT_EQ(file_.History().UndoDepth(), 1);
}

// A group whose keys are used up stores nothing, rather than a record
// with key 0.
TEST_F(RecordsGridTest, AGroupWithoutKeysLeftRefusesTheNewRecord) {
  Group(2).largestKey = INT_MAX;
  Type(kItem, 1, "lunch");
  EXPECT_TRUE(prompt_.Texts().contains("分组“缺省分组”的编号已用尽"))
      << qPrintable(prompt_.Texts().join('\n'));
  EXPECT_TRUE(Records(2).isEmpty());
  EXPECT_TRUE(Grid().IsNewRecordRow(1));
}

TEST_F(RecordsGridTest, AFailedInsertKeepsTheTypedTextAndAddsNoRow) {
  RawSql("CREATE TRIGGER refuse BEFORE INSERT ON Users "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  Type(kItem, 1, "lunch");
  EXPECT_EQ(prompt_.Texts().count("失败！"), 1);
  EXPECT_TRUE(RecordRows(2).empty());
  EXPECT_EQ(Grid().CellText(kItem, 1), "lunch");
  EXPECT_TRUE(Grid().IsNewRecordRow(1));
}

// A date given in the new-record row wins over the automatic date; a date
// or an amount that is no value stores nothing.
TEST_F(RecordsGridTest, GivenDatesAreKeptAndValuesThatAreNoneRefused) {
  Grid().OnCellValueChanged(kData, 1, "2024-2-30");
  EXPECT_EQ(prompt_.Texts(), QStringList{"日期格式不正确"});
  EXPECT_TRUE(RecordRows(2).empty());
  Grid().OnCellValueChanged(kData, 1, "2024-2-29");
  EXPECT_EQ(Rows("Select ID, Data From Users"), QStringList{"1|2024/2/29"});

  prompt_.Clear();
  Type(kAmount, NewRecordRow(2), "1/0");
  // Amount and the Total made of it.
  EXPECT_EQ(prompt_.Texts(), (QStringList{NotFiniteMessage("1/0"),
                                          NotFiniteMessage("1/0*1")}));
  EXPECT_EQ(Grid().CellText(kAmount, NewRecordRow(2)), "1/0");
  const int record = RecordRows(2).front();
  prompt_.Clear();
  Type(kCount, record, "0/0");
  EXPECT_EQ(prompt_.Texts(), (QStringList{NotFiniteMessage("0/0"),
                                          NotFiniteMessage("0*0/0")}));
  EXPECT_EQ(Grid().CellText(kCount, record), "1");
  EXPECT_EQ(Records(2), QStringList({"1||0|1|0|"}));
  // A word in a number column: one message, and the cell keeps its value.
  prompt_.Clear();
  Type(kAmount, record, "abc");
  EXPECT_EQ(prompt_.Texts(), QStringList{"单价：abc 不是数字"});
  EXPECT_EQ(Grid().CellText(kAmount, record), "0");
  Type(kAmount, record, "2*3");
  EXPECT_EQ(Records(2), QStringList({"1||6|1|6|"}));
}

TEST_F(RecordsGridTest, EditingACellRecalculatesItsDependentsOnly) {
  TypeRecords(2, {"a", "b"});
  Type(kAmount, 1, "2.5");
  Type(kCount, 1, "4");
  EXPECT_EQ(Records(2), QStringList({"1|a|2.5|4|10|", "2|b|0|1|0|"}));
  EXPECT_EQ(Grid().DisplayText(kTotal, 1), "10");
  // A total typed over stays until a cell it depends on changes.
  Type(kTotal, 1, "99");
  Type(kItem, 1, "c");
  EXPECT_EQ(Records(2).first(), "1|c|2.5|4|99|");
  Type(kCount, 1, "2");
  EXPECT_EQ(Records(2).first(), "1|c|2.5|2|5|");

  ASSERT_TRUE(file_.History().Undo());
  EXPECT_EQ(Records(2).first(), "1|c|2.5|4|99|");
  EXPECT_EQ(Grid().DisplayText(kTotal, 1), "99");
}

TEST_F(RecordsGridTest, AnEditKeepsTheOtherStoredValuesAsTheyWere) {
  // Data becomes a date/time column.
  RawSql("UPDATE TableStyle SET 数据类型=5 WHERE 字段名='Data'");
  ASSERT_TRUE(file_.LoadAccountFile());
  RawSql("INSERT INTO Users (ID, Data, Moment, Amount, Count, Total, "
         "trelva_Group_ID) VALUES (1, '2010-05-03 09:05:07', "
         "'1899-12-30 23:59:58', 1, 1, 1, 2)");
  RawSql("INSERT INTO Users (ID, Amount, Count, Total, trelva_Group_ID) "
         "VALUES (2, 1, 1, 1, 2)");
  page_->Refresh();
  const QStringList before =
      Rows("Select ID, Data, Moment From Users Order By ID");
  ASSERT_EQ(before, QStringList({"1|2010/5/3 9:05:07|23:59:58", "2||"}));
  ASSERT_EQ(RecordRows(2), std::vector<int>({1, 2}));
  // Only the date part and the time are shown; the cells keep the rest.
  EXPECT_EQ(Grid().DisplayText(kData, 1), "2010/5/3");
  EXPECT_EQ(Grid().DisplayText(kMoment, 1), "23:59:58");
  EXPECT_EQ(Grid().DisplayText(kData, 2), "");

  Type(kAmount, 1, "3");
  Type(kAmount, 2, "4");
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
  EXPECT_EQ(Rows("Select ID, Data, Moment From Users Order By ID"), before);
  EXPECT_EQ(Rows("Select Amount From Users Order By ID"),
            QStringList({"3", "4"}));
  ASSERT_TRUE(file_.History().Undo());
  EXPECT_EQ(Rows("Select ID, Data, Moment From Users Order By ID"), before);
}

TEST_F(RecordsGridTest, TheGridShowsWhatTheFileStored) {
  TypeRecords(2, {"a"});
  Type(kAmount, 1, "2.50");
  EXPECT_EQ(Grid().CellText(kAmount, 1), "2.5");
  EXPECT_EQ(Grid().CellText(kTotal, 1), "2.5");
  Type(kMemo, 1, "O'Brien");
  EXPECT_EQ(Grid().CellText(kMemo, 1), "O'Brien");
  EXPECT_EQ(Rows("Select Memo From Users"), QStringList({"O'Brien"}));
  // After a failure the cell shows the stored text again.
  RawSql("CREATE TRIGGER refuse BEFORE UPDATE ON Users "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  Type(kAmount, 1, "7");
  EXPECT_EQ(prompt_.Texts().count("失败！"), 1);
  EXPECT_EQ(Grid().CellText(kAmount, 1), "2.5");
  EXPECT_EQ(file_.History().UndoDepth(), 3);
}

TEST_F(RecordsGridTest, AKeyInTheFourthColumnIsReadOnlyAndAddressesTheRecord) {
  // Order: Data, Moment, Category, ID, ... : the key moves to position 3.
  RawSql("UPDATE TableStyle SET 编号=编号-1 WHERE 编号 BETWEEN 2 AND 4");
  RawSql("UPDATE TableStyle SET 编号=4 WHERE 字段名='ID'");
  ASSERT_TRUE(file_.LoadAccountFile());
  ASSERT_EQ(file_.Columns().KeyPosition(), 3);
  page_->Refresh();
  ASSERT_EQ(Grid().KeyGridColumn(), 2);
  EXPECT_EQ(Grid().GetText(-1, -1), "日期");

  TypeRecords(2, {"a", "b"});
  EXPECT_EQ(Records(2), QStringList({"1|a|0|1|0|", "2|b|0|1|0|"}));
  EXPECT_TRUE(Grid().IsReadOnly(2, 1));
  EXPECT_TRUE(Grid().IsReadOnly(2, NewRecordRow(2)));
  EXPECT_EQ(Grid().CellText(-1, NewRecordRow(2)), "");
  EXPECT_EQ(Grid().DisplayText(-1, NewRecordRow(2)), "*");
  // The heading shows the date now; the key stays in its cell.
  EXPECT_EQ(Grid().CellText(2, 2), "2");
  Type(kItem, 2, "second"); // Item is grid column 7 in this order too
  EXPECT_EQ(Records(2), QStringList({"1|a|0|1|0|", "2|second|0|1|0|"}));
  // A paste skips the key cell.
  QApplication::clipboard()->setText("77\t银行卡\n");
  Grid().SetSelection({{2, 1, 3, 1}}, 2, 1);
  ASSERT_TRUE(page_->RunCommand(ID_EDIT_PASTE));
  EXPECT_EQ(Rows("Select ID, Payment From Users Order By ID"),
            QStringList({"1|银行卡", "2|现金"}));
}

TEST_F(RecordsGridTest, ARowHintOnlyCountsWhileItShowsTheRecord) {
  TypeRecords(2, {"a", "b", "c"});
  CRowItem second = StoredRow(2, 2);
  second.gridNumber = Grid().GridNumber();
  // The hint names the header, then a row of another record.
  for (int hint : {0, 1, 99}) {
    second.gridRow = hint;
    second.Item("Memo")->text = QStringLiteral("m%1").arg(hint);
    ASSERT_EQ(file_.History().UpdateRows({second}), 1);
    EXPECT_EQ(Grid().CellText(kMemo, 2), QStringLiteral("m%1").arg(hint));
  }
  EXPECT_EQ(Grid().CellText(kMemo, 1), "");
  EXPECT_TRUE(Grid().IsHeaderRow(0));
  // An insert whose hint is a header goes to the end of its group.
  CRowItem extra = NewRow(2, {{"Item", "d"}}, &Grid());
  extra.gridRow = 0;
  ASSERT_EQ(file_.History().AddRows({extra}), 1);
  EXPECT_EQ(Grid().CellText(kItem, 4), "d");
  EXPECT_TRUE(Grid().IsNewRecordRow(5));
  EXPECT_TRUE(Grid().IsHeaderRow(0));
}

TEST_F(RecordsGridTest, TwoGridsShowEachChangeAndOneMayClose) {
  FakeWindow other = window_;
  auto second = std::make_unique<CSorvanGridView>(&other);
  second->SetActivePage(true);
  second->Refresh();
  EXPECT_EQ(file_.Grids().size(), 2);

  TypeRecords(2, {"a"});
  EXPECT_EQ(second->Grid().CellText(kItem, 1), "a");
  EXPECT_TRUE(second->Grid().IsNewRecordRow(2));
  // Typed in the second grid, then the second grid closes.
  second->Grid().OnEditFinish(kItem, 2, "b", false);
  EXPECT_EQ(Grid().CellText(kItem, 2), "b");
  second.reset();
  EXPECT_EQ(file_.Grids().size(), 1);
  ASSERT_TRUE(file_.History().Undo());
  EXPECT_EQ(RecordRows(2), std::vector<int>({1}));
  ASSERT_TRUE(file_.History().Redo());
  EXPECT_EQ(RecordRows(2), std::vector<int>({1, 2}));
  EXPECT_EQ(Records(2), QStringList({"1|a|0|1|0|", "2|b|0|1|0|"}));
}

TEST_F(RecordsGridTest, BandsChangeWithTheDate) {
  const char *dates[] = {"2010-05-03", "2010-05-03", "2010-05-04",
                         "2010-05-05", "2010-05-05"};
  for (int i = 0; i < 5; ++i)
    RawSql(QStringLiteral("INSERT INTO Users (ID, Data, trelva_Group_ID) "
                          "VALUES (%1, '%2', 3)")
               .arg(i + 1)
               .arg(dates[i])
               .toUtf8()
               .constData());
  page_->Refresh();
  const std::vector<int> rows = RecordRows(3);
  ASSERT_EQ(rows.size(), 5u);
  const ColorRef one = CSorvansGridCtrl::kBandColor1;
  const ColorRef two = CSorvansGridCtrl::kBandColor2;
  std::vector<ColorRef> colors;
  for (int row : rows)
    colors.push_back(Grid().GetBackColor(kItem, row));
  EXPECT_EQ(colors, (std::vector<ColorRef>{one, one, two, one, one}));
  EXPECT_EQ(Grid().GetBackColor(-1, rows[0]), CSorvansGridCtrl::kHeadingColor);
  // An edited row takes the band from the row above.
  Type(kAmount, rows[1], "5");
  EXPECT_EQ(Grid().GetBackColor(kItem, rows[1]), one);
}

TEST_F(RecordsGridTest, NoFilterMeansNoRecordsAndAFailedQueryIsToldOnce) {
  TypeRecords(2, {"a"});
  TypeRecords(3, {"b"});
  window_.filterBuilt = false;
  page_->Refresh();
  EXPECT_TRUE(RecordRows(2).empty());
  EXPECT_TRUE(RecordRows(3).empty());
  EXPECT_EQ(NewRecordRow(3), 3);

  window_.filterBuilt = true;
  window_.filter = "[Item]='b'";
  page_->Refresh();
  EXPECT_TRUE(RecordRows(2).empty());
  EXPECT_EQ(RecordRows(3).size(), 1u);

  window_.filter = "NoSuchColumn=1";
  prompt_.Clear();
  page_->Refresh();
  EXPECT_EQ(prompt_.Texts(), QStringList({"查询失败！"}));
  EXPECT_EQ(Grid().GetNumberRows(), 4);
}

TEST_F(RecordsGridTest, HintsReloadThePageOnlyForItsBitAndOnceWhenShown) {
  TypeRecords(2, {"a"});
  RawSql("INSERT INTO Users (ID, Item, trelva_Group_ID) VALUES (9, 'x', 2)");
  file_.Notify(6);
  EXPECT_EQ(RecordRows(2).size(), 1u);
  file_.Notify(7); // the fake window does not pass hints: tell the page
  page_->OnChangeNotify(file_, 6);
  EXPECT_EQ(RecordRows(2).size(), 1u);
  page_->SetActivePage(false);
  page_->OnChangeNotify(file_, 7);
  page_->OnChangeNotify(file_, HINT_ALL);
  EXPECT_EQ(RecordRows(2).size(), 1u);
  page_->SetActivePage(true);
  EXPECT_EQ(RecordRows(2).size(), 2u);
}

TEST_F(RecordsGridTest, AnEditOfAGroupThatIsGoneIsRefused) {
  window_.groups = {2, 5};
  page_->Refresh();
  const int newRow = NewRecordRow(5);
  ASSERT_TRUE(DeleteGroup(file_, Group(5)));
  prompt_.Clear();
  Type(kItem, newRow, "late");
  EXPECT_EQ(prompt_.Texts(), QStringList({"该组已不存在！"}));
  EXPECT_TRUE(Records().isEmpty());
}

} // namespace
