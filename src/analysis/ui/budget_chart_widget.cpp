// The rows of the budget page.
#include "analysis/ui/budget_chart_widget.h"

#include "print/plated_title.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kMargin = 16;
constexpr int kNameWidth = 110;
constexpr int kFiguresWidth = 330;
constexpr int kBarHeight = 18;

QColor ToColour(const ChartRgb &rgb) {
  return QColor(rgb.red, rgb.green, rgb.blue);
}

} // namespace

BudgetChartWidget::BudgetChartWidget(QWidget *parent) : QWidget(parent) {
  InstallChartAccessibility();
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(QStringLiteral("预算"));
}

BudgetChartWidget::~BudgetChartWidget() = default;

void BudgetChartWidget::SetFigures(const BudgetMonth &figures,
                                   const QString &title) {
  figures_ = figures;
  title_ = title;
  current_ = 0;
  setMinimumHeight(ContentHeight());
  updateGeometry();
  NotifyChartItemsChanged(this, accessible_);
  update();
}

int BudgetChartWidget::RowCount() const {
  return figures_.problem.isEmpty() ? int(figures_.lines.size()) + 1 : 0;
}

const BudgetLine &BudgetChartWidget::Row(int row) const {
  return row == 0 ? figures_.total : figures_.lines[row - 1];
}

QRect BudgetChartWidget::RowRect(int row) const {
  if (row < 0 || row >= RowCount())
    return QRect();
  // A gap parts the total from the options.
  const int top = kTitleHeight + row * kRowPitch + (row > 0 ? 8 : 0);
  return QRect(0, top, width(), kRowPitch);
}

int BudgetChartWidget::RowAt(const QPoint &pos) const {
  for (int row = 0; row < RowCount(); ++row)
    if (RowRect(row).contains(pos))
      return row;
  return -1;
}

QString BudgetChartWidget::RowFigures(const BudgetLine &line) {
  return QStringLiteral("预算 %1，已用 %2，剩余 %3")
      .arg(BudgetAmountText(line.budget), BudgetAmountText(line.spent),
           BudgetAmountText(line.Left()));
}

int BudgetChartWidget::ContentHeight() const {
  return kTitleHeight + RowCount() * kRowPitch + 8 + kMargin;
}

QSize BudgetChartWidget::sizeHint() const {
  return QSize(kNameWidth + kFiguresWidth + 300, ContentHeight());
}

void BudgetChartWidget::Paint(QPainter &painter, const QRect &rect) const {
  painter.save();
  painter.fillRect(rect, ToColour(FromBgr(kBarBackgroundBgr)));
  QFont titleFont = font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
  titleFont.setBold(true);
  painter.setFont(titleFont);
  DrawPlatedTitle(painter, QRect(rect.left(), rect.top(), rect.width(), kTitleHeight),
                  title_, ToColour(FromBgr(kBarTitleBgr)));
  for (int row = 0; row < RowCount(); ++row)
    PaintRow(painter, RowRect(row).translated(rect.topLeft()), row);
  if (!figures_.problem.isEmpty()) {
    painter.setFont(font());
    painter.setPen(Qt::white);
    painter.drawText(rect.adjusted(kMargin, kTitleHeight, -kMargin, 0),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     figures_.problem);
  }
  painter.restore();
}

void BudgetChartWidget::PaintRow(QPainter &painter, const QRect &rowRect,
                                 int row) const {
  const BudgetLine &line = Row(row);
  QFont rowFont = font();
  rowFont.setBold(row == 0);
  painter.setFont(rowFont);
  painter.setPen(Qt::white);
  const QRect name(rowRect.left() + kMargin, rowRect.top(), kNameWidth,
                   rowRect.height());
  painter.drawText(name, Qt::AlignLeft | Qt::AlignVCenter,
                   painter.fontMetrics().elidedText(line.option, Qt::ElideRight,
                                                    kNameWidth - 4));
  const QRect figures(rowRect.right() - kMargin - kFiguresWidth, rowRect.top(),
                      kFiguresWidth, rowRect.height());
  painter.drawText(figures, Qt::AlignRight | Qt::AlignVCenter, RowFigures(line));

  // The track is the budget; a bar over it fills the track and is red.
  const int left = name.right() + 8;
  const int trackWidth = std::max(0, figures.left() - 12 - left);
  const QRect track(left, rowRect.center().y() - kBarHeight / 2, trackWidth,
                    kBarHeight);
  painter.fillRect(track, QColor(255, 255, 255, 40));
  const double ratio = std::clamp(line.Ratio(), 0.0, 1.0);
  const QRect bar(track.left(), track.top(), int(track.width() * ratio),
                  track.height());
  const QColor fill = ToColour(BudgetBandColour(BandOf(line)));
  if (bar.width() > 0) {
    painter.fillRect(bar, fill);
    painter.setPen(QPen(fill.darker(140), 1));
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
  }
  if (hasFocus() && row == current_) {
    painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
    painter.drawRect(rowRect.adjusted(2, 2, -3, -3));
  }
}

void BudgetChartWidget::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  Paint(painter, rect());
}

void BudgetChartWidget::mouseDoubleClickEvent(QMouseEvent *event) {
  const int row = RowAt(event->position().toPoint());
  if (row < 0)
    return QWidget::mouseDoubleClickEvent(event);
  current_ = row;
  update();
  emit rowActivated(row);
  event->accept();
}

void BudgetChartWidget::keyPressEvent(QKeyEvent *event) {
  const int count = RowCount();
  switch (event->key()) {
  case Qt::Key_Up:
  case Qt::Key_Down:
    if (count == 0)
      break;
    current_ = std::clamp(current_ + (event->key() == Qt::Key_Up ? -1 : 1), 0,
                          count - 1);
    update();
    return;
  case Qt::Key_Return:
  case Qt::Key_Enter:
    if (current_ < count)
      emit rowActivated(current_);
    return;
  default:
    break;
  }
  QWidget::keyPressEvent(event);
}
