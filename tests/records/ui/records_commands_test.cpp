// The records page's edit commands on a real account file: delete, cut,
// copy and paste as one undoable action each, moving records between
// groups, text paste into editable record cells only, find, the summary
// and the enabling of the commands.
#include "records_page_fixture.h"

#include "db/db_visiter.h"
#include "model/column_store.h"
#include "records/command_history.h"
#include "records/ui/find_dialog.h"
#include "records/ui/grid_commands.h"
#include "widgets/cell_grid_view.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "formula/format_decimal.h"
#include "support/query_rows.h"

namespace {

class RecordsCommandsTest : public RecordsPageTest {
protected:
  CommandHistory &History() { return file_.History(); }
};

TEST_F(RecordsCommandsTest, DeleteAsksThenDeletesTheRecordsAsOneStep) {
  TypeRecords(2, {"a", "b", "c", "d"});
  // Three records and the header row selected.
  SelectRows({0, 1, 3, 4});
  prompt_.Clear();
  prompt_.QueueAnswer(0);
  page_->RunCommand(ID_EDIT_DELETE);
  EXPECT_EQ(prompt_.Texts(), QStringList({"准备删除3条记录！"}));
  EXPECT_EQ(Records(2).size(), 4);

  SelectRows({0, 1, 3, 4});
  prompt_.QueueAnswer(1);
  const int depth = History().UndoDepth();
  ASSERT_TRUE(page_->RunCommand(ID_EDIT_DELETE));
  EXPECT_EQ(Records(2), QStringList({"2|b|0|1|0|"}));
  EXPECT_EQ(History().UndoDepth(), depth + 1);
  EXPECT_EQ(RecordRows(2), std::vector<int>({1}));

  ASSERT_TRUE(page_->RunCommand(ID_EDIT_UNDO));
  EXPECT_EQ(Records(2).size(), 4);
  // Back at the rows they had, in key order.
  EXPECT_EQ(Shown(1).section('|', 0, 0), "1");
  EXPECT_EQ(Shown(3).section('|', 0, 0), "3");
  EXPECT_EQ(Shown(4).section('|', 0, 0), "4");
  ASSERT_TRUE(page_->RunCommand(ID_EDIT_REDO));
  EXPECT_EQ(Records(2), QStringList({"2|b|0|1|0|"}));
}

TEST_F(RecordsCommandsTest, ManyRowsComeBackAsTheyWereStored) {
  // 80 records, some without a date or time.
  RawSql("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
         "WHERE i < 80) INSERT INTO Users (ID, Data, Moment, Amount, Item, "
         "trelva_Group_ID) SELECT i, CASE WHEN i % 3 = 0 THEN NULL ELSE "
         "'2010-05-03 00:00:00' END, CASE WHEN i % 2 = 0 THEN NULL ELSE "
         "'1899-12-30 09:05:07' END, i / 4.0, 'r' || i, 2 FROM n");
  page_->Refresh();
  const QStringList before =
      Rows("Select ID, Data, Moment, Amount, Item From Users Order By ID");
  ASSERT_EQ(before.size(), 80);
  ASSERT_EQ(RecordRows(2).size(), 80u);
  const QString shown40 = Shown(40);

  SelectRows(RecordRows(2));
  prompt_.QueueAnswer(1);
  ASSERT_TRUE(page_->RunCommand(ID_EDIT_DELETE));
  EXPECT_TRUE(Records(2).isEmpty());
  EXPECT_EQ(Grid().GetNumberRows(), 4);
  EXPECT_EQ(page_->GridView()->model()->rowCount(), 4);

  ASSERT_TRUE(page_->RunCommand(ID_EDIT_UNDO));
  EXPECT_EQ(Rows("Select ID, Data, Moment, Amount, Item From Users Order By ID"),
            before);
  EXPECT_EQ(page_->GridView()->model()->rowCount(), 84);
  EXPECT_EQ(Shown(40), shown40);
  EXPECT_TRUE(Grid().IsNewRecordRow(81));
}

// A bill's number lives in a column the grid does not show; a record moved
// to another group by cut and paste keeps it.
TEST_F(RecordsCommandsTest, ARecordMovedByCutAndPasteKeepsWhatNoColumnShows) {
  TypeRecords(2, {"a"});
  CDBVisiter &session = *file_.Session();
  ColumnDef hidden;
  hidden.id = 90;
  hidden.order = 90;
  hidden.fieldName = "BillNo";
  hidden.enabled = false;
  ASSERT_TRUE(InsertColumn(session, hidden));
  ASSERT_TRUE(session.Execute("Update Users Set BillNo='N1'"));
  SelectRows(RecordRows(2));
  prompt_.QueueAnswer(1);
  ASSERT_TRUE(page_->RunCommand(ID_EDIT_CUT));
  Grid().GotoCell(kItem, NewRecordRow(3));
  ASSERT_TRUE(page_->RunCommand(ID_EDIT_PASTE));
  EXPECT_EQ(QueryRows(session, "Select trelva_Group_ID, BillNo From Users"),
            QStringList({"3|N1"}));
}

TEST_F(RecordsCommandsTest, OnlyRecordRowsEnableCutCopyAndDelete) {
  TypeRecords(2, {"a"});
  SelectRows({0, NewRecordRow(2)});
  page_->UpdateCommands();
  for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_DELETE})
    EXPECT_FALSE(page_->Action(id)->isEnabled()) << id;
  EXPECT_TRUE(page_->Action(ID_EDIT_PASTE)->isEnabled());
  EXPECT_TRUE(page_->Action(ID_EDIT_FIND)->isEnabled());
  EXPECT_TRUE(page_->Action(ID_EDIT_UNDO)->isEnabled());
  EXPECT_FALSE(page_->Action(ID_EDIT_REDO)->isEnabled());
  SelectRows({0});
  page_->UpdateCommands();
  EXPECT_FALSE(page_->Action(ID_EDIT_PASTE)->isEnabled());
  SelectRows({1});
  page_->UpdateCommands();
  EXPECT_TRUE(page_->Action(ID_EDIT_CUT)->isEnabled());
}

