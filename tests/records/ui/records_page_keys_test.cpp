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

// A date typed into the date cell of a record, after a double click or
// over the cell: every form the program shows or reads gives that date
// (and the time typed with it), any other text is refused once and the
// cell keeps its stored text.
TEST_F(RecordsPageKeysTest, DatesTypedInTheShownFormsAreStoredAsTyped) {
  RawSql("UPDATE TableStyle SET 数据类型=5 WHERE 字段名='Data'"); // date/time
  ASSERT_TRUE(file_.LoadAccountFile());
  page_->Refresh();
  TypeRecords(2, {"a"});
  const int row = RecordRows(2).front();
  auto typeDate = [&](const QString &typed, bool over) {
    if (over) {
      QTest::mouseClick(Viewport(), Qt::LeftButton, {}, CellCenter(kData, row));
      QTest::keyClicks(View(), typed.left(1));
    } else { // the press and release before the double click's second press
      QTest::mouseClick(Viewport(), Qt::LeftButton, {}, CellCenter(kData, row));
      QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, CellCenter(kData, row));
    }
    if (!QTest::qWaitFor([this] { return Editing(); })) {
      ADD_FAILURE() << "no editor for " << typed.toStdString();
      return;
    }
    QTest::keyClicks(Grid().ActiveEditor(), over ? typed.mid(1) : typed);
    if (typed.isEmpty()) // the text is selected: cleared
      QTest::keyClick(Grid().ActiveEditor(), Qt::Key_Backspace);
    QTest::keyClick(Grid().ActiveEditor(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !Editing(); })) << typed.toStdString();
  };
  const struct {
    const char *typed;
    bool over;
    const char *stored; // empty: refused
  } cases[] = {
      {"2024/3/5", false, "2024/3/5"},
      {"2023/1/2", true, "2023/1/2"},
      {"2024/03/05", false, "2024/3/5"},
      {"2024-03-06", true, "2024/3/6"},
      {"20240307", false, "2024/3/7"},
      {"2024/3/5 13:45", false, "2024/3/5 13:45:00"},
      {"2024/3/6 13:45:10", true, "2024/3/6 13:45:10"},
      {"3/5/2024", false, ""},
      {"2024/2/30", true, ""},
      {"13:45", false, ""},
      {"", false, ""},
  };
  QString stored;
  for (const auto &c : cases) {
    prompt_.Clear();
    typeDate(QString::fromUtf8(c.typed), c.over);
    if (*c.stored) {
      stored = QString::fromUtf8(c.stored);
      EXPECT_TRUE(prompt_.Texts().isEmpty()) << c.typed;
    } else {
      EXPECT_EQ(prompt_.Texts(), QStringList{"日期格式不正确"}) << c.typed;
    }
    EXPECT_EQ(Rows("Select Data From Users"), QStringList{stored}) << c.typed;
    EXPECT_EQ(Grid().CellText(kData, row), stored) << c.typed;
  }
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
                                  "刷新(&S)\tF5=32790", "查找(&F)\tCtrl+F=57636",
                                  "-", "设为定期记录(&M)…=32791"}));
}

TEST_F(RecordsPageKeysTest, CtrlASummarisesTheRecordsOnly) {
  TypeRecords(2, {"a", "b"});
  const std::vector<int> rows = RecordRows(2);
  Type(kAmount, rows[0], "10");
  Type(kAmount, rows[1], "5");
  QTest::keyClick(View(), Qt::Key_A, Qt::ControlModifier);
  QString text;
  // Two records of nine columns; the headers and new-record rows of both
  // groups are selected too but are no records. Amount, Count (1) and
  // Total add up to 32 over six numeric cells.
  QTRY_VERIFY(page_->GetSummaryText(text));
  EXPECT_EQ(text, "统计=18 求和=32 平均=5.333");
}

} // namespace

// The option cell of the new-record row opens its list by F2 and by typing,
// as a record's does, and the choice makes the record.
TEST_F(RecordsPageKeysTest, TheNewRecordRowsOptionCellOpensItsList) {
  const int row = NewRecordRow(2);
  ASSERT_GE(row, 0);
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, CellCenter(kCategory, row));
  ASSERT_EQ(Grid().GetCurrentRow(), row);
  QTest::keyClick(View(), Qt::Key_F2);
  ASSERT_TRUE(QTest::qWaitFor([this] { return Editing(); }));
  QTest::keyClick(Grid().ActiveEditor(), Qt::Key_Escape);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !Editing(); }));
  EXPECT_EQ(Grid().GetCurrentRow(), row);
  // Typing a choice's first letter in the cell picks it for this cell and
  // makes the record; it never jumps to another record's cell.
  QTest::sendKeyEvent(QTest::Click, View(), Qt::Key_unknown, QStringLiteral("医"), {});
  ASSERT_TRUE(QTest::qWaitFor(
      [this] { return Rows("Select Category From Users").size() == 1; }));
  EXPECT_EQ(Rows("Select Category From Users Where trelva_Group_ID=2"),
            QStringList{"医疗"});
}
