// Saved filter sets in table FilterMemory: lookup, insert, update, delete,
// loading by pane class, and the one-time conversion of the old result
// display tables.
#pragma once

#include "groups/filter_set.h"

#include <QList>

class CDBVisiter;

// True when a row with the set's ID exists.
bool FilterSetExists(CDBVisiter &session, const FilterSet &set);
// Inserts the row, takes its new ID into set.id and stores the stream of the
// set in flValue. True only when the whole set was stored.
bool InsertFilterSet(CDBVisiter &session, FilterSet &set);
// Rewrites the class, title and stream of the set's row.
bool UpdateFilterSet(CDBVisiter &session, const FilterSet &set);
// Updates the set's row when it exists, else inserts the set.
bool SaveFilterSet(CDBVisiter &session, FilterSet &set);
bool DeleteFilterSet(CDBVisiter &session, int id);
// The sets of a pane class in the order of the rows. A row whose stream
// can't be read is left out; the others load as usual.
QList<FilterSet> LoadFilterSets(CDBVisiter &session, int classId);

// Moves the settings of the old tables ResultShowItem and ResultShowLimit
// into three new sets titled "设置1": class 2 from the old group 0, class 3
// from the old group 1, and an empty one of class 1. Run once by the schema
// upgrade before it drops the old tables; false when a set could not be
// saved.
bool ConvertOldResultTables(CDBVisiter &session);
