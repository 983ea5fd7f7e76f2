// Opening an account file for a command.
#include "cli_account.h"

#include "base/prompt.h"
#include "model/account_file.h"

#include <QFileInfo>

bool OpenForCommand(AccountFile &file, const QString &path) {
  if (!QFileInfo(path).isFile()) {
    ShowMessage(QStringLiteral("账簿文件不存在：%1").arg(path));
    return false;
  }
  if (file.OpenAccountFile(path))
    return true;
  ShowMessage(QStringLiteral("无法打开账簿文件：%1").arg(path));
  return false;
}
