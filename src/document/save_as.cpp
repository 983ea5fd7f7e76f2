// Saving an open account file under a new name.
#include "document/save_as.h"

#include "document/account_file.h"
#include "storage/compaction.h"

bool SaveAccountFileAs(AccountFile &file, const QString &target) {
  const QString old = file.Path();
  // The compaction drops the session; the file is taken up again at once
  // on whichever path it continues.
  CompactAccountFile(old);
  if (!ReplaceFile(target, old)) {
    file.SwitchAccountFile(old);
    return false;
  }
  if (!file.SwitchAccountFile(target)) {
    file.SwitchAccountFile(old);
    return false;
  }
  return true;
}