TEST_F(RecordsCommandsTest, CutAndPasteMovesRecordsToAnotherGroup) {
  TypeRecords(2, {"a", "b"});
  Type(kAmount, 1, "2");
  TypeRecords(3, {"x"});
  SelectRows(RecordRows(2));
  prompt_.QueueAnswer(1);
  prompt_.Clear();
  ASSERT_TRUE(page_->RunCommand(ID_EDIT_CUT));
  EXPECT_EQ(prompt_.Texts(), QStringList({"准备剪切2条记录！"}));
  EXPECT_TRUE(Records(2).isEmpty());
  EXPECT_EQ(Grid().ClipboardRows().size(), 2);
  EXPECT_TRUE(QApplication::clipboard()->text().contains("a"));

  const int target = NewRecordRow(3);
  Grid().GotoCell(kItem, target);
  ASSERT_TRUE(page_->RunCommand(ID_EDIT_PASTE));
  // New keys of the target group, the other texts as copied.
  EXPECT_EQ(Records(3), QStringList({"1|x|0|1|0|", "2|a|2|1|2|", "3|b|0|1|0|"}));
  EXPECT_EQ(RecordRows(3).size(), 3u);
  EXPECT_EQ(Grid().CellText(kItem, RecordRows(3)[2]), "b");
  EXPECT_TRUE(Grid().IsNewRecordRow(RecordRows(3)[2] + 1));

  // Pasting again inserts them again, with other keys.
  Grid().GotoCell(kItem, NewRecordRow(3));
  ASSERT_TRUE(page_->RunCommand(ID_EDIT_PASTE));
  EXPECT_EQ(Records(3).size(), 5);
  EXPECT_EQ(Records(3).last(), "5|b|0|1|0|");

  ASSERT_TRUE(History().Undo());
  ASSERT_TRUE(History().Undo());
  EXPECT_EQ(Records(3), QStringList({"1|x|0|1|0|"}));
  ASSERT_TRUE(History().Undo());
  EXPECT_EQ(Records(2), QStringList({"1|a|2|1|2|", "2|b|0|1|0|"}));
  EXPECT_EQ(RecordRows(2).size(), 2u);
}

TEST_F(RecordsCommandsTest, TextPasteWritesOnlyEditableRecordCells) {
  TypeRecords(2, {"a", "b"});
  TypeRecords(3, {"c"});
  // Rows 1, 2 are records of group 2, row 3 its new-record row, row 4 the
  // header of group 3, row 5 a record of group 3.
  ASSERT_EQ(RecordRows(3), std::vector<int>({5}));
  QApplication::clipboard()->setText("9\tp\tq\n8\tr\ts\n7\tt\tu\n6\tv\tw\n5\tx\ty\n");
  Grid().SetSelection({{kTotal, 1, kMemo, 5}}, kTotal, 1);
  const int depth = History().UndoDepth();
  ASSERT_TRUE(page_->RunCommand(ID_EDIT_PASTE));
  EXPECT_EQ(History().UndoDepth(), depth + 1);
  EXPECT_EQ(Records(2), QStringList({"1|p|0|1|9|q", "2|r|0|1|8|s"}));
  EXPECT_EQ(Records(3), QStringList({"1|x|0|1|5|y"}));
  EXPECT_EQ(Grid().CellText(kItem, 3), "");
  EXPECT_TRUE(Grid().IsNewRecordRow(3));
  EXPECT_EQ(Grid().DisplayText(0, 4), "日常开销");

  ASSERT_TRUE(History().Undo());
  EXPECT_EQ(Records(2), QStringList({"1|a|0|1|0|", "2|b|0|1|0|"}));
  EXPECT_EQ(Grid().CellText(kItem, 1), "a");
}

