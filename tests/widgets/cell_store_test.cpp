// The cell store without a window: structure, texts, format layers, joins,
// selection and its enumeration, clipboard text, and what a view hears.
#include "widgets/cell_store.h"
#include "widgets/clipboard_text.h"
#include "widgets/compact_texts.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

// Records what a view would be told.
class LogObserver : public CellStoreObserver {
public:
  QStringList log;
  void BeginReset() override { log << "reset("; }
  void EndReset() override { log << ")reset"; }
  void BeginInsertRows(int first, int last) override {
    log << QStringLiteral("insert %1-%2").arg(first).arg(last);
  }
  void EndInsertRows() override {}
  void BeginRemoveRows(int first, int last) override {
    log << QStringLiteral("remove %1-%2").arg(first).arg(last);
  }
  void EndRemoveRows() override {}
  void CellsChanged(const CellRange &r) override {
    log << QStringLiteral("cells %1,%2-%3,%4")
               .arg(r.firstCol)
               .arg(r.firstRow)
               .arg(r.lastCol)
               .arg(r.lastRow);
  }
  void LayoutChanged() override { log << "layout"; }
  void CurrentCellChanged() override { log << "current"; }
  void SelectionChanged() override { log << "selection"; }
};

std::vector<std::pair<int, int>> Enumerated(const CellStore &store) {
  std::vector<std::pair<int, int>> cells;
  int col = 0, row = 0;
  for (bool more = store.EnumFirstSelected(&col, &row); more;
       more = store.EnumNextSelected(&col, &row))
    cells.emplace_back(col, row);
  return cells;
}

CellStore &Grid(CellStore &store, int cols, int rows) {
  store.SetNumberCols(cols);
  store.SetNumberRows(rows);
  return store;
}

} // namespace

TEST(CompactTexts, SetsInAnyOrderAndKeepsTheOthers) {
  CompactTexts texts;
  EXPECT_EQ(texts.Count(), 0);
  EXPECT_TRUE(texts.At(3).isEmpty());
  texts.Set(2, u"二");
  texts.Set(0, u"zero");
  texts.Set(1, u"");
  texts.Set(1, u"one, longer than before");
  texts.Set(0, u"0");
  EXPECT_EQ(texts.Count(), 3);
  EXPECT_EQ(texts.At(0), u"0");
  EXPECT_EQ(texts.At(1), u"one, longer than before");
  EXPECT_EQ(texts.At(2), u"二");
  texts.Set(1, u"1");
  EXPECT_EQ(texts.At(1), u"1");
  EXPECT_EQ(texts.At(2), u"二");
  texts.Resize(2);
  EXPECT_TRUE(texts.At(2).isEmpty());
  texts.Assign({"a", "", "O'Brien"});
  EXPECT_EQ(texts.At(2), u"O'Brien");
  EXPECT_TRUE(texts.At(1).isEmpty());
  CompactTexts moved = std::move(texts);
  EXPECT_EQ(moved.At(0), u"a");
  EXPECT_EQ(texts.Count(), 0);
}

TEST(CellStore, TextsOfCellsAndHeadings) {
  CellStore store;
  Grid(store, 3, 2);
  store.QuickSetText(-1, -1, "编号");
  store.QuickSetText(0, -1, "日期");
  store.QuickSetText(-1, 1, "*");
  store.QuickSetText(2, 1, "O'Brien");
  EXPECT_EQ(store.GetText(-1, -1), "编号");
  EXPECT_EQ(store.GetText(0, -1), "日期");
  EXPECT_EQ(store.GetText(-1, 1), "*");
  EXPECT_EQ(store.GetText(2, 1), "O'Brien");
  EXPECT_EQ(store.GetText(1, 1), "");
  // Outside the grid: reads empty, writes are ignored.
  store.QuickSetText(3, 0, "x");
  store.QuickSetText(0, 2, "x");
  store.QuickSetText(-2, 0, "x");
  EXPECT_EQ(store.GetText(3, 0), "");
  EXPECT_EQ(store.GetText(0, 2), "");
  store.SetRowTexts(0, {"7", "a", "b", "c", "too many"});
  EXPECT_EQ(store.GetText(-1, 0), "7");
  EXPECT_EQ(store.GetText(2, 0), "c");
  // Fewer columns drop the texts of the others; more bring them back empty.
  store.SetNumberCols(2);
  store.SetNumberCols(3);
  EXPECT_EQ(store.GetText(2, 0), "");
  EXPECT_EQ(store.GetText(1, 0), "b");
}

