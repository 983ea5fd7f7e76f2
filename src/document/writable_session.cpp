// The session of a file that may be changed.
#include "document/writable_session.h"

#include "base/prompt.h"
#include "document/account_file.h"

CDBVisiter *WritableSession(AccountFile &file) {
  if (file.RefuseChange())
    return nullptr;
  CDBVisiter *session = file.Session();
  if (!session)
    ShowMessage(QStringLiteral("没有打开的账簿文件！"));
  return session;
}
