// Opening an account file for a command: through OpenAccountFile, so older
// files are upgraded; a file that does not open is reported on stderr.
#pragma once

#include <QString>

class AccountFile;

// For a command that writes: holds the file's lock (document/account_file.h)
// until file closes or goes; a file that another process keeps is refused
// with "账簿文件正在被其他程序使用！" after a short wait.
bool OpenForCommand(AccountFile &file, const QString &path);
// For a command that only reads: read-only and without holding the lock,
// so it reads a file that another process is writing, or one nobody may
// write; it never writes (document/account_file.h says when an old file is
// upgraded first).
bool OpenForReading(AccountFile &file, const QString &path);
