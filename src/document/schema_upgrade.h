// The upgrade of an account file of the older layout.
#pragma once

class CDBVisiter;

// Brings the file of session up to the current layout, as one unit of work:
// a failed upgrade leaves the file as it was. A file with the version table
// and every table added since (the import rules, the recurring records, the
// budget) is current already: true, nothing done. One with the version
// table that lacks some of the later tables gets them, unless its session
// is read-only: a file opened for viewing is not changed.
bool UpgradeSchema(CDBVisiter &session);
