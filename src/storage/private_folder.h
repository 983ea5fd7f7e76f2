// Folders the program makes for itself (its cache, the backups): they hold
// the user's accounts, so they are readable by their owner only.
#pragma once

#include <QString>

// Creates folder and every missing folder leading to it with mode 0700, and
// gives folder itself mode 0700 when it was there already. False when it
// cannot be made; errno tells why.
bool MakePrivateFolder(const QString &folder);
