// The cell grid's window driven as a user does: typing, Enter and Escape,
// double clicks, lists and dates, heading clicks, selection both ways,
// colours and joins, one reset per load, and what a screen reader reads.
#include "widgets/cell_grid_model.h"
#include "widgets/cell_grid_view.h"
#include "widgets/date_line_edit.h"

#include <QAccessible>
#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class LoggingGrid : public CellGrid {
public:
  QStringList changes;
  QStringList starts;
  int selectionChanges = 0;
  bool OnEditStart(int col, int row, QChar typed) override {
    starts << QStringLiteral("%1,%2:%3").arg(col).arg(row).arg(typed);
    return CellGrid::OnEditStart(col, row, typed);
  }
  void OnCellValueChanged(int col, int row, const QString &text) override {
    changes << QStringLiteral("%1,%2=%3").arg(col).arg(row).arg(text);
    CellGrid::OnCellValueChanged(col, row, text);
  }
  void OnSelectionChanged() override { ++selectionChanges; }
};

// A grid of 4 columns: text, list, date, read-only text; 5 rows, the first
// a joined header row.
void Fill(CellGrid &grid) {
  grid.BeginUpdate();
  grid.SetNumberCols(4);
  grid.SetNumberRows(5);
  grid.QuickSetText(-1, -1, "编号");
  const QStringList captions{"金额", "类别", "日期", "备注"};
  for (int col = 0; col < 4; ++col) {
    grid.QuickSetText(col, -1, captions[col]);
    grid.SetColWidth(col, 90);
  }
  CellFormat list;
  list.param = 109;
  grid.SetColFormat(1, list);
  grid.SetColLabelText(1, "餐饮\n交通\n");
  CellFormat date;
  date.cellType = CT_DATETIME;
  grid.SetColFormat(2, date);
  CellFormat readOnly;
  readOnly.readOnly = 1;
  grid.SetColFormat(3, readOnly);
  grid.QuickSetText(-1, 0, "+");
  grid.QuickSetText(0, 0, "日常");
  grid.SetRowBackColor(0, 16728642);
  grid.SetRowTextColor(0, 16777215);
  grid.QuickSetAlignment(0, 0, Qt::AlignCenter);
  grid.JoinCells(0, 0, 3, 0);
  for (int row = 1; row < 5; ++row) {
    grid.QuickSetText(-1, row, QString::number(row));
    grid.QuickSetText(0, row, QString::number(row * 10));
    grid.QuickSetText(1, row, "餐饮");
    grid.QuickSetText(2, row, "2010/5/3 12:30:00");
    grid.SetRowBackColor(row, row % 2 ? 3782352 : 12285263);
  }
  grid.GotoCell(0, 1);
  grid.EndUpdate();
}

// Editors close on Enter through a queued call: wait for it.
bool EditEnds(const CellGrid &grid) {
  return QTest::qWaitFor([&grid] { return !grid.IsEditing(); }, 2000);
}

QPoint CellCentre(CellGridView &view, int col, int row) {
  return view.visualRect(view.model()->index(row, col)).center();
}

struct Shown {
  LoggingGrid grid;
  CellGridView view{grid};
  Shown() {
    Fill(grid);
    view.resize(600, 300);
    view.show();
    view.activateWindow();
    view.setFocus();
    QApplication::processEvents();
  }
};

} // namespace

