// Header and footer of the printed pages; see page_frame.h.
#include "print/page_frame.h"

#include "base/date_text.h"
#include "print/print_font.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr double kHeaderHeight = 34;
constexpr double kFooterHeight = 26;

} // namespace

QRectF PageFrame::BodyRect(const QRectF &page) {
  return page.adjusted(0, kHeaderHeight, 0, -kFooterHeight);
}

QString PageFrame::PageNumberText(int index, int count) {
  return QStringLiteral("页 %1 / %2").arg(index + 1).arg(count);
}

void PageFrame::Paint(QPainter &painter, const QRectF &page, int index,
                      int count) const {
  painter.save();
  painter.setPen(Qt::black);
  const QRectF header(page.left(), page.top(), page.width(), kHeaderHeight - 10);
  painter.setFont(PrintFont(13, true));
  const QFontMetricsF bold(painter.font());
  const QString name = bold.elidedText(fileName, Qt::ElideMiddle, page.width() / 3);
  painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, name);
  painter.setFont(PrintFont(11));
  const QFontMetricsF plain(painter.font());
  const double nameWidth = bold.horizontalAdvance(name) + 16;
  const QRectF messageBox = header.adjusted(nameWidth, 0, 0, 0);
  painter.drawText(messageBox, Qt::AlignRight | Qt::AlignVCenter,
                   plain.elidedText(message, Qt::ElideRight, messageBox.width()));
  painter.setPen(QPen(Qt::darkGray, 0.8));
  painter.drawLine(QPointF(page.left(), header.bottom() + 4),
                   QPointF(page.right(), header.bottom() + 4));

  const QRectF footer(page.left(), page.bottom() - kFooterHeight + 8,
                      page.width(), kFooterHeight - 8);
  painter.drawLine(QPointF(page.left(), footer.top() - 2),
                   QPointF(page.right(), footer.top() - 2));
  painter.setPen(Qt::black);
  painter.drawText(footer, Qt::AlignHCenter | Qt::AlignVCenter,
                   PageNumberText(index, count));
  painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("打印日期：") + DayText(printDate));
  painter.restore();
}
