// A table on printed pages; see table_print_job.h.
#include "print/table_print_job.h"

#include "print/print_font.h"
#include "print/table_source.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// A table up to a third wider than the page is shrunk to fit it (the
// household layout on A4 portrait, say); a wider one is split.
constexpr double kMostShrunk = 0.75;
const QColor kCaptionFill(214, 226, 245);
const QColor kGroupFill(232, 232, 232);
const QColor kLine(150, 150, 150);

} // namespace

TablePrintJob::TablePrintJob(const TableSource &source, const QString &title)
    : source_(source), title_(title), font_(PrintFont(12)),
      boldFont_(PrintFont(12, true)) {}

double TablePrintJob::RowHeight() const {
  return std::ceil(QFontMetricsF(font_).height() + 2 * kPadding);
}

double TablePrintJob::TitleHeight() const {
  return title_.isEmpty() ? 0 : std::ceil(QFontMetricsF(PrintFont(15, true)).height() + 10);
}

QList<int> TablePrintJob::ShownColumns(double *total) const {
  QList<int> shown;
  *total = 0;
  for (int c = 0; c < source_.ColumnCount(); ++c)
    if (source_.Width(c) > 0) {
      shown.append(c);
      *total += source_.Width(c);
    }
  return shown;
}

double TablePrintJob::NaturalWidth() const {
  double total = 0;
  ShownColumns(&total);
  return total;
}

void TablePrintJob::LayOutColumns(double width) {
  slices_.clear();
  double total = 0;
  const QList<int> shown = ShownColumns(&total);
  if (shown.isEmpty() || total <= 0) {
    slices_.append(Slice());
    return;
  }
  // Whole table on the page, stretched or shrunk.
  if (total * kMostShrunk <= width) {
    Slice slice;
    for (int c : shown) {
      slice.columns.append(c);
      slice.widths.append(source_.Width(c) * width / total);
    }
    slices_.append(slice);
    return;
  }
  // Slices of the columns at their own widths, each then stretched. Every
  // slice after the first begins with the key column (the first shown)
  // again, when it leaves room for others.
  const int key = shown.first();
  const double keyWidth = std::min<double>(source_.Width(key), width);
  const bool repeatKey = keyWidth <= width / 2;
  Slice slice;
  double used = 0;
  int lead = 0; // the repeated key column at the start of the slice
  auto close = [&] {
    for (double &w : slice.widths)
      w *= width / used;
    slices_.append(slice);
    slice = Slice();
    used = 0;
    lead = 0;
    if (repeatKey) {
      slice.columns.append(key);
      slice.widths.append(keyWidth);
      used = keyWidth;
      lead = 1;
    }
  };
  auto fitted = [&](int c) {
    return std::min<double>(source_.Width(c), width - (lead ? keyWidth : 0));
  };
  for (int c : shown) {
    double w = fitted(c);
    if (slice.columns.size() > lead && used + w > width) {
      close();
      w = fitted(c);
    }
    slice.columns.append(c);
    slice.widths.append(w);
    used += w;
  }
  if (slice.columns.size() > lead)
    close();
}

int TablePrintJob::Paginate(const QSizeF &body) {
  LayOutColumns(body.width());
  const double rows = (body.height() - TitleHeight()) / RowHeight() - 1;
  rowsPerPage_ = std::max(1, int(std::floor(rows)));
  const int bands = std::max(1, (source_.RowCount() + rowsPerPage_ - 1) / rowsPerPage_);
  return bands * SliceCount();
}

int TablePrintJob::FirstRow(int index) const {
  return std::min(source_.RowCount(), index / SliceCount() * rowsPerPage_);
}

int TablePrintJob::EndRow(int index) const {
  return std::min(source_.RowCount(), FirstRow(index) + rowsPerPage_);
}

QList<int> TablePrintJob::SliceColumns(int index) const {
  return slices_[index % SliceCount()].columns;
}

void TablePrintJob::PaintPage(QPainter &painter, const QRectF &body,
                              int index) const {
  painter.save();
  double top = body.top();
  if (!title_.isEmpty()) {
    painter.setFont(PrintFont(15, true));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(body.left(), top, body.width(), TitleHeight()),
                     Qt::AlignLeft | Qt::AlignVCenter, title_);
    top += TitleHeight();
  }
  const Slice &slice = slices_[index % SliceCount()];
  PaintCaptionRow(painter, slice, top, body.left());
  top += RowHeight();
  if (source_.RowCount() == 0) {
    painter.setFont(font_);
    painter.drawText(QRectF(body.left(), top, body.width(), RowHeight()),
                     Qt::AlignCenter, QStringLiteral("没有记录"));
  }
  for (int row = FirstRow(index); row < EndRow(index); ++row) {
    PaintRow(painter, slice, row, top, body.left());
    top += RowHeight();
  }
  painter.restore();
}

void TablePrintJob::PaintCaptionRow(QPainter &painter, const Slice &slice,
                                    double top, double left) const {
  painter.setFont(boldFont_);
  const QFontMetricsF metrics(boldFont_);
  double x = left;
  for (int i = 0; i < slice.columns.size(); ++i) {
    const QRectF cell(x, top, slice.widths[i], RowHeight());
    painter.fillRect(cell, kCaptionFill);
    painter.setPen(QPen(kLine, 0.6));
    painter.drawRect(cell);
    painter.setPen(Qt::black);
    const QRectF text = cell.adjusted(kPadding, 0, -kPadding, 0);
    painter.drawText(text, Qt::AlignCenter,
                     metrics.elidedText(source_.Caption(slice.columns[i]),
                                        Qt::ElideRight, text.width()));
    x += slice.widths[i];
  }
}

void TablePrintJob::PaintRow(QPainter &painter, const Slice &slice, int row,
                             double top, double left) const {
  double width = 0;
  for (double w : slice.widths)
    width += w;
  if (source_.IsGroupRow(row)) {
    const QRectF cell(left, top, width, RowHeight());
    painter.fillRect(cell, kGroupFill);
    painter.setPen(QPen(kLine, 0.6));
    painter.drawRect(cell);
    painter.setPen(Qt::black);
    painter.setFont(boldFont_);
    painter.drawText(cell.adjusted(kPadding, 0, -kPadding, 0),
                     Qt::AlignLeft | Qt::AlignVCenter, source_.Text(0, row));
    return;
  }
  painter.setFont(font_);
  const QFontMetricsF metrics(font_);
  double x = left;
  for (int i = 0; i < slice.columns.size(); ++i) {
    const int column = slice.columns[i];
    const QRectF cell(x, top, slice.widths[i], RowHeight());
    painter.setPen(QPen(kLine, 0.6));
    painter.drawRect(cell);
    painter.setPen(Qt::black);
    const QRectF text = cell.adjusted(kPadding, 0, -kPadding, 0);
    const Qt::Alignment horizontal =
        source_.Alignment(column, row) & Qt::AlignHorizontal_Mask;
    painter.drawText(text, (horizontal ? horizontal : Qt::AlignLeft) | Qt::AlignVCenter,
                     metrics.elidedText(source_.Text(column, row),
                                        Qt::ElideRight, text.width()));
    x += slice.widths[i];
  }
}
