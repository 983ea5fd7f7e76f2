// Saving an open account file under a new name.
#pragma once

#include <QString>

class AccountFile;

// Compacts the open file, copies it to target (replacing what is there) and
// takes up the copy, so that file goes on on target. When the copy fails or
// cannot be taken up (its lock is held elsewhere, say), file goes on on its
// old path and false is returned; the failure has been shown.
bool SaveAccountFileAs(AccountFile &file, const QString &target);