TEST(CellGridView, TypingStartsTheEditorAndEnterCommitsEscapeCancels) {
  Shown s;
  s.grid.GotoCell(0, 2);
  // The first key opens the editor and lands in it; the focus follows.
  QTest::keyClick(&s.view, Qt::Key_5);
  ASSERT_TRUE(s.grid.IsEditing());
  QTest::keyClicks(s.grid.ActiveEditor(), "5");
  EXPECT_EQ(s.grid.starts, QStringList{"0,2:5"});
  QTest::keyClick(s.grid.ActiveEditor(), Qt::Key_Return);
  EXPECT_TRUE(EditEnds(s.grid));
  EXPECT_EQ(s.grid.changes, QStringList{"0,2=55"});
  EXPECT_EQ(s.view.model()->index(2, 0).data().toString(), "55");

  QTest::keyClicks(&s.view, "9");
  ASSERT_TRUE(s.grid.IsEditing());
  QTest::keyClick(s.grid.ActiveEditor(), Qt::Key_Escape);
  EXPECT_TRUE(EditEnds(s.grid));
  EXPECT_EQ(s.grid.GetText(0, 2), "55");
  EXPECT_EQ(s.grid.changes.size(), 1);

  // An unchanged text saves nothing; a read-only cell never opens.
  s.grid.GotoCell(0, 3);
  QTest::keyClick(&s.view, Qt::Key_F2);
  ASSERT_TRUE(s.grid.IsEditing());
  QTest::keyClick(s.grid.ActiveEditor(), Qt::Key_Return);
  EXPECT_TRUE(EditEnds(s.grid));
  EXPECT_EQ(s.grid.changes.size(), 1);
  s.grid.GotoCell(3, 3);
  QTest::keyClicks(&s.view, "x");
  EXPECT_FALSE(s.grid.IsEditing());
  QTest::mouseDClick(s.view.viewport(), Qt::LeftButton, {},
                     CellCentre(s.view, 3, 3));
  EXPECT_FALSE(s.grid.IsEditing());
}

TEST(CellGridView, EditsEndedByCodeReachTheGridAfterTheEditorIsGone) {
  Shown s;
  ASSERT_TRUE(s.grid.StartEdit(0, 4, QChar('7')));
  auto *lineEdit = qobject_cast<QLineEdit *>(s.grid.ActiveEditor());
  ASSERT_TRUE(lineEdit);
  EXPECT_EQ(lineEdit->text(), "7");
  s.grid.EndEdit();
  EXPECT_EQ(s.grid.changes, QStringList{"0,4=7"});
  ASSERT_TRUE(s.grid.StartEdit(0, 4));
  s.grid.CancelEdit();
  EXPECT_FALSE(s.grid.IsEditing());
  EXPECT_EQ(s.grid.changes.size(), 1);
  EXPECT_FALSE(s.grid.StartEdit(3, 1)); // read-only
}

TEST(CellGridView, ListAndDateCellsEditWithTheirOwnEditors) {
  Shown s;
  QTest::mouseClick(s.view.viewport(), Qt::LeftButton, {},
                    CellCentre(s.view, 1, 2));
  QTest::mouseDClick(s.view.viewport(), Qt::LeftButton, {},
                     CellCentre(s.view, 1, 2));
  auto *combo = qobject_cast<QComboBox *>(s.grid.ActiveEditor());
  ASSERT_TRUE(combo);
  ASSERT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->itemText(1), "交通");
  EXPECT_EQ(combo->currentText(), "餐饮");
  combo->hidePopup();
  combo->setCurrentIndex(1);
  emit combo->activated(1);
  EXPECT_TRUE(EditEnds(s.grid));
  EXPECT_EQ(s.grid.changes, QStringList{"1,2=交通"});

  // The date editor starts on the stored text; a day picked in its
  // calendar ends the edit.
  ASSERT_TRUE(s.grid.StartEdit(2, 1));
  auto *dateEdit = qobject_cast<DateLineEdit *>(s.grid.ActiveEditor());
  ASSERT_TRUE(dateEdit);
  EXPECT_EQ(dateEdit->text(), "2010/5/3 12:30:00");
  QTest::keyClick(dateEdit, Qt::Key_Down, Qt::AltModifier);
  ASSERT_TRUE(dateEdit->Calendar());
  EXPECT_EQ(dateEdit->Calendar()->selectedDate(), QDate(2010, 5, 3));
  emit dateEdit->Calendar()->clicked(QDate(2012, 2, 29));
  EXPECT_TRUE(EditEnds(s.grid));
  EXPECT_EQ(s.grid.changes.last(), "2,1=2012/2/29");
  // The date cell shows the date part of what it stores.
  EXPECT_EQ(s.view.model()->index(2, 2).data().toString(), "2010/5/3");
  EXPECT_EQ(s.view.model()->index(2, 2).data(Qt::EditRole).toString(),
            "2010/5/3 12:30:00");
}

