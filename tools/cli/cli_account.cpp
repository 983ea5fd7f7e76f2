// Opening an account file for a command.
#include "cli_account.h"

#include "base/prompt.h"
#include "model/account_file.h"

#include <QFileInfo>

namespace {

bool Open(AccountFile &file, const QString &path, AccountFile::OpenMode mode) {
  if (!QFileInfo(path).isFile()) {
    ShowMessage(QStringLiteral("账簿文件不存在：%1").arg(path));
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
