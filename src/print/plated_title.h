// A chart's title on a light plate: the title keeps its colour (magenta
// on the blue of the bar and budget charts), and the plate behind it gives
// the contrast that colour lacks on blue.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QPainter;

// Draws title centred in band, in the painter's font and colour, on a
// white rounded plate just larger than the text. An empty title draws
// nothing.
void DrawPlatedTitle(QPainter &painter, const QRect &band, const QString &title,
                     const QColor &colour);
