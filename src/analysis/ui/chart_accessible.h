// The chart widgets in the accessibility tree: the chart is a node whose
// children are its bars or slices, each named by its label and described
// by its value, so that a screen reader reads the chart item by item.
#pragma once

#include <QAccessible>
#include <QRect>
#include <QString>

#include <vector>

class QWidget;

// The interfaces handed out for the items of one chart, kept until the
// items change, since assistive tools refer to them by ID meanwhile.
class ChartAccessibleCache {
public:
  ChartAccessibleCache() = default;
  ~ChartAccessibleCache() { Reset(); }
  ChartAccessibleCache(const ChartAccessibleCache &) = delete;
  ChartAccessibleCache &operator=(const ChartAccessibleCache &) = delete;

  // Forgets (and frees) every item interface.
  void Reset();
  QAccessible::Id &Slot(int index);

private:
  std::vector<QAccessible::Id> ids_;
};

// What a chart widget tells the accessibility tree about its items.
class ChartAccessibleItems {
public:
  virtual ~ChartAccessibleItems() = default;
  virtual int AccessibleItemCount() const = 0;
  virtual QString AccessibleItemName(int index) const = 0;
  virtual QString AccessibleItemValue(int index) const = 0;
  // In widget coordinates; empty while the item is not shown.
  virtual QRect AccessibleItemRect(int index) const = 0;
  virtual ChartAccessibleCache &AccessibleCache() const = 0;
};

// Registers, once, the factory that gives every widget implementing
// ChartAccessibleItems its chart interface.
void InstallChartAccessibility();

// Tells assistive tools that the items of the chart widget changed.
void NotifyChartItemsChanged(QWidget *chart, ChartAccessibleCache &cache);
