// Scaling a font of either size unit; see scaled_font.h.
#include "print/scaled_font.h"

#include <algorithm>
#include <cmath>

QFont ScaledFont(const QFont &font, double factor) {
  QFont scaled = font;
  if (font.pixelSize() > 0)
    scaled.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * factor))));
  else if (font.pointSizeF() > 0)
    scaled.setPointSizeF(font.pointSizeF() * factor);
  return scaled;
}
