// The grid control's default notifications, without a window: what reaches
// OnCellValueChanged from an editor, a list, a date picker and a check box,
// and what a cell shows.
#include "widgets/cell_grid.h"

#include <QApplication>
#include <QClipboard>

#include <gtest/gtest.h>

namespace {

class LoggingGrid : public CellGrid {
public:
  QStringList changes;
  void OnCellValueChanged(int col, int row, const QString &text) override {
    changes << QStringLiteral("%1,%2=%3").arg(col).arg(row).arg(text);
    CellGrid::OnCellValueChanged(col, row, text);
  }
};

} // namespace

TEST(CellGrid, OnlyRealChangesReachOnCellValueChanged) {
  LoggingGrid grid;
  grid.SetNumberCols(4);
  grid.SetNumberRows(1);
  grid.QuickSetText(0, 0, "12.5");
  grid.OnEditFinish(0, 0, "12.5", false); // unchanged
  grid.OnEditFinish(0, 0, "13", true);    // cancelled
  grid.OnEditFinish(0, 0, "O'Brien", false);
  EXPECT_EQ(grid.GetText(0, 0), "O'Brien");

  grid.QuickSetText(1, 0, "甲");
  grid.OnDropListSelect(1, 0, "甲");
  grid.OnDropListSelect(1, 0, "乙");

  grid.SetCellType(2, 0, CT_DATETIME);
  grid.QuickSetText(2, 0, "2010/5/3 12:30:00");
  grid.OnDatePicked(2, 0, QDate(2010, 5, 3)); // the date it shows
  grid.OnDatePicked(2, 0, QDate(2011, 1, 9));

  grid.SetCellType(3, 0, CT_CHECKBOX);
  grid.QuickSetText(3, 0, "0");
  grid.OnCheckChanged(3, 0, false);
  grid.OnCheckChanged(3, 0, true);
  EXPECT_EQ(grid.changes, (QStringList{"0,0=O'Brien", "1,0=乙", "2,0=2011/1/9",
                                       "3,0=1"}));
}

TEST(CellGrid, DateCellsShowTheDateAndKeepTheStoredText) {
  CellGrid grid;
  grid.SetNumberCols(1);
  grid.SetNumberRows(3);
  grid.SetColFormat(0, CellFormat{kNoColor, kNoColor, -1, CT_DATETIME, -1, 0});
  grid.QuickSetText(0, 0, "2010/5/3 12:30:00");
  grid.QuickSetText(0, 2, "not a date");
  EXPECT_EQ(grid.DisplayText(0, 0), "2010/5/3");
  EXPECT_EQ(grid.GetText(0, 0), "2010/5/3 12:30:00");
  EXPECT_EQ(grid.DisplayText(0, 1), "");
  EXPECT_EQ(grid.DisplayText(0, 2), "not a date");
  EXPECT_EQ(grid.CellDate(0, 0), QDate(2010, 5, 3));
  EXPECT_FALSE(grid.CellDate(0, 2).isValid());
}

TEST(CellGrid, ClipboardRoundTripAndNoEditingWithoutAView) {
  CellGrid grid;
  grid.SetNumberCols(2);
  grid.SetNumberRows(2);
  grid.QuickSetText(0, 0, "a");
  grid.QuickSetText(1, 0, "b");
  grid.SelectRange(0, 0, 1, 0);
  grid.CopySelected();
  EXPECT_EQ(QApplication::clipboard()->text(), "a\tb");
  grid.GotoCell(0, 1);
  EXPECT_EQ(grid.Paste(), std::vector<int>{1});
  EXPECT_EQ(grid.GetText(1, 1), "b");
  EXPECT_FALSE(grid.StartEdit());
  EXPECT_FALSE(grid.IsEditing());
}