TEST(CellStore, RowsMoveWithTheirDataWhenRowsAreInsertedAndDeleted) {
  CellStore store;
  Grid(store, 2, 0);
  for (int r = 0; r < 2000; ++r) {
    store.AppendRow();
    store.QuickSetText(0, r, QString::number(r));
    store.QuickSetCellData(-1, r, r * 10);
    store.SetRowTag(r, r % 3);
  }
  EXPECT_TRUE(store.InsertRow(700));
  EXPECT_TRUE(store.InsertRow(2001)); // appends
  EXPECT_FALSE(store.InsertRow(2003));
  EXPECT_FALSE(store.InsertRow(-1));
  EXPECT_EQ(store.GetNumberRows(), 2002);
  EXPECT_EQ(store.GetText(0, 699), "699");
  EXPECT_EQ(store.GetText(0, 700), "");
  EXPECT_EQ(store.QuickGetCellData(-1, 700), 0);
  EXPECT_EQ(store.GetText(0, 701), "700");
  EXPECT_EQ(store.QuickGetCellData(-1, 701), 7000);
  EXPECT_EQ(store.GetRowTag(701), 700 % 3);
  EXPECT_TRUE(store.DeleteRows(100, 600));
  EXPECT_FALSE(store.DeleteRows(1400, 10));
  EXPECT_EQ(store.GetText(0, 99), "99");
  EXPECT_EQ(store.GetText(0, 100), "");
  EXPECT_EQ(store.GetText(0, 101), "700");
  // Every remaining row is still in order.
  for (int r = 101; r < 1400; ++r)
    ASSERT_EQ(store.GetText(0, r), QString::number(r + 599)) << r;
  store.SetNumberRows(1);
  EXPECT_EQ(store.GetNumberRows(), 1);
  EXPECT_EQ(store.GetText(0, 0), "0");
}

TEST(CellStore, FormatsResolveCellRowColumnDefault) {
  CellStore store;
  Grid(store, 3, 3);
  CellFormat def;
  def.backColor = MakeColorRef(1, 2, 3);
  def.textColor = 0;
  store.SetGridDefault(def);
  CellFormat heading;
  heading.backColor = 16767935;
  store.SetHeadingDefault(heading);
  CellFormat column;
  column.param = 109;
  column.cellType = CT_DROPLIST;
  column.readOnly = 1;
  store.SetColFormat(1, column);
  store.SetColLabelText(1, "甲\n乙\n");
  store.SetRowBackColor(2, 16728642);
  CellFormat row;
  row.readOnly = 0;
  row.cellType = CT_TEXT;
  row.param = 120;
  store.SetRowFormat(0, row);
  store.SetReadOnly(1, 0, true);
  store.SetParam(0, 0, 180);
  store.QuickSetBackColor(0, 2, 255);

  EXPECT_EQ(store.GetBackColor(2, 1), MakeColorRef(1, 2, 3)); // default
  EXPECT_EQ(store.GetBackColor(-1, 1), 16767935u);            // heading
  EXPECT_EQ(store.GetBackColor(1, -1), 16767935u);
  EXPECT_EQ(store.GetBackColor(-1, -1), 16767935u);
  EXPECT_EQ(store.GetBackColor(1, 2), 16728642u); // row
  EXPECT_EQ(store.GetBackColor(-1, 2), 16767935u); // not the heading
  EXPECT_EQ(store.GetBackColor(0, 2), 255u);       // cell
  EXPECT_EQ(store.GetParam(1, 1), 109);            // column
  EXPECT_EQ(store.QuickGetCellType(1, 1), CT_DROPLIST);
  EXPECT_TRUE(store.IsReadOnly(1, 1));
  EXPECT_EQ(store.GetLabelText(1, 2), "甲\n乙\n");
  EXPECT_EQ(store.GetParam(1, 0), 120); // the row beats the column
  EXPECT_EQ(store.QuickGetCellType(1, 0), CT_TEXT);
  EXPECT_TRUE(store.IsReadOnly(1, 0)); // the cell beats the row
  EXPECT_FALSE(store.IsReadOnly(2, 0));
  EXPECT_EQ(store.GetParam(0, 0), 180);
  EXPECT_EQ(store.GetParam(2, 1), 0); // nothing set
  EXPECT_EQ(store.QuickGetCellType(2, 1), CT_TEXT);
  store.SetLabelText(1, 2, "");
  EXPECT_EQ(store.GetLabelText(1, 2), "");
  store.ClearCellFormat(0, 2);
  EXPECT_EQ(store.GetBackColor(0, 2), 16728642u);
  EXPECT_EQ(ToQColor(16728642), QColor(66, 66, 255));
  EXPECT_EQ(ToQColor(3782352), QColor(208, 182, 57));
}

