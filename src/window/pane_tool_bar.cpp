// The wrapping bottom toolbar of the side panes.
#include "window/pane_tool_bar.h"

#include "widgets/flow_layout.h"

#include <QAction>
#include <QFontMetrics>
#include <QFrame>
#include <QToolButton>

PaneToolBar::PaneToolBar(QWidget *parent) : QWidget(parent) {
  new FlowLayout(this);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

QString PaneToolBar::TipText(const QString &tip) {
  const int cut = tip.indexOf(QLatin1Char('\n'));
  return cut < 0 ? tip : tip.mid(cut + 1);
}

QString PaneToolBar::TipStatus(const QString &tip) {
  const int cut = tip.indexOf(QLatin1Char('\n'));
  return cut < 0 ? tip : tip.left(cut);
}

void PaneToolBar::AddSeparatorIfNeeded() {
  if (layout()->count() == 0)
    return;
  auto *line = new QFrame(this);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setFixedSize(6, 22);
  layout()->addWidget(line);
}

QAction *PaneToolBar::AddCommand(int id, const QString &tip, bool checkable) {
  AddSeparatorIfNeeded();
  auto *action = new QAction(TipText(tip), this);
  action->setToolTip(TipText(tip));
  action->setStatusTip(TipStatus(tip));
  action->setCheckable(checkable);
  action->setData(id);

  auto *button = new QToolButton(this);
  button->setDefaultAction(action);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setFocusPolicy(Qt::StrongFocus);
  button->setAutoRaise(true);
  button->setAccessibleName(TipText(tip));
  button->setStatusTip(TipStatus(tip));
  layout()->addWidget(button);

  actions_.insert(id, action);
  buttons_.insert(id, button);
  return action;
}

void PaneToolBar::AddWidget(int id, QWidget *widget, const QString &tip) {
  AddSeparatorIfNeeded();
  widget->setParent(this);
  widget->setToolTip(TipText(tip));
  widget->setStatusTip(TipStatus(tip));
  widget->setAccessibleName(TipText(tip));
  layout()->addWidget(widget);
  widgets_.insert(id, widget);
}

void PaneToolBar::FitEntries(QWidget *box, const QStringList &entries) {
  // Room for the drop-down arrow and the frame.
  const int room = box->width() - 30;
  QFont font = box->font();
  auto widest = [&entries](const QFont &f) {
    int width = 0;
    for (const QString &entry : entries)
      width = qMax(width, QFontMetrics(f).horizontalAdvance(entry));
    return width;
  };
  while (font.pointSizeF() > 6 && widest(font) > room)
    font.setPointSizeF(font.pointSizeF() - 0.5);
  box->setFont(font);
}
