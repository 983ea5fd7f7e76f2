// A font made larger or smaller by a factor, whether it was given in points
// (the screen's fonts) or in pixels (the printed pages' fonts).
#pragma once

#include <QFont>

QFont ScaledFont(const QFont &font, double factor);
