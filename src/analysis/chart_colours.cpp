// Bar fills and the pie palette.
#include "analysis/chart_colours.h"

#include <algorithm>
#include <cmath>

namespace {

const quint32 kPiePalette[kPiePaletteSize] = {
    0xFF0000FF, 0xFFC71585, 0xFF006400, 0xFF9ACD32, 0xFF808000, 0xFFDC143C,
    0xFFFFFF00, 0xFFFF8C00, 0xFF8FBC8B, 0xFF00BFFF, 0xFFDCDCDC, 0xFF20B2AA,
    0xFFFFE4E1, 0xFF778899, 0xFF66CDAA, 0xFF191970,
};

// The step of a value between min and max: (value - min) / ((max - min) /
// 255) truncated, 0 to 255. Equal values (one bar included) and sums too
// large to divide sensibly give 0.
int BarLevel(double value, double min, double max) {
  const double step = (max - min) / 255;
  if (!(step > 0) || !std::isfinite(step))
    return 0;
  const double level = std::trunc((value - min) / step);
  if (!std::isfinite(level))
    return 0;
  return int(std::clamp(level, 0.0, 255.0)) % 256;
}

} // namespace

ChartRgb FromBgr(quint32 bgr) {
  return ChartRgb{int(bgr & 0xFF), int((bgr >> 8) & 0xFF),
                  int((bgr >> 16) & 0xFF)};
}

ChartRgb FromArgb(quint32 argb) {
  return ChartRgb{int((argb >> 16) & 0xFF), int((argb >> 8) & 0xFF),
                  int(argb & 0xFF)};
}

ChartRgb BarFillColour(double value, double min, double max) {
  const int e = BarLevel(value, min, max);
  return FromBgr(quint32((255 - e) << 8 | e));
}

QList<ChartRgb> BarFillColours(const QList<double> &values) {
  QList<ChartRgb> colours;
  if (values.isEmpty())
    return colours;
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  colours.reserve(values.size());
  for (const double value : values)
    colours.append(BarFillColour(value, *low, *high));
  return colours;
}

quint32 PieSliceArgb(int sliceIndex) {
  return kPiePalette[((sliceIndex % kPiePaletteSize) + kPiePaletteSize) %
                     kPiePaletteSize];
}