TEST(CellStore, JoinsLieInOneRowAndMoveWithIt) {
  CellStore store;
  Grid(store, 4, 3);
  EXPECT_TRUE(store.JoinCells(0, 1, 3, 1));
  EXPECT_FALSE(store.JoinCells(2, 1, 2, 1)); // overlaps
  EXPECT_FALSE(store.JoinCells(0, 0, 3, 1)); // two rows
  EXPECT_FALSE(store.JoinCells(0, 0, 4, 0)); // past the last column
  CellRange range;
  EXPECT_TRUE(store.GetJoinRange(2, 1, &range));
  EXPECT_EQ(range, (CellRange{0, 1, 3, 1}));
  EXPECT_FALSE(store.GetJoinRange(2, 0, &range));
  store.InsertRow(0);
  EXPECT_TRUE(store.GetJoinRange(0, 2, &range));
  EXPECT_EQ(store.Joins(), (std::vector<CellRange>{{0, 2, 3, 2}}));
  EXPECT_TRUE(store.UnJoinCells(3, 2));
  EXPECT_FALSE(store.UnJoinCells(3, 2));
  EXPECT_TRUE(store.Joins().empty());
}

TEST(CellStore, CurrentCellIsTheSelectionWhenNoRangeIs) {
  CellStore store;
  EXPECT_TRUE(Enumerated(store).empty()); // no cells at all
  Grid(store, 3, 4);
  EXPECT_TRUE(store.GotoCell(1, 2));
  EXPECT_FALSE(store.GotoCell(3, 2));
  EXPECT_FALSE(store.GotoCell(-1, 2));
  EXPECT_EQ(store.GetCurrentCol(), 1);
  EXPECT_EQ(Enumerated(store), (std::vector<std::pair<int, int>>{{1, 2}}));
  EXPECT_EQ(store.SelectedCellCount(), 1);
  EXPECT_EQ(store.SelectedRowList(), std::vector<int>{2});
  EXPECT_TRUE(store.IsSelected(1, 2));
  EXPECT_TRUE(store.GotoRow(3));
  EXPECT_EQ(store.GetCurrentCol(), 1);
  EXPECT_EQ(store.GetCurrentRow(), 3);
}