TEST(CellGridView, HeadingClicksDoNothingAndSelectionsMeetTheStore) {
  Shown s;
  s.grid.GotoCell(1, 2);
  const int before = s.grid.selectionChanges;
  QHeaderView *top = s.view.horizontalHeader();
  QTest::mouseClick(top->viewport(), Qt::LeftButton, {},
                    QPoint(top->sectionViewportPosition(2) + 5, 5));
  QHeaderView *side = s.view.verticalHeader();
  QTest::mouseClick(side->viewport(), Qt::LeftButton, {},
                    QPoint(5, side->sectionViewportPosition(3) + 5));
  EXPECT_EQ(s.grid.selectionChanges, before);
  EXPECT_EQ(s.grid.SelectedCellCount(), 1);
  EXPECT_EQ(s.grid.GetCurrentCol(), 1);

  // The user's selection reaches the store ...
  QTest::mouseClick(s.view.viewport(), Qt::LeftButton, {},
                    CellCentre(s.view, 0, 1));
  QTest::mouseClick(s.view.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                    CellCentre(s.view, 2, 3));
  EXPECT_EQ(s.grid.SelectedCellCount(), 9);
  EXPECT_EQ(s.grid.SelectedRowList(), (std::vector<int>{1, 2, 3}));
  QTest::mouseClick(s.view.viewport(), Qt::LeftButton, Qt::ControlModifier,
                    CellCentre(s.view, 3, 4));
  EXPECT_EQ(s.grid.SelectedCellCount(), 10);
  QTest::keyClick(&s.view, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(s.grid.SelectedCellCount(), 20);
  QTest::keyClick(&s.view, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), s.grid.CopySelectedText());
  EXPECT_TRUE(QApplication::clipboard()->text().startsWith("日常\t\t\t\r\n10\t"));
  // ... and the store's reaches the view.
  s.grid.GotoCell(2, 4);
  EXPECT_EQ(s.view.currentIndex(), s.view.model()->index(4, 2));
  EXPECT_EQ(s.view.selectionModel()->selectedIndexes().size(), 1);
  s.grid.SelectRange(0, 1, 1, 2);
  EXPECT_EQ(s.view.selectionModel()->selectedIndexes().size(), 4);
}

TEST(CellGridView, ColoursJoinsAndHeadingsComeFromTheStore) {
  Shown s;
  QAbstractItemModel *model = s.view.model();
  EXPECT_EQ(model->index(0, 0).data(Qt::BackgroundRole).value<QBrush>().color(),
            QColor(66, 66, 255));
  EXPECT_EQ(model->index(0, 0).data(Qt::ForegroundRole).value<QBrush>().color(),
            QColor(255, 255, 255));
  EXPECT_EQ(model->index(1, 2).data(Qt::BackgroundRole).value<QBrush>().color(),
            QColor(208, 182, 57));
  EXPECT_EQ(s.view.columnSpan(0, 0), 4);
  EXPECT_EQ(s.view.columnWidth(1), 90);
  EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "类别");
  EXPECT_EQ(model->headerData(0, Qt::Vertical).toString(), "+");
  // The user resizes a column: the store keeps the width.
  s.view.horizontalHeader()->resizeSection(1, 140);
  EXPECT_EQ(s.grid.GetColWidth(1), 140);
  auto *corner = s.view.findChild<QAbstractButton *>(
      QString(), Qt::FindDirectChildrenOnly);
  ASSERT_TRUE(corner);
  EXPECT_EQ(corner->accessibleName(), "编号");
}

