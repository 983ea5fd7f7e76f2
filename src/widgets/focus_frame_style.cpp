// Drawing a focus frame that shows on any fill.
#include "widgets/focus_frame_style.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOption>

void DrawFocusFrame(QPainter &painter, const QRect &rect,
                    const QPalette &palette, bool onSelection) {
  const QColor colour = palette.color(
      onSelection ? QPalette::HighlightedText : QPalette::Highlight);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(colour, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  // A two-pixel pen centred one pixel inside the rectangle covers its two
  // outer rows of pixels on every side.
  painter.drawRect(QRectF(rect).adjusted(1, 1, -1, -1));
  painter.restore();
}

void FocusFrameStyle::drawPrimitive(PrimitiveElement element,
                                    const QStyleOption *option,
                                    QPainter *painter,
                                    const QWidget *widget) const {
  const bool itemFocus = element == PE_FrameFocusRect &&
                         (option->state & State_Item) &&
                         qobject_cast<const QAbstractItemView *>(widget);
  if (!itemFocus) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  DrawFocusFrame(*painter, option->rect, option->palette,
                 option->state & State_Selected);
}
