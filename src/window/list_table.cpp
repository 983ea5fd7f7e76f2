// The parts of the list dialogs; see list_table.h.
#include "window/list_table.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

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

void LayOutListDialog(QDialog *dialog, QTableWidget *table, QVBoxLayout *side) {
  side->addStretch();
  auto *top = new QHBoxLayout;
  top->addWidget(table);
  top->addLayout(side);
  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog,
                   &QDialog::reject);
  auto *layout = new QVBoxLayout(dialog);
  layout->addLayout(top);
  layout->addWidget(buttons);
}
