// The chart widgets rendered to images: bar colours sampled at known bars,
// scrolling to the last bar, tips, the pie's refusals, shares and colours,
// and both charts read through the accessibility tree.
#include "analysis/chart_texts.h"
#include "analysis/ui/bar_chart_widget.h"
#include "analysis/ui/pie_chart_widget.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QImage>
#include <QScrollBar>
#include <QToolTip>
#include <QtTest>

#include <gtest/gtest.h>

namespace {

const QColor kBlue(19, 95, 199);

QImage Render(QWidget &widget) { return widget.grab().toImage(); }

// The colour at a point of the bar chart's viewport.
QColor ViewportPixel(BarChartWidget &chart, const QPoint &pos) {
  return Render(chart).pixelColor(pos + chart.viewport()->pos());
}

class BarChartTest : public ::testing::Test {
protected:
  void SetUp() override {
    chart_.resize(640, 360);
    chart_.SetTitle("按月汇总");
    chart_.SetBackgroundColour(kBlue);
    chart_.SetTitleColour(QColor(255, 0, 255));
  }
  void AddBars(int count) {
    for (int i = 0; i < count; ++i)
      chart_.AddBar(QStringLiteral("2010/%1").arg(i + 1),
                    QColor(i % 256, 255 - i % 256, 0), QColor(0, 255, 255), i + 1);
    chart_.Redraw();
  }

  BarChartWidget chart_;
};

TEST_F(BarChartTest, BarsShowTheirColoursOnTheBackground) {
  chart_.AddBar("2010/1", QColor(0, 255, 0), QColor(0, 255, 255), 10);
  chart_.AddBar("2010/2", QColor(127, 128, 0), QColor(0, 255, 255), 0);
  chart_.AddBar("2010/3", QColor(255, 0, 0), QColor(0, 255, 255), 40);
  chart_.AddBar("2010/4", QColor(200, 55, 0), QColor(0, 255, 255), -20);
  chart_.Redraw();
  EXPECT_EQ(ViewportPixel(chart_, QPoint(3, 3)), kBlue);
  EXPECT_EQ(ViewportPixel(chart_, chart_.BarRect(0).center()), QColor(0, 255, 0));
  EXPECT_EQ(ViewportPixel(chart_, chart_.BarRect(2).center()), QColor(255, 0, 0));
  // A negative bar hangs below the zero line, a zero bar is a thin line.
  EXPECT_GT(chart_.BarRect(3).top(), chart_.BarRect(0).bottom() - 2);
  EXPECT_EQ(ViewportPixel(chart_, chart_.BarRect(3).center()), QColor(200, 55, 0));
  EXPECT_LE(chart_.BarRect(1).height(), 2);
  EXPECT_GT(chart_.BarRect(2).height(), 3 * chart_.BarRect(0).height());
  EXPECT_EQ(chart_.horizontalScrollBar()->maximum(), 0);

  chart_.RemoveAllBars();
  chart_.Redraw();
  EXPECT_EQ(chart_.BarCount(), 0);
  EXPECT_TRUE(chart_.BarRect(0).isEmpty());

  // Sums at the ends of the number range still paint.
  chart_.AddBar("a", QColor(0, 255, 0), QColor(0, 255, 255), 1e308);
  chart_.AddBar("b", QColor(255, 0, 0), QColor(0, 255, 255), -1e308);
  chart_.Redraw();
  EXPECT_EQ(ViewportPixel(chart_, QPoint(3, 3)), kBlue);
  EXPECT_FALSE(chart_.BarRect(1).isEmpty());
}

TEST_F(BarChartTest, ScrollsToTheLastBar) {
  AddBars(200);
  QScrollBar *bar = chart_.horizontalScrollBar();
  EXPECT_GT(bar->maximum(), 0);
  EXPECT_TRUE(chart_.BarRect(199).isEmpty());
  EXPECT_FALSE(chart_.BarRect(0).isEmpty());
  bar->setValue(bar->maximum());
  const QRect last = chart_.BarRect(199);
  ASSERT_FALSE(last.isEmpty());
  EXPECT_TRUE(chart_.BarRect(0).isEmpty());
  EXPECT_EQ(ViewportPixel(chart_, last.center()), QColor(199, 56, 0));
  EXPECT_EQ(chart_.BarAt(last.center()), 199);

  bar->setValue(0);
  chart_.ScrollToBar(120);
  EXPECT_FALSE(chart_.BarRect(120).isEmpty());
  // The keyboard scrolls too.
  bar->setValue(0);
  chart_.setFocus();
  QTest::keyClick(&chart_, Qt::Key_Right);
  EXPECT_GT(bar->value(), 0);
  // A new series starts at the left again.
  chart_.RemoveAllBars();
  EXPECT_EQ(bar->value(), 0);
}

TEST_F(BarChartTest, TipsOfTheBarUnderThePointer) {
  chart_.AddBar("2010/1", QColor(0, 255, 0), QColor(0, 255, 255), 25);
  chart_.AddBar("2010/2", QColor(255, 0, 0), QColor(0, 255, 255), 100);
  chart_.Redraw();
  chart_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart_));
  const QPoint at = chart_.BarRect(0).center();
  EXPECT_EQ(chart_.TipAt(at), "2010/1\n25.0000\n25.00%\n");
  EXPECT_EQ(chart_.TipAt(QPoint(2, 2)), "");

  QHelpEvent help(QEvent::ToolTip, at, chart_.viewport()->mapToGlobal(at));
  QApplication::sendEvent(chart_.viewport(), &help);
  EXPECT_TRUE(QTest::qWaitFor(
      [] { return QToolTip::text() == "2010/1\n25.0000\n25.00%\n"; }));
  QToolTip::hideText();

  // With every value 0 the share is 0.00%, not nan.
  chart_.RemoveAllBars();
  chart_.AddBar("2010/3", QColor(0, 255, 0), QColor(0, 255, 255), 0);
  chart_.Redraw();
  EXPECT_EQ(chart_.TipAt(chart_.BarRect(0).center()), "2010/3\n0.0000\n0.00%\n");
}

