// The toolbar along the bottom of a side pane: buttons and drop-downs by
// command ID, separators between them, wrapping into further rows when the
// pane is narrow.
//
// Tips are written "A\nB": B is the control's text, tooltip and accessible
// name and A its status tip; a tip without a line break serves as both.
#pragma once

#include <QHash>
#include <QWidget>

class QAction;
class QToolButton;

class PaneToolBar : public QWidget {
  Q_OBJECT
public:
  explicit PaneToolBar(QWidget *parent = nullptr);

  // A text button for command id; checkable buttons show their state.
  QAction *AddCommand(int id, const QString &tip, bool checkable = false);
  // A control of the pane's own, such as a drop-down list, for command id.
  void AddWidget(int id, QWidget *widget, const QString &tip);

  // Null when the bar has no such command.
  QAction *Action(int id) const { return actions_.value(id); }
  QToolButton *Button(int id) const { return buttons_.value(id); }
  QWidget *Widget(int id) const { return widgets_.value(id); }

  // Makes the font of box small enough for its longest entry to show whole
  // at the box's fixed width.
  static void FitEntries(QWidget *box, const QStringList &entries);

  // The text and the status tip of a tip "A\nB".
  static QString TipText(const QString &tip);
  static QString TipStatus(const QString &tip);

private:
  void AddSeparatorIfNeeded();

  QHash<int, QAction *> actions_;
  QHash<int, QToolButton *> buttons_;
  QHash<int, QWidget *> widgets_;
};
