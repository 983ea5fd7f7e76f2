// A recurring record: a record's values with a group, a rhythm, a first date
// and an end, made again and again on its due dates. "Made up to" is the
// date of the last occurrence made or skipped; the occurrences after it are
// due once their date has come, however long the file stayed closed.
#pragma once

#include "recurring/rhythm.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>

class AccountFile;
class ColumnList;

enum class RecurringEnd { Never = 0, AfterTimes = 1, OnDate = 2 };

struct RecurringRecord {
  int id = 0;
  QString title;
  int groupId = 0;
  // Field name and text as typed, as the new-record row takes them; the
  // other columns get their defaults and formulas.
  QList<QPair<QString, QString>> values;
  Rhythm rhythm;
  QDate first;
  RecurringEnd end = RecurringEnd::Never;
  int times = 0; // for AfterTimes
  QDate until;   // for OnDate, the last date that may be due
  bool automatic = false; // added without asking
  bool paused = false;
  QDate madeUpTo; // null while none was made or skipped
};

// The number of the next occurrence not yet made or skipped; -1 when the
// end has been reached.
int NextOccurrence(const RecurringRecord &record);
// Its date; null when the end has been reached.
QDate NextDueDate(const RecurringRecord &record);
// Whether occurrence n still lies before the end.
bool BeforeEnd(const RecurringRecord &record, int n, const QDate &date);

// "已暂停", "已结束" or "进行中".
QString RecurringStateText(const RecurringRecord &record);

// What is wrong with record for file: an empty title, a rhythm of 0, a
// first date missing or outside the years a record's date may have, an end
// before the start, a count of 0 times, a group
// that is not a group of the file, a field the file does not have, a date
// or time text that does not read as one. Empty when it is fine.
QString RecurringProblem(const RecurringRecord &record, AccountFile &file);
// RecurringProblem, and then whether the values compute: a formula or a
// number whose result is no finite number (1/0, 1e309) is refused when the
// record is added or edited, not at every due check.
QString RecurringValuesProblem(const RecurringRecord &record,
                               AccountFile &file);
// Whether date may be a record's date (the years 100 to 9999).
bool IsRecordDay(const QDate &date);

// The values as FIELD=TEXT texts: "Amount=3000".
QStringList ValueAssignments(const RecurringRecord &record);
// The values as the windows show them, by caption: "类别=居住，单价=3000".
QString ValuesShown(const RecurringRecord &record, const ColumnList &columns);