TEST_F(RecordsCommandsTest, FindMovesDownAndUpWithWholeWordAndCase) {
  TypeRecords(2, {"12.5", "Lunch", "lunch", "12"});
  // Rows 1 to 4.
  Grid().GotoCell(kItem, 1);
  EXPECT_TRUE(Grid().FindNext("lunch", FR_DOWN | FR_MATCHCASE));
  EXPECT_EQ(Grid().GetCurrentRow(), 3);
  EXPECT_FALSE(Grid().FindNext("lunch", FR_DOWN | FR_MATCHCASE));
  EXPECT_EQ(Grid().GetCurrentRow(), 3);
  EXPECT_TRUE(Grid().FindNext("LUNCH", 0));
  EXPECT_EQ(Grid().GetCurrentRow(), 2);
  EXPECT_TRUE(Grid().FindNext("12", 0));
  EXPECT_EQ(Grid().GetCurrentRow(), 1);
  EXPECT_TRUE(Grid().FindNext("12", FR_DOWN | FR_WHOLEWORD));
  EXPECT_EQ(Grid().GetCurrentRow(), 4);
  Grid().GotoCell(kItem, 0);
  EXPECT_TRUE(Grid().FindNext("12.5", FR_DOWN | FR_WHOLEWORD));
  EXPECT_EQ(Grid().GetCurrentRow(), 1);
  // The header row's title is no match.
  Grid().GotoCell(0, 5);
  EXPECT_FALSE(Grid().FindNext("缺省", 0));

  // The dialog: find only, downward and match case preset.
  Grid().GotoCell(kItem, 0);
  ASSERT_TRUE(page_->RunCommand(ID_EDIT_FIND));
  CFindDialog *dialog = page_->FindDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->Flags(), unsigned(FR_DOWN | FR_MATCHCASE));
  dialog->TextEdit()->setText("lunch");
  dialog->FindButton()->click();
  EXPECT_EQ(Grid().GetCurrentRow(), 3);
  dialog->close();
}

TEST_F(RecordsCommandsTest, TheSummaryCountsSumsAndAverages) {
  TypeRecords(2, {"a", "b", "c"});
  Type(kAmount, 1, "12.5");
  Type(kAmount, 2, "10");
  Type(kAmount, 3, "3");
  QString text;
  Grid().GotoCell(kAmount, 1);
  EXPECT_FALSE(page_->GetSummaryText(text));
  Grid().SetSelection({{kAmount, 1, kAmount, 3}}, kAmount, 1);
  ASSERT_TRUE(page_->GetSummaryText(text));
  EXPECT_EQ(text, "统计=3 求和=25.5 平均=8.5");
  Grid().SetSelection({{kItem, 1, kItem, 2}}, kItem, 1);
  ASSERT_TRUE(page_->GetSummaryText(text));
  EXPECT_EQ(text, "统计=2 求和=0 平均=0");
  // Only records count, not the group header or the new-record row that a
  // whole column (Ctrl+A) takes in; only numeric columns add up: a date's
  // year is no amount.
  Grid().SetSelection({{kData, 0, kData, 4}}, kData, 0);
  ASSERT_TRUE(page_->GetSummaryText(text));
  EXPECT_EQ(text, "统计=3 求和=0 平均=0");
  Grid().SetSelection({{kAmount, 0, kAmount, 4}}, kAmount, 0);
  ASSERT_TRUE(page_->GetSummaryText(text));
  EXPECT_EQ(text, "统计=3 求和=25.5 平均=8.5");
  Grid().SetSelection({{kData, 1, kAmount, 3}}, kData, 1);
  ASSERT_TRUE(page_->GetSummaryText(text));
  EXPECT_TRUE(text.endsWith(" 求和=25.5 平均=8.5")) << qPrintable(text);
  EXPECT_EQ(LeadingValue(u"  -1.5e2x"), -150);
  EXPECT_EQ(LeadingValue(u"2010/5/3"), 2010);
  EXPECT_EQ(LeadingValue(u".5"), 0.5);
  EXPECT_EQ(LeadingValue(u"e5"), 0);
}

} // namespace

TEST_F(RecordsCommandsTest, MakeRecurringNamesTheSelectedRecord) {
  TypeRecords(3, {"a", "b"});
  const std::vector<int> rows = RecordRows(3);
  SelectRows({rows[1]});
  page_->UpdateCommands();
  QList<std::pair<int, int>> asked;
  QObject::connect(page_.get(), &CSorvanGridView::makeRecurringRequested,
                   [&](int key, int groupId) { asked.append({key, groupId}); });
  ASSERT_TRUE(page_->PopupMenu()->actions().contains(
      page_->Action(ID_MAKE_RECURRING)));
  page_->Action(ID_MAKE_RECURRING)->trigger();
  EXPECT_EQ(asked, (QList<std::pair<int, int>>{{2, 3}}));
  SelectRows({NewRecordRow(3)});
  page_->UpdateCommands();
  EXPECT_FALSE(page_->Action(ID_MAKE_RECURRING)->isEnabled());
}
