// A line editor for a date typed as text, the form the grids show it in,
// with a button at its right end (and Alt+Down or F4) that drops a
// calendar down. A day picked there replaces the text by that day
// ("yyyy/M/d") and is announced; what is typed is read by whoever takes
// the text.
#pragma once

#include <QLineEdit>

class QCalendarWidget;
class QFrame;

class QAction;

class DateLineEdit : public QLineEdit {
  Q_OBJECT
public:
  explicit DateLineEdit(QWidget *parent = nullptr);

  // Drops the calendar down on the day the text names, else on today.
  void ShowCalendar();
  // Names the drop-down button and its calendar by the date they pick
  // ("选择开始日期"), for a window with more than one date.
  void SetPickerName(const QString &name);
  // The calendar; null until it was first shown.
  QCalendarWidget *Calendar() const { return calendar_; }

signals:
  // A day was picked in the calendar; the text holds it.
  void DayPicked();

protected:
  void keyPressEvent(QKeyEvent *event) override;

private:
  void MakeCalendar();
  QString pickerName_ = QStringLiteral("选择日期");
  QAction *drop_ = nullptr;
  void PickDay(const QDate &day);

  QFrame *popup_ = nullptr;
  QCalendarWidget *calendar_ = nullptr;
};
