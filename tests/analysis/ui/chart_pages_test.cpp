// The two chart pages on a household file with a year of records, read
// through a window with real set-up panes: nothing computed at first, the
// page's own hint bit, reloading once when shown, the refresh command, the
// scope boxes, a failed filter or set-up condition, bar colours and slice
// colours (counted before the widget refuses a slice), and resizing.
#include "../chart_test_file.h"

#include "analysis/chart_colours.h"
#include "analysis/ui/bar_chart_view.h"
#include "analysis/ui/bar_chart_widget.h"
#include "analysis/ui/pie_chart_view.h"
#include "analysis/ui/pie_chart_widget.h"
#include "analysis/ui/sorvan_bar_setup_pane.h"
#include "analysis/ui/sorvan_pie_setup_pane.h"
#include "app/document_window.h"
#include "widgets/property_grid.h"
#include "widgets/property_item.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QStringList kCategories{"餐饮", "交通", "购物", "居住", "医疗", "其他"};
const QStringList kPayments{"现金", "银行卡", "信用卡"};

class TestWindow : public DocumentWindow {
public:
  AccountFile *File() const override { return file; }
  QList<int> ActiveGroupIds() const override { return groups; }
  bool FilterWhere(QString &where) const override {
    where = filter;
    return filterOk;
  }
  CSorvanBarSetUpPane *BarSetUpPane() const override { return bar; }
  CSorvanPieSetUpPane *PieSetUpPane() const override { return pie; }

  AccountFile *file = nullptr;
  QList<int> groups;
  QString filter;
  bool filterOk = true;
  CSorvanBarSetUpPane *bar = nullptr;
  CSorvanPieSetUpPane *pie = nullptr;
};

class ChartPageTest : public ChartFileTest {
protected:
  void SetUp() override {
    ChartFileTest::SetUp();
    Session().BeginTransaction();
    for (int month = 1; month <= 12; ++month)
      for (int c = 0; c < kCategories.size(); ++c)
        for (int p = 0; p < kPayments.size(); ++p) {
          const bool negative = c == 4 && p == 2; // 医疗 by 信用卡
          const double total = (month * 10 + c + p * 0.5) * (negative ? -1 : 1);
          Add({QStringLiteral("2010-%1-%2").arg(month).arg(1 + c + p), total,
               kCategories[c], kPayments[p], (month + c) % 2 ? 2 : 3});
        }
    Run("Update Users Set [Count]=1");
    Session().CommitTransaction();
    window_.file = &file_;
    barPane_ = std::make_unique<CSorvanBarSetUpPane>(&window_);
    piePane_ = std::make_unique<CSorvanPieSetUpPane>(&window_);
    window_.bar = barPane_.get();
    window_.pie = piePane_.get();
    barPane_->Rebuild();
    piePane_->Rebuild();
  }
  void TearDown() override {
    window_.bar = nullptr;
    window_.pie = nullptr;
    barPane_.reset();
    piePane_.reset();
    ChartFileTest::TearDown();
  }

  static void ChooseSum(CSorvanSetUpPane &pane, const QString &field) {
    PropertyItem &list = *pane.Grid()->Root().Child(0)->Child(0);
    list.choice = int(list.choiceData.indexOf(field));
    ASSERT_GE(list.choice, 0);
    EXPECT_EQ(pane.SumColumn(), field);
  }
  // Switches an option column of a set-up pane on with only these options.
  static void Switch(CSorvanSetUpPane &pane, int column, const QStringList &ticked) {
    PropertyItem &sub = *pane.Grid()->Root().Child(1)->Child(column);
    sub.Child(0)->checked = true;
    for (int i = 1; i < sub.ChildCount(); ++i)
      sub.Child(i)->checked = ticked.contains(sub.Child(i)->caption);
  }

  TestWindow window_;
  std::unique_ptr<CSorvanBarSetUpPane> barPane_;
  std::unique_ptr<CSorvanPieSetUpPane> piePane_;
};

TEST_F(ChartPageTest, BarPageReloadsOnItsOwnBitOnceWhenShown) {
  CSorvanBarChartView page(&window_);
  QSignalSpy recomputed(&page, &CSorvanBarChartView::recomputed);
  EXPECT_EQ(page.GetPageKind(), 2);
  ASSERT_NE(page.Chart(), nullptr);
  EXPECT_EQ(page.Chart()->Title(), "按月汇总");
  EXPECT_EQ(page.Chart()->BarCount(), 0) << "the initial update computes nothing";

  ChooseSum(*barPane_, "Total");
  page.OnChangeNotify(file_, HINT_PIE);
  EXPECT_FALSE(page.IsReloadPending());
  page.OnChangeNotify(file_, 6);
  page.OnChangeNotify(file_, HINT_BAR);
  EXPECT_TRUE(page.IsReloadPending());
  EXPECT_EQ(recomputed.count(), 0);

  page.SetActivePage(true);
  EXPECT_EQ(recomputed.count(), 1);
  EXPECT_FALSE(page.IsReloadPending());
  ASSERT_EQ(page.Chart()->BarCount(), 12);
  EXPECT_EQ(page.Chart()->BarLabel(0), "2010/1");
  EXPECT_EQ(page.Chart()->BarLabel(11), "2010/12");
  // The smallest month is green, the largest red.
  EXPECT_EQ(page.Chart()->BarFill(0), QColor(0, 255, 0));
  EXPECT_GE(page.Chart()->BarFill(11).red(), 254);
  EXPECT_EQ(page.Chart()->BarFill(11).blue(), 0);

  page.OnChangeNotify(file_, 6); // an edit while showing: at once
  EXPECT_EQ(recomputed.count(), 2);

  // The refresh command recomputes and leaves the pending mark alone.
  page.SetActivePage(false);
  page.OnChangeNotify(file_, HINT_BAR);
  page.OnRefreshCommand();
  EXPECT_EQ(recomputed.count(), 3);
  EXPECT_TRUE(page.IsReloadPending());
}

