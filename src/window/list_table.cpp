// The parts of the list dialogs; see list_table.h.
#include "window/list_table.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

QTableWidget *MakeListTable(const QString &name, const QStringList &headings,
                            QWidget *parent) {
  auto *table = new QTableWidget(0, int(headings.size()), parent);
  table->setAccessibleName(name);
  table->setHorizontalHeaderLabels(headings);
  table->verticalHeader()->hide();
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setTabKeyNavigation(false);
  return table;
}

QTableWidgetItem *ListCell(const QString &text) {
  auto *item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

QPushButton *MakeSideButton(const QString &name, const QString &keyAndDots,
                            QWidget *parent) {
  auto *button = new QPushButton(name + keyAndDots, parent);
  button->setAccessibleName(name);
  button->setAutoDefault(false);
  return button;
}
