// The focus frame of an item view shows on a selected current cell, and
// only there.
#include "widgets/focus_frame_style.h"

#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

TEST(FocusFrameStyleTest, TheCurrentCellIsFramedInsideASelectedBlock) {
  FocusFrameStyle style;
  QStandardItemModel model(3, 3);
  QTableView view;
  view.setStyle(&style);
  view.setModel(&model);
  view.resize(400, 200);
  view.show();
  view.setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  view.selectAll(); // Ctrl+A
  view.selectionModel()->setCurrentIndex(model.index(1, 1),
                                         QItemSelectionModel::NoUpdate);
  ASSERT_TRUE(QTest::qWaitFor([&] { return view.hasFocus(); }));

  const QImage shot = view.viewport()->grab().toImage();
  const QColor frame = view.palette().color(QPalette::HighlightedText);
  const QRect current = view.visualRect(model.index(1, 1));
  const QRect other = view.visualRect(model.index(1, 2));
  const QPoint edge(1, current.height() / 2); // inside the cell's left side
  EXPECT_EQ(shot.pixelColor(current.topLeft() + edge), frame);
  EXPECT_NE(shot.pixelColor(other.topLeft() + edge), frame);
}
