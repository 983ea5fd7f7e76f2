// The date editor with its drop-down calendar; see date_line_edit.h.
#include "widgets/date_line_edit.h"

#include "base/date_text.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFrame>
#include <QKeyEvent>
#include <QLocale>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

DateLineEdit::DateLineEdit(QWidget *parent) : QLineEdit(parent) {
  drop_ = addAction(style()->standardIcon(QStyle::SP_ArrowDown),
                    QLineEdit::TrailingPosition);
  SetPickerName(pickerName_);
  connect(drop_, &QAction::triggered, this, &DateLineEdit::ShowCalendar);
}

void DateLineEdit::SetPickerName(const QString &name) {
  pickerName_ = name;
  drop_->setText(name);
  drop_->setToolTip(name + QStringLiteral(" (Alt+↓)"));
  if (calendar_)
    calendar_->setAccessibleName(name);
}

void DateLineEdit::MakeCalendar() {
  // A child of the editor, so that an item view's editor stays open while
  // the calendar has the focus.
  popup_ = new QFrame(this, Qt::Popup);
  popup_->setFrameShape(QFrame::StyledPanel);
  calendar_ = new QCalendarWidget(popup_);
  calendar_->setAccessibleName(pickerName_);
  // Month and day names in the language of the program, not of the system.
  calendar_->setLocale(QLocale(QLocale::Chinese, QLocale::China));
  auto *layout = new QVBoxLayout(popup_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(calendar_);
  connect(calendar_, &QCalendarWidget::clicked, this, &DateLineEdit::PickDay);
  connect(calendar_, &QCalendarWidget::activated, this, &DateLineEdit::PickDay);
}

void DateLineEdit::ShowCalendar() {
  if (!popup_)
    MakeCalendar();
  DateTextParts parts;
  const bool named = ReadDateText(text(), parts) && parts.hasDate;
  calendar_->setSelectedDate(named ? parts.date : QDate::currentDate());
  popup_->adjustSize();
  // Below the editor, or above it where the screen ends.
  QPoint place = mapToGlobal(QPoint(0, height()));
  if (const QScreen *shown = screen()) {
    const QRect room = shown->availableGeometry();
    if (place.y() + popup_->height() > room.bottom())
      place.setY(mapToGlobal(QPoint(0, 0)).y() - popup_->height());
    place.setX(qBound(room.left(), place.x(), room.right() - popup_->width()));
  }
  popup_->move(place);
  popup_->show();
  calendar_->setFocus(Qt::PopupFocusReason);
}

void DateLineEdit::PickDay(const QDate &day) {
  popup_->hide();
  setText(DayText(day));
  emit DayPicked();
}

void DateLineEdit::keyPressEvent(QKeyEvent *event) {
  const bool drops = event->key() == Qt::Key_F4 ||
                     (event->key() == Qt::Key_Down &&
                      event->modifiers() & Qt::AltModifier);
  if (!drops) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  ShowCalendar();
  event->accept();
}
