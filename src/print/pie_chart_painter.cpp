// The pie chart's layout and painting; see pie_chart_painter.h.
#include "print/pie_chart_painter.h"

#include "analysis/chart_texts.h"
#include "print/scaled_font.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kCaptionHeight = 36;
constexpr int kMargin = 16;
constexpr int kSwatch = 14;
// Shares smaller than this are only named in the legend.
constexpr double kLabelledShare = 0.04;
constexpr double kPi = 3.14159265358979323846;

// Degrees clockwise from twelve o'clock of a point relative to centre.
double AngleOf(const QPointF &offset) {
  double degrees = std::atan2(offset.x(), -offset.y()) * 180 / kPi;
  return degrees < 0 ? degrees + 360 : degrees;
}

} // namespace

bool PieChartPainter::AddSlice(const ChartSlice &slice) {
  if (slice.name.isEmpty() || !(slice.value > 0) || !std::isfinite(slice.value))
    return false;
  for (const ChartSlice &other : slices_)
    if (other.name == slice.name)
      return false;
  starts_.append(total_);
  slices_.append(slice);
  total_ += slice.value;
  return true;
}

void PieChartPainter::RemoveSlice(int index) {
  if (index < 0 || index >= SliceCount())
    return;
  slices_.removeAt(index);
  // Summed afresh, so that removing every slice leaves exactly 0.
  starts_.clear();
  total_ = 0;
  for (const ChartSlice &slice : slices_) {
    starts_.append(total_);
    total_ += slice.value;
  }
}

PieChartPainter::Layout PieChartPainter::LayOut(const QRect &rect) const {
  Layout layout;
  layout.caption = QRect(rect.left(), rect.top(), rect.width(), kCaptionHeight);
  const QRect body(QPoint(rect.left() + kMargin, rect.top() + kCaptionHeight),
                   QPoint(rect.right() - kMargin, rect.bottom() - kMargin));
  const int side = std::max(0, std::min(body.height(), body.width() * 3 / 5));
  layout.pie = QRect(body.left(), body.top() + (body.height() - side) / 2, side, side);
  layout.legend = QRect(QPoint(layout.pie.right() + 2 * kMargin, body.top()),
                        body.bottomRight());
  layout.rows = std::max(1, layout.legend.height() / layout.rowHeight);
  return layout;
}

QRect PieChartPainter::LegendRow(const Layout &layout, int i) const {
  if (i >= layout.rows)
    return QRect();
  const int shown = std::min(SliceCount(), layout.rows);
  const int top = layout.legend.top() +
                  std::max(0, (layout.legend.height() - shown * layout.rowHeight) / 2);
  return QRect(layout.legend.left(), top + i * layout.rowHeight,
               layout.legend.width(), layout.rowHeight);
}

void PieChartPainter::SliceAngles(int i, double &start, double &span) const {
  start = total_ > 0 ? starts_[i] / total_ * 360 : 0;
  span = total_ > 0 ? slices_[i].value / total_ * 360 : 0;
}

int PieChartPainter::SliceAt(const QRect &rect, const QPoint &pos) const {
  const Layout layout = LayOut(rect);
  for (int i = 0; i < SliceCount(); ++i)
    if (LegendRow(layout, i).contains(pos))
      return i;
  const QPointF centre = QRectF(layout.pie).center();
  const QPointF offset = QPointF(pos) - centre;
  const double radius = layout.pie.width() / 2.0;
  if (std::hypot(offset.x(), offset.y()) > radius)
    return -1;
  const double angle = AngleOf(offset);
  for (int i = 0; i < SliceCount(); ++i) {
    double start, span;
    SliceAngles(i, start, span);
    if (angle >= start && angle < start + span)
      return i;
  }
  return -1;
}

QPoint PieChartPainter::SliceCentre(const QRect &rect, int i) const {
  const Layout layout = LayOut(rect);
  double start, span;
  SliceAngles(i, start, span);
  const double middle = (start + span / 2) * kPi / 180;
  const double distance = layout.pie.width() / 2.0 * 0.6;
  const QPointF centre = QRectF(layout.pie).center();
  return QPoint(int(centre.x() + distance * std::sin(middle)),
                int(centre.y() - distance * std::cos(middle)));
}

void PieChartPainter::Paint(QPainter &painter, const QRect &rect,
                            const QFont &font) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect, background_);
  const Layout layout = LayOut(rect);
  QFont captionFont = ScaledFont(font, 1.4);
  captionFont.setBold(true);
  painter.setFont(captionFont);
  painter.setPen(text_);
  painter.drawText(layout.caption, Qt::AlignCenter, caption_);

  painter.setFont(font);
  if (SliceCount() == 0 && !emptyText_.isEmpty())
    painter.drawText(rect.adjusted(0, layout.caption.height(), 0, 0),
                     Qt::AlignCenter | Qt::TextWordWrap, emptyText_);
  const QRectF pie(layout.pie);
  for (int i = 0; i < SliceCount(); ++i) {
    double start, span;
    SliceAngles(i, start, span);
    painter.setPen(QPen(background_, 1.5));
    painter.setBrush(slices_[i].colour);
    // Qt counts sixteenths of a degree anticlockwise from three o'clock.
    painter.drawPie(pie, int(std::lround((90 - start) * 16)),
                    -int(std::lround(span * 16)));
  }
  PaintShares(painter, pie);
  PaintLegend(painter, layout);
  painter.restore();
}

void PieChartPainter::PaintShares(QPainter &painter, const QRectF &pie) const {
  for (int i = 0; i < SliceCount(); ++i) {
    if (slices_[i].value / total_ < kLabelledShare)
      continue;
    const QString share = PieShareText(slices_[i].value, total_);
    double start, span;
    SliceAngles(i, start, span);
    const double middle = (start + span / 2) * kPi / 180;
    const double distance = pie.width() / 2 * 0.65;
    const QPointF at(pie.center().x() + distance * std::sin(middle),
                     pie.center().y() - distance * std::cos(middle));
    QPainterPath text;
    const QFontMetricsF metrics(painter.font());
    text.addText(at.x() - metrics.horizontalAdvance(share) / 2,
                 at.y() + metrics.ascent() / 2 - 1, painter.font(), share);
    painter.setPen(QPen(QColor(0, 0, 0, 160), 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(text);
    painter.fillPath(text, Qt::white);
  }
}

void PieChartPainter::PaintLegend(QPainter &painter,
                                  const Layout &layout) const {
  painter.setPen(text_);
  for (int i = 0; i < SliceCount(); ++i) {
    const QRect row = LegendRow(layout, i);
    if (row.isEmpty())
      break;
    const bool last = i == layout.rows - 1 && SliceCount() > layout.rows;
    if (last) {
      painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("…… 另有 %1 项").arg(SliceCount() - i));
      break;
    }
    const QRect swatch(row.left(), row.center().y() - kSwatch / 2, kSwatch, kSwatch);
    painter.fillRect(swatch, slices_[i].colour);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    const QRect text = row.adjusted(kSwatch + 8, 0, 0, 0);
    const QString line = slices_[i].name + QStringLiteral("  ") +
                         PieShareText(slices_[i].value, total_);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(line, Qt::ElideMiddle,
                                                      text.width()));
  }
}
