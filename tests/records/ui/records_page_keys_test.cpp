// The records page shown (offscreen) and driven with keys as a user does:
// typing a new record, undo and redo by keys, keys reaching the cell
// editor while one is open, and a reload saving the edit in progress.
#include "records_page_fixture.h"

#include "records/command_history.h"
#include "records/ui/grid_commands.h"
#include "widgets/cell_grid_view.h"
#include "widgets/cell_grid_model.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

namespace {

class RecordsPageKeysTest : public RecordsPageTest {
protected:
  void SetUp() override {
    RecordsPageTest::SetUp();
    page_->resize(1000, 500);
    page_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page_.get()));
    page_->setFocus();
  }
  CellGridView *View() { return page_->GridView(); }
  QWidget *Viewport() { return View()->viewport(); }
  QPoint CellCenter(int col, int row) {
    return View()->visualRect(View()->model()->index(row, col)).center();
  }
  bool Editing() { return Grid().IsEditing(); }
};

TEST_F(RecordsPageKeysTest, TypeEnterUndoAndRedoByKeys) {
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, CellCenter(kItem, 1));
  ASSERT_EQ(Grid().GetCurrentRow(), 1);
  QTest::keyClick(View(), Qt::Key_L);
  ASSERT_TRUE(QTest::qWaitFor([this] { return Editing(); }));
  QTest::keyClicks(Grid().ActiveEditor(), "unch");
  QTest::keyClick(Grid().ActiveEditor(), Qt::Key_Return);
  QTRY_COMPARE(Records(2), QStringList({"1|lunch|0|1|0|"}));
  EXPECT_EQ(View()->model()->headerData(1, Qt::Vertical).toString(), "1");
  EXPECT_EQ(View()->model()->headerData(2, Qt::Vertical).toString(), "*");
  EXPECT_EQ(View()->model()->index(1, kItem).data().toString(), "lunch");
  EXPECT_EQ(View()->currentIndex().row(), 2);

  QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
  QTRY_VERIFY(Records(2).isEmpty());
  EXPECT_EQ(View()->model()->rowCount(), 4);
  EXPECT_EQ(View()->model()->headerData(1, Qt::Vertical).toString(), "*");
  QTest::keyClick(View(), Qt::Key_Y, Qt::ControlModifier);
  QTRY_COMPARE(Records(2), QStringList({"1|lunch|0|1|0|"}));
  EXPECT_EQ(View()->model()->index(1, kItem).data().toString(), "lunch");
  // The alternate key of undo.
  QTest::keyClick(View(), Qt::Key_Backspace, Qt::AltModifier);
  QTRY_VERIFY(Records(2).isEmpty());
}

TEST_F(RecordsPageKeysTest, WhileEditingUndoBelongsToTheEditor) {
  TypeRecords(2, {"a"});
  const int depth = file_.History().UndoDepth();
  Grid().GotoCellShown(kItem, 1);
  QTest::keyClick(View(), Qt::Key_B);
  ASSERT_TRUE(QTest::qWaitFor([this] { return Editing(); }));
  auto *editor = qobject_cast<QLineEdit *>(Grid().ActiveEditor());
  ASSERT_NE(editor, nullptr);
  QTest::keyClicks(editor, "cd");
  EXPECT_EQ(editor->text(), "bcd");
  page_->RunCommand(ID_EDIT_UNDO);
  EXPECT_NE(editor->text(), "bcd");
  EXPECT_EQ(file_.History().UndoDepth(), depth);
  EXPECT_EQ(Records(2), QStringList({"1|a|0|1|0|"}));
  // Escape cancels: nothing is saved.
  QTest::keyClick(editor, Qt::Key_Escape);
  QTRY_VERIFY(!Editing());
  EXPECT_EQ(Records(2), QStringList({"1|a|0|1|0|"}));
}

TEST_F(RecordsPageKeysTest, AReloadSavesTheEditInProgressToItsOwnRow) {
  TypeRecords(2, {"a", "b"});
  Grid().GotoCellShown(kMemo, 1);
  QTest::keyClick(View(), Qt::Key_N);
  ASSERT_TRUE(QTest::qWaitFor([this] { return Editing(); }));
  QTest::keyClicks(Grid().ActiveEditor(), "ote");
  // Another window adds a record above; then the page reloads.
  RawSql("INSERT INTO Users (ID, Item, trelva_Group_ID) VALUES (0, 'z', 2)");
  QTest::keyClick(Grid().ActiveEditor(), Qt::Key_F5);
  QTRY_VERIFY(!Editing());
  EXPECT_EQ(Rows("Select ID, Memo From Users Order By ID"),
            QStringList({"0|", "1|note", "2|"}));
  EXPECT_EQ(RecordRows(2).size(), 3u);
}

TEST_F(RecordsPageKeysTest, DeleteKeyAsksAndThePopUpMenuListsTheCommands) {
  TypeRecords(2, {"a", "b"});
  Grid().GotoCellShown(kItem, 2);
  prompt_.Clear();
  prompt_.QueueAnswer(1);
  QTest::keyClick(View(), Qt::Key_Delete);
  EXPECT_EQ(prompt_.Texts(), QStringList({"准备删除1条记录！"}));
  EXPECT_EQ(Records(2), QStringList({"1|a|0|1|0|"}));

  QStringList entries;
  for (QAction *action : page_->PopupMenu()->actions())
    entries.append(action->isSeparator()
                       ? QStringLiteral("-")
                       : action->text() + "=" + action->data().toString());
  EXPECT_EQ(entries, QStringList({"撤消(&U)\tCtrl+Z=57643", "重做(&R)\tCtrl+Y=57644",
                                  "-", "剪切(&T)\tCtrl+X=57635",
                                  "复制(&C)\tCtrl+C=57634", "粘贴(&P)\tCtrl+V=57637",
                                  "删除(&D)\tDel=32788", "-",
                                  "刷新(&F)\tF5=32790", "查找(&F)\tCtrl+F=57636"}));
}

} // namespace
