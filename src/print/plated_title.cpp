// Chart titles drawn on a light plate.
#include "print/plated_title.h"

#include <QFontMetrics>
#include <QPainter>

void DrawPlatedTitle(QPainter &painter, const QRect &band, const QString &title,
                     const QColor &colour) {
  if (title.isEmpty())
    return;
  const QFontMetrics metrics(painter.font());
  const QRect text = metrics.boundingRect(band, Qt::AlignCenter, title);
  const int pad = metrics.height() / 4;
  const QRect plate = text.adjusted(-2 * pad, -pad / 2, 2 * pad, pad / 2) & band;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 235));
  painter.drawRoundedRect(plate, pad, pad);
  painter.setPen(colour);
  painter.drawText(band, Qt::AlignCenter, title);
  painter.restore();
}
