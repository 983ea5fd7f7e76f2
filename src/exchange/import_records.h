// The records an import makes of the lines of a statement, each as a typed
// record is made: the empty row of the target group, the line's texts, the
// key, defaults and formulas; a mapped value wins over a default. A record
// of a statement has the date and time the statement gives, never the
// moment of the import.
#pragma once

#include "records/row_item.h"

#include <QString>
#include <QStringList>

class AccountFile;
struct ImportMapping;

// What every record of one import starts from: the empty row of the
// target group, and the date and time texts of new records (empty: none
// is made up).
struct RecordStart {
  CRowItem empty;
  QString date;
  QString time;
};

RecordStart StartOfRecords(AccountFile &file, int groupId);

// The record made of texts with key. A payment method the line does not
// give is not made up from the column's default. *finite, when given, is
// false when a formula's result was no finite number (EvaluateRow); such a
// record is not to be stored.
CRowItem MakeRecord(const AccountFile &file, const ImportMapping &mapping,
                    const QStringList &texts, int key,
                    const RecordStart &start, bool *finite = nullptr);

// Gives record the bill's number: in its column when the grid shows it,
// else as an item of its own, which the record's statements store all the
// same.
void SetBillNumber(CRowItem &record, const QString &number);

// Whether groupId names a group of file; false with "目标分组不存在！"
// when not.
bool ValidImportGroup(AccountFile &file, int groupId, QString *error);
