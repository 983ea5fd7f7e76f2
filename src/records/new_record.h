// A record made the way the new-record row of a group makes one: from the
// texts typed into it, the group's next key, the automatic date and time,
// the defaults of the other columns and their formulas.
#pragma once

#include <QDateTime>

class CRowItem;
struct GroupNode;

// Completes row, which holds the typed texts of a new record of group:
// takes the group's next key, fills the automatic date and time of now
// where the row gives none, every empty column with its default, and
// evaluates the formulas. False when the group has no key left (shown as
// "分组“…”的编号已用尽") or a formula's result is no number; such a row is
// not to be stored.
bool CompleteNewRecord(CRowItem &row, GroupNode &group, const QDateTime &now);
