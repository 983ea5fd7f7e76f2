// Accessible interfaces of the chart widgets and their items.
#include "analysis/ui/chart_accessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWidget>

namespace {

const ChartAccessibleItems *ItemsOf(QWidget *widget) {
  return dynamic_cast<const ChartAccessibleItems *>(widget);
}

// One bar or slice: no object of its own, addressed by its index.
class ChartItemAccessible : public QAccessibleInterface {
public:
  ChartItemAccessible(QWidget *chart, int index) : chart_(chart), index_(index) {}

  bool isValid() const override {
    const ChartAccessibleItems *items = chart_ ? ItemsOf(chart_) : nullptr;
    return items && index_ < items->AccessibleItemCount();
  }
  QObject *object() const override { return nullptr; }
  QWindow *window() const override {
    return chart_ ? chart_->window()->windowHandle() : nullptr;
  }
  QAccessibleInterface *parent() const override {
    return chart_ ? QAccessible::queryAccessibleInterface(chart_) : nullptr;
  }
  QAccessibleInterface *child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface *) const override { return -1; }
  QAccessibleInterface *childAt(int, int) const override { return nullptr; }
  QAccessibleInterface *focusChild() const override { return nullptr; }

  QString text(QAccessible::Text t) const override {
    if (!isValid())
      return QString();
    const ChartAccessibleItems *items = ItemsOf(chart_);
    switch (t) {
    case QAccessible::Name:
      return items->AccessibleItemName(index_);
    case QAccessible::Description:
    case QAccessible::Value:
      return items->AccessibleItemValue(index_);
    default:
      return QString();
    }
  }
  void setText(QAccessible::Text, const QString &) override {}

  QRect rect() const override {
    if (!isValid())
      return QRect();
    const QRect local = ItemsOf(chart_)->AccessibleItemRect(index_);
    if (local.isEmpty())
      return QRect();
    return QRect(chart_->mapToGlobal(local.topLeft()), local.size());
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.readOnly = true;
    if (!isValid() || ItemsOf(chart_)->AccessibleItemRect(index_).isEmpty())
      s.invisible = s.offscreen = true;
    return s;
  }

  int Index() const { return index_; }

private:
  QPointer<QWidget> chart_;
  int index_;
};

// The chart: its items are its children.
class ChartAccessible : public QAccessibleWidget {
public:
  explicit ChartAccessible(QWidget *chart)
      : QAccessibleWidget(chart, QAccessible::Chart) {}

  int childCount() const override {
    const ChartAccessibleItems *items = ItemsOf(widget());
    return items ? items->AccessibleItemCount() : 0;
  }

  QAccessibleInterface *child(int index) const override {
    const ChartAccessibleItems *items = ItemsOf(widget());
    if (!items || index < 0 || index >= items->AccessibleItemCount())
      return nullptr;
    QAccessible::Id &id = items->AccessibleCache().Slot(index);
    if (!id)
      id = QAccessible::registerAccessibleInterface(
          new ChartItemAccessible(widget(), index));
    return QAccessible::accessibleInterface(id);
  }

  int indexOfChild(const QAccessibleInterface *child) const override {
    const auto *item = dynamic_cast<const ChartItemAccessible *>(child);
    return item && item->parent() == this ? item->Index() : -1;
  }

  QAccessibleInterface *childAt(int x, int y) const override {
    const ChartAccessibleItems *items = ItemsOf(widget());
    if (!items)
      return nullptr;
    const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
    for (int i = 0; i < items->AccessibleItemCount(); ++i)
      if (items->AccessibleItemRect(i).contains(local))
        return child(i);
    return nullptr;
  }
};

QAccessibleInterface *ChartFactory(const QString &, QObject *object) {
  auto *widget = qobject_cast<QWidget *>(object);
  if (!widget || !ItemsOf(widget))
    return nullptr;
  return new ChartAccessible(widget);
}

} // namespace

void ChartAccessibleCache::Reset() {
  for (const QAccessible::Id id : ids_)
    if (id)
      QAccessible::deleteAccessibleInterface(id);
  ids_.clear();
}

QAccessible::Id &ChartAccessibleCache::Slot(int index) {
  if (size_t(index) >= ids_.size())
    ids_.resize(size_t(index) + 1, 0);
  return ids_[size_t(index)];
}

void InstallChartAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(ChartFactory);
    return true;
  }();
  (void)installed;
}

void NotifyChartItemsChanged(QWidget *chart, ChartAccessibleCache &cache) {
  cache.Reset();
  if (!QAccessible::isActive())
    return;
  QAccessibleEvent event(chart, QAccessible::ObjectReorder);
  QAccessible::updateAccessibility(&event);
}
