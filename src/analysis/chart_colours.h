// The colours of the charts. The bar chart's colours are given in the
// 0x00BBGGRR order (red in the low byte), the pie palette in 0xAARRGGBB.
#pragma once

#include <QList>
#include <QtGlobal>

struct ChartRgb {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const ChartRgb &) const = default;
};

// A colour written as 0x00BBGGRR.
ChartRgb FromBgr(quint32 bgr);
// A colour written as 0xAARRGGBB (the alpha byte is left out).
ChartRgb FromArgb(quint32 argb);

inline constexpr quint32 kBarBackgroundBgr = 0x00C75F13; // red 19, green 95, blue 199
inline constexpr quint32 kBarTitleBgr = 0x00FF00FF;      // red 255, blue 255
inline constexpr quint32 kBarSecondBgr = 0x00FFFF00;     // green 255, blue 255

// The fill of a bar: green for the smallest value of the series, red for the
// largest, in 256 steps between; green for every bar when all values are
// equal.
ChartRgb BarFillColour(double value, double min, double max);
// The fills of every bar of a series.
QList<ChartRgb> BarFillColours(const QList<double> &values);

// The sixteen pie colours, 0xAARRGGBB; slice i takes entry i mod 16.
inline constexpr int kPiePaletteSize = 16;
quint32 PieSliceArgb(int sliceIndex);
