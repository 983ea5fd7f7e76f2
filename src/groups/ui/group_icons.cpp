// Drawing the group pane's images with QPainter, on a 16-unit grid.
#include "groups/ui/group_icons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

void DrawBook(QPainter &p) {
  p.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), 1));
  p.setBrush(QColor(0x3a, 0x78, 0xc8));
  p.drawRoundedRect(QRectF(3.5, 1.5, 10, 13), 1, 1);
  p.setBrush(QColor(0xf4, 0xf1, 0xe6));
  p.drawRect(QRectF(5.5, 12.5, 8, 2)); // the pages at the bottom
  p.setPen(QPen(QColor(0xe8, 0xc2, 0x4a), 1.2));
  p.drawLine(QPointF(6, 5), QPointF(11, 5));
  p.drawLine(QPointF(6, 7.5), QPointF(10, 7.5));
}

void DrawFolder(QPainter &p, bool open) {
  const QColor edge(0xb0, 0x84, 0x1c);
  p.setPen(QPen(edge, 1));
  p.setBrush(QColor(0xf0, 0xc4, 0x4c));
  QPainterPath back;
  back.moveTo(1.5, 3.5);
  back.lineTo(6, 3.5);
  back.lineTo(7.5, 5);
  back.lineTo(14.5, 5);
  back.lineTo(14.5, 13.5);
  back.lineTo(1.5, 13.5);
  back.closeSubpath();
  p.drawPath(back);
  p.setBrush(QColor(0xfb, 0xdc, 0x78));
  if (open) {
    QPolygonF flap;
    flap << QPointF(3.5, 7.5) << QPointF(15.5, 7.5) << QPointF(13.5, 13.5)
         << QPointF(1.5, 13.5);
    p.drawPolygon(flap);
    return;
  }
  p.drawRect(QRectF(1.5, 6.5, 13, 7));
}

void DrawGroup(QPainter &p, bool active) {
  p.setPen(QPen(QColor(0x6a, 0x6a, 0x6a), 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(2.5, 1.5, 10, 13));
  p.setPen(QPen(QColor(0x8a, 0xa6, 0xc8), 1));
  for (const qreal y : {4.5, 7.0, 9.5, 12.0})
    p.drawLine(QPointF(4.5, y), QPointF(10.5, y));
  if (!active)
    return;
  p.setPen(QPen(QColor(0x1e, 0x7b, 0x34), 1));
  p.setBrush(QColor(0x2e, 0xa0, 0x48));
  p.drawEllipse(QRectF(8.5, 8.5, 7, 7));
  p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  QPainterPath tick;
  tick.moveTo(10.2, 12.1);
  tick.lineTo(11.6, 13.5);
  tick.lineTo(14, 10.6);
  p.drawPath(tick);
}

QPixmap Draw(int image, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  switch (image) {
  case GI_BOOK: DrawBook(p); break;
  case GI_FOLDER: DrawFolder(p, false); break;
  case GI_FOLDER_OPEN: DrawFolder(p, true); break;
  case GI_GROUP: DrawGroup(p, false); break;
  case GI_ACTIVE_GROUP: DrawGroup(p, true); break;
  default: break;
  }
  return pixmap;
}

bool Known(int image) {
  return image == GI_BOOK || image == GI_FOLDER || image == GI_FOLDER_OPEN ||
         image == GI_GROUP || image == GI_ACTIVE_GROUP;
}

void AddImage(QIcon &icon, int image, QIcon::Mode mode) {
  for (const int size : {16, 32})
    icon.addPixmap(Draw(image, size), mode);
}

} // namespace

QIcon GroupImageIcon(int image) {
  QIcon icon;
  if (Known(image))
    AddImage(icon, image, QIcon::Normal);
  return icon;
}

QIcon GroupItemIcon(const GroupImages &images) {
  // Drawn once per pair: a rebuild of a large tree asks for the same few.
  static QHash<int, QIcon> cache;
  const int key = images.normal * 100 + images.selected;
  if (const auto it = cache.constFind(key); it != cache.constEnd())
    return *it;
  QIcon icon;
  if (Known(images.normal))
    AddImage(icon, images.normal, QIcon::Normal);
  if (Known(images.selected) && images.selected != images.normal)
    AddImage(icon, images.selected, QIcon::Selected);
  cache.insert(key, icon);
  return icon;
}
