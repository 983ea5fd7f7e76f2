// Where an export may not go: over the account file it reads (by its real
// path, through any link), over any account file (*.fz) or over an
// existing SQLite database. An export writes a whole new file in place of
// its target, so such a target would lose its records.
#pragma once

#include <QString>

// False, with a message naming out, when out may not receive an export of
// the account file at accountPath.
bool CheckExportTarget(const QString &accountPath, const QString &out,
                       QString *error);