TEST_F(BarChartTest, EachBarIsAnAccessibleChild) {
  AddBars(30);
  QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&chart_);
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->role(), QAccessible::Chart);
  EXPECT_EQ(iface->text(QAccessible::Name), "按月汇总");
  ASSERT_EQ(iface->childCount(), 30);
  QAccessibleInterface *third = iface->child(2);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->text(QAccessible::Name), "2010/3");
  EXPECT_EQ(third->text(QAccessible::Description), "3");
  EXPECT_EQ(iface->indexOfChild(third), 2);
  EXPECT_EQ(third->parent(), iface);
  EXPECT_FALSE(third->state().invisible);
  EXPECT_TRUE(iface->child(29)->state().invisible); // scrolled out of view
  EXPECT_EQ(iface->child(30), nullptr);

  chart_.RemoveAllBars();
  chart_.Redraw();
  EXPECT_EQ(iface->childCount(), 0);
}

TEST(PieChart, RefusedSlicesAndTheAcceptedTotal) {
  PieChartWidget pie("比例查看");
  EXPECT_TRUE(pie.AddSlice("a[1.00]", "a[1.00]", 0xFF0000FF, 1));
  EXPECT_FALSE(pie.AddSlice("", "", 0xFF0000FF, 5));
  EXPECT_FALSE(pie.AddSlice("a[1.00]", "x", 0xFF0000FF, 5));
  EXPECT_FALSE(pie.AddSlice("neg", "neg", 0xFF0000FF, -2));
  EXPECT_FALSE(pie.AddSlice("zero", "zero", 0xFF0000FF, 0));
  EXPECT_TRUE(pie.AddSlice("b[3.00]", "b[3.00]", 0xFFC71585, 3));
  EXPECT_EQ(pie.SliceCount(), 2);
  EXPECT_EQ(pie.Total(), 4);
  EXPECT_EQ(PieShareText(pie.SliceValue(1), pie.Total()), "75.00%");
  pie.RemoveSlice(1);
  pie.RemoveSlice(0);
  pie.RemoveSlice(0);
  EXPECT_EQ(pie.SliceCount(), 0);
  EXPECT_EQ(pie.Total(), 0);
}

TEST(PieChart, SlicesInTheirColoursWithTipsAndAccessibleChildren) {
  PieChartWidget pie("比例查看");
  pie.resize(640, 400);
  pie.SetBackgroundColour(QColor(240, 240, 240));
  pie.AddSlice("餐饮[30.00]", "餐饮[30.00]", 0xFF0000FF, 30);
  pie.AddSlice("交通[10.00]", "交通[10.00]", 0xFF006400, 10);
  pie.AddSlice("购物[60.00]", "购物[60.00]", 0xFFFF8C00, 60);
  const QImage image = Render(pie);
  EXPECT_EQ(image.pixelColor(3, 3), QColor(240, 240, 240));
  // Away from the share text in the middle of the wedge.
  const auto near = [&](int i) {
    const QPoint centre = pie.SliceCentre(i);
    const QPoint middle(pie.height() / 2, pie.height() / 2);
    return centre + (centre - middle) / 3;
  };
  EXPECT_EQ(image.pixelColor(near(0)), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(near(1)), QColor(0, 100, 0));
  EXPECT_EQ(image.pixelColor(near(2)), QColor(255, 140, 0));
  EXPECT_EQ(pie.SliceAt(near(2)), 2);
  EXPECT_EQ(pie.TipAt(near(1)), "交通[10.00]");

  QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&pie);
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->text(QAccessible::Name), "比例查看");
  ASSERT_EQ(iface->childCount(), 3);
  EXPECT_EQ(iface->child(2)->text(QAccessible::Name), "购物[60.00]");
  EXPECT_EQ(iface->child(2)->text(QAccessible::Description), "60 60.00%");
}

} // namespace
