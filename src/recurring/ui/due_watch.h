// The check of an open account file for due recurring records: when the
// file opens and at every local midnight while it stays open. Records that
// are added without asking are added at once and reported; the others are
// shown in "到期的定期记录". A file opened for viewing is left alone.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <functional>

class AccountFile;
class QWidget;

class DueWatch : public QObject {
  Q_OBJECT

public:
  using Report = std::function<void(const QString &)>;

  // Watches file, whose owner outlives this object or owns it; dialogs get
  // dialogParent, status texts go to report. Checks nothing until Start.
  DueWatch(AccountFile &file, QWidget *dialogParent, Report report,
           QObject *owner);

  // Checks as soon as the event loop runs, then at each midnight.
  void Start();
  // Checks what is due up to today.
  void Check(const QDate &today);

  // The milliseconds from now to the next local midnight: a day that
  // daylight saving time makes 23 or 25 hours long is counted as it is.
  static qint64 MsecsToMidnight(const QDateTime &now);

private:
  void Arm();

  AccountFile &file_;
  QWidget *dialogParent_;
  Report report_;
  QTimer timer_;
  bool checking_ = false;
};
