// The parts of the dialogs that keep a list of things of a file (the
// import rules, the recurring records): a table of whole rows, its cells,
// and the buttons beside it.
#pragma once

#include <QStringList>

class QDialog;
class QPushButton;
class QTableWidget;
class QVBoxLayout;
class QTableWidgetItem;
class QWidget;

// A table of whole rows under the column headings, one row selected at a
// time, without row headings; Tab leaves it. name is its accessible name.
QTableWidget *MakeListTable(const QString &name, const QStringList &headings,
                            QWidget *parent);
// A cell that can be selected but not edited.
QTableWidgetItem *ListCell(const QString &text);
// A button beside the list: name followed by its key and dots ("(&A)…"),
// with name alone as its accessible name; Enter does not press it.
QPushButton *MakeSideButton(const QString &name, const QString &keyAndDots,
                            QWidget *parent);
// Lays out a list dialog: the table with the side buttons beside it (a
// stretch below them), and 关闭 under both.
void LayOutListDialog(QDialog *dialog, QTableWidget *table, QVBoxLayout *side);
