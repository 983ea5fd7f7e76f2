// Colours and texts of the charts: the byte orders of the given colours,
// bar fills from green to red, equal values, the pie palette and the tips.
#include "analysis/chart_colours.h"
#include "analysis/chart_texts.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(ChartColours, TheGivenColoursInTheirByteOrders) {
  EXPECT_EQ(FromBgr(kBarBackgroundBgr), (ChartRgb{19, 95, 199})); // a blue
  EXPECT_EQ(FromBgr(kBarTitleBgr), (ChartRgb{255, 0, 255}));
  EXPECT_EQ(FromBgr(kBarSecondBgr), (ChartRgb{0, 255, 255}));
  EXPECT_EQ(FromArgb(PieSliceArgb(0)), (ChartRgb{0, 0, 255}));
  EXPECT_EQ(FromArgb(PieSliceArgb(2)), (ChartRgb{0, 100, 0}));   // dark green
  EXPECT_EQ(FromArgb(PieSliceArgb(7)), (ChartRgb{255, 140, 0})); // dark orange
  EXPECT_EQ(FromArgb(PieSliceArgb(15)), (ChartRgb{25, 25, 112}));
  // From the seventeenth slice on the palette repeats.
  EXPECT_EQ(PieSliceArgb(16), PieSliceArgb(0));
  EXPECT_EQ(PieSliceArgb(33), PieSliceArgb(1));
}

TEST(ChartColours, BarsFromGreenToRed) {
  const QList<ChartRgb> colours = BarFillColours({5, -10, 100, 45});
  EXPECT_EQ(colours[1], (ChartRgb{0, 255, 0}));
  EXPECT_GE(colours[2].red, 254);
  EXPECT_EQ(colours[2].red + colours[2].green, 255);
  EXPECT_EQ(colours[2].blue, 0);
  // (45 + 10) / (110 / 255) = 127.5: level 127.
  EXPECT_EQ(colours[3], (ChartRgb{127, 128, 0}));
  for (int i = 0; i < 1000; ++i) {
    const ChartRgb c = BarFillColour(i * 0.37, 0, 999 * 0.37);
    EXPECT_TRUE(c.red >= 0 && c.red <= 255 && c.red + c.green == 255) << i;
  }
  // Equal values, one bar included, are all green.
  EXPECT_EQ(BarFillColours({7, 7, 7}), QList<ChartRgb>(3, ChartRgb{0, 255, 0}));
  EXPECT_EQ(BarFillColours({-3}), QList<ChartRgb>(1, ChartRgb{0, 255, 0}));
  EXPECT_TRUE(BarFillColours({}).isEmpty());
  // Sums too large to take a step between stay within the colours.
  const double huge = std::numeric_limits<double>::max();
  for (const ChartRgb c : BarFillColours({-huge, 0, huge}))
    EXPECT_TRUE(c.red >= 0 && c.red <= 255 && c.red + c.green == 255);
}

TEST(ChartTexts, TipsNamesAndShares) {
  EXPECT_EQ(BarTipText("2010/3", 50, 200), "2010/3\n50.0000\n25.00%\n");
  EXPECT_EQ(BarTipText("2010/3", 0, 0), "2010/3\n0.0000\n0.00%\n");
  EXPECT_EQ(BarTipText("2010/4", -5, 0), "2010/4\n-5.0000\n0.00%\n");
  EXPECT_EQ(BarTipText("100%s", 1, 1), "100%s\n1.0000\n100.00%\n");
  EXPECT_EQ(PieSliceName("Food", 1234.5), "Food[1234.50]");
  EXPECT_EQ(PieSliceName("餐饮|现金", 0.004), "餐饮|现金[0.00]");
  EXPECT_EQ(PieShareText(1, 3), "33.33%");
  EXPECT_EQ(PieShareText(1, 0), "0.00%");
}

} // namespace