TEST_F(ChartPageTest, BarPageFollowsScopeBoxesFilterAndSetUp) {
  CSorvanBarChartView page(&window_);
  page.SetActivePage(true);
  ChooseSum(*barPane_, "Count");
  page.Refresh();
  ASSERT_EQ(page.Series().Size(), 12);
  EXPECT_EQ(page.Series().values[0], 18); // every record counts 1

  window_.groups = {2};
  page.Refresh();
  EXPECT_EQ(page.Series().values[0], 9);
  barPane_->GroupScopeBox()->setCurrentIndex(1);
  page.Refresh();
  EXPECT_EQ(page.Series().values[0], 18);

  window_.filter = "[Payment] In ('现金')";
  page.Refresh();
  EXPECT_EQ(page.Series().values[0], 6);
  window_.filterOk = false;
  page.Refresh();
  EXPECT_EQ(page.Chart()->BarCount(), 0) << "a filter that fails shows nothing";
  barPane_->FilterScopeBox()->setCurrentIndex(1);
  page.Refresh();
  EXPECT_EQ(page.Series().values[0], 18);

  Switch(*barPane_, 0, {"餐饮", "交通"});
  page.Refresh();
  EXPECT_EQ(page.Series().values[0], 6);
  Switch(*barPane_, 1, {});
  page.Refresh();
  EXPECT_EQ(page.Chart()->BarCount(), 0) << "a column with nothing ticked";

  // Without a set-up pane there is nothing to sum.
  window_.bar = nullptr;
  page.Refresh();
  EXPECT_EQ(page.Chart()->BarCount(), 0);

  page.resize(700, 420);
  page.show();
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return page.Chart()->geometry() == QRect(0, 0, 700, 420); }));
}

TEST_F(ChartPageTest, PiePageSlicesColoursAndHints) {
  CSorvanPieChartView page(&window_);
  QSignalSpy recomputed(&page, &CSorvanPieChartView::recomputed);
  EXPECT_EQ(page.GetPageKind(), 3);
  ASSERT_NE(page.Chart(), nullptr);
  EXPECT_EQ(page.Chart()->Caption(), "比例查看");
  EXPECT_EQ(page.Chart()->SliceCount(), 0);

  ChooseSum(*piePane_, "Total");
  Switch(*piePane_, 0, kCategories);
  Switch(*piePane_, 1, kPayments);
  page.OnChangeNotify(file_, HINT_BAR);
  EXPECT_FALSE(page.IsReloadPending());
  page.OnChangeNotify(file_, 6);
  EXPECT_TRUE(page.IsReloadPending());
  page.SetActivePage(true);
  EXPECT_EQ(recomputed.count(), 1);

  // 18 combinations; 医疗|信用卡 sums below 0: in the series, not drawn.
  ASSERT_EQ(page.Series().Size(), 18);
  EXPECT_EQ(page.Series().labels[14], "医疗|信用卡");
  EXPECT_LT(page.Series().sums[14], 0);
  CPieChartWnd &pie = *page.Chart();
  ASSERT_EQ(pie.SliceCount(), 17);
  EXPECT_EQ(pie.SliceName(0), "餐饮|现金[780.00]");
  EXPECT_EQ(pie.SliceColour(0), QColor::fromRgba(PieSliceArgb(0)));
  EXPECT_EQ(pie.SliceColour(13), QColor::fromRgba(PieSliceArgb(13)));
  // The slice after the refused one keeps its own palette entry, and from
  // the seventeenth on the colours repeat.
  EXPECT_EQ(pie.SliceName(14), "其他|现金[840.00]");
  EXPECT_EQ(pie.SliceColour(14), QColor::fromRgba(PieSliceArgb(15)));
  EXPECT_EQ(pie.SliceColour(15), QColor::fromRgba(PieSliceArgb(0)));

  // Groups only: the scope boxes start on the active groups.
  window_.groups = {3};
  page.OnRefreshCommand();
  EXPECT_EQ(recomputed.count(), 2);
  EXPECT_EQ(page.Series().labels[0], "餐饮|现金");
  EXPECT_EQ(page.Series().sums[0], 20 + 40 + 60 + 80 + 100 + 120);

  // A switched-on column with nothing ticked: an empty pie.
  Switch(*piePane_, 1, {});
  page.Refresh();
  EXPECT_EQ(pie.SliceCount(), 0);
  EXPECT_EQ(pie.Total(), 0);

  page.resize(640, 400);
  page.show();
  EXPECT_TRUE(QTest::qWaitFor([&] { return pie.geometry() == QRect(0, 0, 640, 400); }));
}

} // namespace
