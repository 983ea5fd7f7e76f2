// Opening an account file for a command: through OpenAccountFile, so older
// files are upgraded; a file that does not open is reported on stderr.
#pragma once

#include <QString>

class AccountFile;

bool OpenForCommand(AccountFile &file, const QString &path);
