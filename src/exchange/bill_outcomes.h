// What a check makes of the lines of a bill once all of them are read: the
// outcome of each (bill_lines.h: closed payments and cancelled refunds
// skipped, refunds as income, payments lowered by what was refunded) put
// into the checked lines, neutral lines and income left unticked where the
// file cannot take them, and lines between the household's own accounts (a
// card's repayment, a top-up) unticked with the reason.
#pragma once

#include "exchange/bill_lines.h"
#include "exchange/bill_seen.h"
#include "exchange/import_check.h"

#include <vector>

class ColumnList;
struct ImportMapping;

// Applies what the whole bill makes of each line of lines that reads;
// facts holds what each line says, in the same order. before: the lines
// earlier bills left in the file, whose payments refunded in full have
// their refunds left out. Nothing when the mapping reads no bill.
void DecideBillLines(const ColumnList &columns, const ImportMapping &mapping,
                     bool refundsCancelPayments,
                     const std::vector<BillFacts> &facts,
                     const std::vector<SeenLine> &before,
                     std::vector<CheckedLine> &lines);

// Unticks a new, ticked line that moves money between the household's own
// accounts (a credit card's repayment, a top-up of a payment service's
// balance), with the reason; creditCard tells a credit card's statement,
// whose spending is positive.
void MarkOwnAccounts(const ImportMapping &mapping, bool creditCard,
                     const BillFacts &fact, CheckedLine &line);
