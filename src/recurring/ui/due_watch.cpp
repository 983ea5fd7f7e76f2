// The due check of an open file; see due_watch.h.
#include "recurring/ui/due_watch.h"

#include "document/account_file.h"
#include "recurring/due_occurrences.h"
#include "recurring/recurring_store.h"
#include "recurring/ui/due_records_dialog.h"
#include "window/dialog_runner.h"

DueWatch::DueWatch(AccountFile &file, QWidget *dialogParent, Report report,
                   QObject *owner)
    : QObject(owner), file_(file), dialogParent_(dialogParent),
      report_(std::move(report)) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] {
    Check(QDate::currentDate());
    Arm();
  });
}

void DueWatch::Start() {
  // Once the window that opened the file is shown.
  QTimer::singleShot(0, this, [this] {
    Check(QDate::currentDate());
    Arm();
  });
}

void DueWatch::Arm() {
  // A second past midnight, so that the new day has surely begun.
  timer_.start(
      std::chrono::milliseconds(MsecsToMidnight(QDateTime::currentDateTime()) +
                                1000));
}

qint64 DueWatch::MsecsToMidnight(const QDateTime &now) {
  const QDateTime midnight(now.date().addDays(1), QTime(0, 0));
  return std::max<qint64>(0, now.msecsTo(midnight));
}

void DueWatch::Check(const QDate &today) {
  // A check while the dialog of the last one is open waits for the next.
  if (checking_ || !file_.IsOpen() || file_.IsReadOnly())
    return;
  checking_ = true;
  const QList<RecurringRecord> records = LoadRecurringRecords(file_);
  const int added = AddAutomaticOccurrences(file_, records, today);
  if (added > 0 && report_)
    report_(QStringLiteral("已自动添加 %1 条定期记录").arg(added));
  const QList<DueOccurrence> asked =
      DueOccurrences(AutomaticRecords(records, false), today);
  if (!asked.isEmpty()) {
    DueRecordsDialog dialog(file_, records, asked, dialogParent_);
    CurrentDialogRunner().Run(dialog);
  }
  checking_ = false;
}
