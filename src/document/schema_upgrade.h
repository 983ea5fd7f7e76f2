// The upgrade of an account file of the older layout.
#pragma once

class CDBVisiter;

// Brings the file of session up to the current layout, as one unit of work:
// a failed upgrade leaves the file as it was. A file with the version table
// is current already: true, nothing done.
bool UpgradeSchema(CDBVisiter &session);
