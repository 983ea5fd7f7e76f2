// Storing the ticked lines of a check in the account file: the records go
// through the record store as one command group, so that one undo takes
// the whole import back; with them the column that keeps the bills'
// numbers (when a stored line has one), the payment methods the method
// column does not offer yet, and what each bill line became (bill_seen.h).
// All of it is one unit of work: it reaches the file together or not at
// all, and what the import changed in memory (the columns, the group's
// largest key) goes back with it. What the parts say on their way is held
// back, so that a failure is told once, with its cause
// ("磁盘已满，导入未进行，账簿没有改动").
#pragma once

#include "exchange/import_check.h"
#include "exchange/work_progress.h"

#include <QSet>
#include <QString>

class AccountFile;
struct ImportMapping;

// Stores the lines of check whose numbers are in ticked (bad ones never)
// with their texts into the group groupId of file. The number of records
// stored; 0 with *cancelled set when progress cancelled (nothing is stored
// then), -1 with error when the import could not run or a line's formulas
// gave no finite number (nothing is stored then either).
int StoreCheckedLines(AccountFile &file, const ImportMapping &mapping,
                      int groupId, const ImportCheck &check,
                      const QSet<int> &ticked,
                      const ExchangeProgress &progress, bool *cancelled,
                      QString *error);
