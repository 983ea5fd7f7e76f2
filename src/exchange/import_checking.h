// Checking an opened statement before it is stored: every line is read and
// converted (line_conversion.h) and gets its state, and what a line with a
// bill's number (or a payment through a payment service) says of itself is
// kept for later bills. Then the lines of a bill are decided over the whole
// bill (bill_outcomes.h), each statement line apart, and duplicates are
// marked (duplicate_lines.h). Nothing is written. A mapping without a date
// or an amount column checks nothing: no value is invented.
#pragma once

#include "exchange/import_check.h"
#include "exchange/work_progress.h"

#include <QString>

class AccountFile;
class ImportRules;
struct ImportMapping;
struct OpenedStatement;

// What the user has chosen for one import of an opened statement.
struct ImportChoices {
  const ImportMapping &mapping;
  // The rules that set values of each line (import_rules.h); their matches
  // are counted afresh by every check.
  const ImportRules &rules;
  // The group the records go to.
  int groupId = 0;
  // Whether a refund cancels (all or part of) its payment in the same bill
  // rather than being income.
  bool refundsCancelPayments = false;
};

// Reads every line of statement and gives it its state in check; false
// with error when the group is gone, the mapping cannot import or the file
// no longer reads, and false with *cancelled set when progress cancelled.
bool CheckStatement(AccountFile &file, const OpenedStatement &statement,
                    const ImportChoices &choices, ImportCheck *check,
                    const ExchangeProgress &progress, bool *cancelled,
                    QString *error);