TEST(CellGridView, ALoadIsOneResetAndNoSignalPerCell) {
  LoggingGrid grid;
  CellGridView view(grid);
  QSignalSpy resets(view.model(), &QAbstractItemModel::modelReset);
  QSignalSpy inserts(view.model(), &QAbstractItemModel::rowsInserted);
  QSignalSpy changes(view.model(), &QAbstractItemModel::dataChanged);
  Fill(grid);
  EXPECT_EQ(resets.count(), 1);
  EXPECT_EQ(inserts.count(), 0);
  EXPECT_EQ(changes.count(), 0);
  EXPECT_EQ(view.model()->rowCount(), 5);
  EXPECT_EQ(view.currentIndex(), view.model()->index(1, 0));
  // Single changes after the load are single signals.
  grid.InsertRow(5);
  grid.QuickSetText(0, 5, "1");
  EXPECT_EQ(inserts.count(), 1);
  EXPECT_EQ(changes.count(), 1);
}

TEST(CellGridView, AScreenReaderReadsCellsRowHeadingsAndCaptions) {
  Shown s;
  QAccessibleInterface *table = QAccessible::queryAccessibleInterface(&s.view);
  ASSERT_TRUE(table);
  QAccessibleTableInterface *cells = table->tableInterface();
  ASSERT_TRUE(cells);
  QAccessibleInterface *cell = cells->cellAt(2, 0);
  ASSERT_TRUE(cell);
  EXPECT_EQ(cell->text(QAccessible::Name), "20");
  EXPECT_EQ(cells->columnDescription(1), "类别");
  EXPECT_EQ(cells->rowDescription(2), "2");
}

TEST(CellGridView, TheScreenReaderTableFollowsResetsFocusAndTicksBoxes) {
  Shown s;
  CellFormat check;
  check.cellType = CT_CHECKBOX;
  s.grid.SetColFormat(1, check);
  s.grid.QuickSetText(1, 2, "0");
  QAccessibleInterface *table = QAccessible::queryAccessibleInterface(&s.view);
  QAccessibleTableInterface *cells = table->tableInterface();
  ASSERT_TRUE(cells);
  const int columns = s.grid.GetNumberCols();
  EXPECT_EQ(cells->columnCount(), columns);
  EXPECT_EQ(cells->rowCount(), s.grid.GetNumberRows());
  // The box's Toggle ticks it as a click does.
  QAccessibleInterface *box = cells->cellAt(2, 1);
  ASSERT_TRUE(box && box->actionInterface());
  box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_EQ(s.grid.changes, QStringList{"1,2=1"});
  EXPECT_TRUE(box->state().checked);
  const QAccessible::Id boxId = QAccessible::uniqueId(box);
  // The current cell is the focused child, numbered as the view's focus
  // events number it (after the corner, the headings and the row heading).
  s.grid.GotoCell(3, 4);
  QAccessibleInterface *current = table->focusChild();
  ASSERT_TRUE(current);
  EXPECT_EQ(current, table->child((4 + 1) * (columns + 1) + 3 + 1));
  EXPECT_EQ(current->text(QAccessible::Name), s.grid.GetText(3, 4));
  EXPECT_EQ(table->indexOfChild(current), (4 + 1) * (columns + 1) + 3 + 1);
  // A reload forgets the cells handed out; the table reads the new rows.
  s.grid.BeginUpdate();
  s.grid.SetNumberRows(2);
  s.grid.QuickSetText(0, 1, "新");
  s.grid.EndUpdate();
  EXPECT_EQ(QAccessible::accessibleInterface(boxId), nullptr);
  EXPECT_EQ(cells->rowCount(), 2);
  EXPECT_EQ(cells->cellAt(1, 0)->text(QAccessible::Name), "新");
  // A tool that reads every cell of a large grid does not leave an
  // interface behind for each of them, for a reload to free.
  s.grid.SetNumberRows(5000);
  const QAccessible::Id first = QAccessible::uniqueId(cells->cellAt(0, 0));
  for (int i = 0; i < table->childCount(); ++i)
    ASSERT_TRUE(table->child(i));
  EXPECT_EQ(QAccessible::accessibleInterface(first), nullptr);
  EXPECT_EQ(cells->cellAt(4999, 3)->text(QAccessible::Name), "");
}