TEST(CellStore, RangesEnumerateEveryCellOnce) {
  CellStore store;
  Grid(store, 4, 10);
  store.SelectRange(2, 3, 0, 1); // corners in any order
  store.SelectRange(1, 2, 3, 2); // overlaps the first
  store.SelectRange(0, 8, 9, 20); // cut to the grid
  const auto cells = Enumerated(store);
  const std::set<std::pair<int, int>> unique(cells.begin(), cells.end());
  EXPECT_EQ(cells.size(), unique.size());
  EXPECT_EQ(cells.size(), size_t(9 + 1 + 8));
  EXPECT_EQ(cells.front(), std::make_pair(0, 1));
  EXPECT_EQ(store.SelectedCellCount(), 18);
  long long visited = 0;
  store.ForEachSelected([&](int, int) { ++visited; });
  EXPECT_EQ(visited, 18);
  EXPECT_EQ(store.SelectedRowList(), (std::vector<int>{1, 2, 3, 8, 9}));
  EXPECT_EQ(store.SelectedColList(), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_FALSE(store.IsSelected(3, 1));
  EXPECT_TRUE(store.IsSelected(3, 2));
  // Going to a cell leaves it alone selected.
  store.GotoCell(3, 5);
  EXPECT_EQ(Enumerated(store), (std::vector<std::pair<int, int>>{{3, 5}}));
  store.SelectAll();
  EXPECT_EQ(store.SelectedCellCount(), 40);
  store.ClearSelections();
  EXPECT_EQ(store.SelectedCellCount(), 1);
  store.SetMultiSelectMode(false);
  store.SelectRange(0, 0, 3, 3);
  EXPECT_EQ(store.SelectedCellCount(), 1);
}

TEST(CellStore, SelectionFollowsInsertedAndDeletedRows) {
  CellStore store;
  Grid(store, 2, 10);
  store.GotoCell(0, 5);
  store.SelectRange(0, 4, 1, 6);
  store.InsertRow(0);
  EXPECT_EQ(store.SelectedRowList(), (std::vector<int>{5, 6, 7}));
  EXPECT_EQ(store.GetCurrentRow(), 6);
  store.InsertRow(6); // inside the range: it grows
  EXPECT_EQ(store.SelectedRowList(), (std::vector<int>{5, 6, 7, 8}));
  store.DeleteRows(4, 3); // its top goes
  EXPECT_EQ(store.SelectedRowList(), (std::vector<int>{4, 5}));
  EXPECT_EQ(store.GetCurrentRow(), 4);
  store.DeleteRows(4, 2); // all of it goes; the current cell remains
  EXPECT_EQ(store.SelectedRowList(), (std::vector<int>{4}));
  store.SetNumberRows(0);
  EXPECT_EQ(store.SelectedCellCount(), 0);
  EXPECT_FALSE(store.HasCurrentCell());
}

TEST(CellStore, CopiedTextPastesBackIntoTheSameCells) {
  CellStore store;
  Grid(store, 3, 4);
  store.QuickSetText(0, 0, "12.5");
  store.QuickSetText(1, 0, "tab\there");
  store.QuickSetText(2, 0, "say \"hi\"");
  store.QuickSetText(0, 1, "two\r\nlines");
  store.QuickSetText(2, 1, "O'Brien");
  store.SelectRange(0, 0, 2, 1);
  const QString copied = store.CopySelectedText();
  EXPECT_EQ(copied, "12.5\t\"tab\there\"\t\"say \"\"hi\"\"\"\r\n"
                    "\"two\r\nlines\"\t\tO'Brien");
  store.GotoCell(0, 2);
  store.SetReadOnly(1, 3, true);
  const std::vector<int> rows = store.PasteText(copied);
  EXPECT_EQ(rows, (std::vector<int>{2, 3}));
  for (int col = 0; col < 3; ++col)
    EXPECT_EQ(store.GetText(col, 2), store.GetText(col, 0)) << col;
  EXPECT_EQ(store.GetText(0, 3), "two\r\nlines");
  EXPECT_EQ(store.GetText(2, 3), "O'Brien");
  // A filter keeps cells out; what does not fit is dropped.
  store.GotoCell(1, 3);
  const auto written = store.PasteText(
      "a\tb\tc\nd", [](int col, int) { return col != 2; });
  EXPECT_TRUE(written.empty()); // (1,3) is read-only and (2,3) filtered
  EXPECT_EQ(store.GetText(2, 3), "O'Brien");
  // Cells outside the selection copy empty.
  store.ClearSelections();
  store.SelectRange(0, 0, 0, 0);
  store.SelectRange(2, 1, 2, 1);
  EXPECT_EQ(store.CopySelectedText(), "12.5\t\t\r\n\t\tO'Brien");
}

TEST(ClipboardText, ReadsSpreadsheetLayout) {
  EXPECT_TRUE(ParseClipboardText("").empty());
  EXPECT_EQ(ParseClipboardText("a\tb\n"),
            (std::vector<QStringList>{{"a", "b"}}));
  EXPECT_EQ(ParseClipboardText("a\r\n\tc"),
            (std::vector<QStringList>{{"a"}, {"", "c"}}));
  EXPECT_EQ(ParseClipboardText("\"x\"\"y\ty\"\tz"),
            (std::vector<QStringList>{{"x\"y\ty", "z"}}));
  EXPECT_EQ(QuoteClipboardCell("plain"), "plain");
}

TEST(CellStore, AViewHearsOneResetForABatchAndSingleChangesOtherwise) {
  CellStore store;
  LogObserver log;
  store.SetObserver(&log);
  store.BeginUpdate();
  Grid(store, 3, 0);
  for (int r = 0; r < 100; ++r) {
    store.AppendRow();
    store.QuickSetText(0, r, "x");
  }
  store.GotoRow(99);
  store.EndUpdate();
  EXPECT_EQ(log.log, (QStringList{"reset(", ")reset"}));
  log.log.clear();
  store.QuickSetText(1, 4, "y");
  store.QuickSetText(1, 4, "y"); // unchanged: nothing
  store.InsertRow(2);
  store.DeleteRow(2);
  store.SetColWidth(0, 80);
  store.SetRowBackColor(3, 255);
  EXPECT_EQ(log.log, (QStringList{"cells 1,4-1,4", "insert 2-2", "remove 2-2",
                                  "layout", "cells -1,3-2,3"}));
  log.log.clear();
  store.GotoCell(0, 0);
  EXPECT_EQ(log.log, (QStringList{"current", "selection"}));
}
