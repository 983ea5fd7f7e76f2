// Rows of widgets that wrap at the layout's width.
#include "widgets/flow_layout.h"

#include <QWidget>

#include <algorithm>

FlowLayout::FlowLayout(QWidget *parent, int spacing) : QLayout(parent) {
  setSpacing(spacing);
  setContentsMargins(2, 2, 2, 2);
}

FlowLayout::~FlowLayout() {
  while (QLayoutItem *item = takeAt(0))
    delete item;
}

void FlowLayout::addItem(QLayoutItem *item) { items_.append(item); }

QLayoutItem *FlowLayout::itemAt(int index) const {
  return index >= 0 && index < items_.size() ? items_.at(index) : nullptr;
}

QLayoutItem *FlowLayout::takeAt(int index) {
  return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

int FlowLayout::heightForWidth(int width) const {
  return Arrange(QRect(0, 0, width, 0), false);
}

QSize FlowLayout::minimumSize() const {
  QSize size;
  for (const QLayoutItem *item : items_)
    size = size.expandedTo(item->minimumSize());
  const QMargins margins = contentsMargins();
  return size + QSize(margins.left() + margins.right(),
                      margins.top() + margins.bottom());
}

QSize FlowLayout::sizeHint() const {
  int width = 0;
  int height = 0;
  for (const QLayoutItem *item : items_) {
    width += item->sizeHint().width() + spacing();
    height = std::max(height, item->sizeHint().height());
  }
  const QMargins margins = contentsMargins();
  return QSize(width + margins.left() + margins.right(),
               height + margins.top() + margins.bottom());
}

void FlowLayout::setGeometry(const QRect &rect) {
  QLayout::setGeometry(rect);
  Arrange(rect, true);
}

int FlowLayout::Arrange(const QRect &rect, bool apply) const {
  const QRect area = rect.marginsRemoved(contentsMargins());
  int x = area.x();
  int y = area.y();
  int rowHeight = 0;
  for (QLayoutItem *item : items_) {
    if (item->isEmpty())
      continue;
    const QSize hint = item->sizeHint();
    if (x > area.x() && x + hint.width() > area.right() + 1) {
      x = area.x();
      y += rowHeight + spacing();
      rowHeight = 0;
    }
    if (apply)
      item->setGeometry(QRect(QPoint(x, y), hint));
    x += hint.width() + spacing();
    rowHeight = std::max(rowHeight, hint.height());
  }
  return y + rowHeight - rect.y() + contentsMargins().bottom();
}
