// Opening an account file for a command.
#include "cli_account.h"

#include "base/prompt.h"
#include "db/account_check.h"
#include "document/account_file.h"

namespace {

bool Open(AccountFile &file, const QString &path, AccountFile::OpenMode mode) {
  const QString problem = AccountPathProblem(path);
  if (!problem.isEmpty()) {
    ShowMessage(problem);
    return false;
  }
  if (file.OpenAccountFile(path, mode))
    return true;
  ShowMessage(QStringLiteral("无法打开账簿文件：%1").arg(path));
  return false;
}

} // namespace

bool OpenForCommand(AccountFile &file, const QString &path) {
  return Open(file, path, AccountFile::ForWriting);
}

bool OpenForReading(AccountFile &file, const QString &path) {
  return Open(file, path, AccountFile::ForReading);
}