TEST(CellGridView, FittingColumnsFillsTheVisibleWidthInTheirRatio) {
  Shown s;
  s.grid.SetColWidth(0, 100);
  s.grid.SetColWidth(1, 300);
  const int others = s.grid.GetColWidth(2) + s.grid.GetColWidth(3);
  s.grid.FitToWindow(0, 1);
  const int room = s.grid.VisibleWidth() - others;
  ASSERT_GT(room, 0);
  EXPECT_EQ(s.grid.GetColWidth(0) + s.grid.GetColWidth(1), room);
  EXPECT_NEAR(s.grid.GetColWidth(1), 3 * s.grid.GetColWidth(0), 3);
  EXPECT_EQ(s.view.columnWidth(1), s.grid.GetColWidth(1));
  CellGrid alone;
  alone.SetNumberCols(2);
  alone.FitToWindow(0, 1); // no view: nothing
  EXPECT_EQ(alone.GetColWidth(0), 100);
}

TEST(CellGridView, ABatchKeepsTheScrollPositionWhileTheCurrentCellIsInSight) {
  CellGrid grid;
  CellGridView view(grid);
  grid.BeginUpdate();
  grid.SetNumberCols(2);
  grid.SetNumberRows(1000);
  for (int row = 0; row < 1000; ++row)
    grid.QuickSetText(0, row, QString::number(row));
  grid.EndUpdate();
  view.resize(300, 300);
  view.show();
  QApplication::processEvents();
  grid.GotoCellShown(0, 500);
  const int scrolled = view.verticalScrollBar()->value();
  ASSERT_GT(scrolled, 0);
  {
    CellStore::ScopedUpdate batch(grid);
    for (int row = 900; row > 800; --row)
      grid.DeleteRow(row);
  }
  EXPECT_EQ(grid.GetNumberRows(), 900);
  EXPECT_EQ(view.verticalScrollBar()->value(), scrolled);
  EXPECT_EQ(view.currentIndex(), view.model()->index(500, 0));
  // A load that goes to the first row shows it.
  grid.BeginUpdate();
  grid.GotoRow(0);
  grid.EndUpdate();
  EXPECT_EQ(view.verticalScrollBar()->value(), 0);
}

TEST(CellGridView, CheckBoxCellsToggleByClickAndReadAsYesOrNo) {
  LoggingGrid grid;
  CellGridView view(grid);
  grid.SetNumberCols(2);
  grid.SetNumberRows(2);
  CellFormat check;
  check.cellType = CT_CHECKBOX;
  grid.SetColFormat(1, check);
  grid.QuickSetText(1, 0, "1");
  grid.QuickSetText(1, 1, "0");
  grid.SetReadOnly(1, 1, true);
  view.resize(300, 200);
  view.show();
  QApplication::processEvents();
  QAbstractItemModel *model = view.model();
  EXPECT_EQ(model->index(0, 1).data(Qt::CheckStateRole).toInt(),
            int(Qt::Checked));
  EXPECT_EQ(model->index(0, 1).data(Qt::AccessibleTextRole).toString(), "是");
  EXPECT_EQ(model->index(0, 1).data().toString(), "");
  // A click on the box unticks it; a read-only box stays as it is.
  const QRect rect = view.visualRect(model->index(0, 1));
  QStyleOptionViewItem option;
  option.rect = rect;
  option.features = QStyleOptionViewItem::HasCheckIndicator;
  const QRect box = view.style()->subElementRect(
      QStyle::SE_ItemViewItemCheckIndicator, &option, &view);
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, box.center());
  EXPECT_EQ(grid.changes, QStringList{"1,0=0"});
  EXPECT_EQ(grid.GetText(1, 0), "0");
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                    box.center() + QPoint(0, rect.height()));
  EXPECT_EQ(grid.changes.size(), 1);
}
