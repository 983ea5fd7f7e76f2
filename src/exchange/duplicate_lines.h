// Finding the lines of a check that are stored already. A line with a
// bill's number is a duplicate of a stored payment with that number and the
// same moment, amount and counterpart (in any group; a number stored by an
// older build, which kept the number alone, is enough), or of an earlier
// line of the check with them; a line without one is compared by its values
// with the records of the target group, each record matching one line at
// most. A payment stored from the other kind of bill (same_money.h) is
// unticked with the reason. Duplicates are marked, unticked, with why.
#pragma once

#include "exchange/bill_seen.h"
#include "exchange/import_check.h"

#include <vector>

class AccountFile;
struct ImportMapping;

// Marks duplicates among the new lines of a check into the group groupId
// of file; before: the lines earlier bills left in the file.
void FindDuplicates(AccountFile &file, const ImportMapping &mapping,
                    int groupId, const std::vector<SeenLine> &before,
                    std::vector<CheckedLine> &lines);
