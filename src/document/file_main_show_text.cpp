// The main show message of an open account file.
#include "document/file_main_show_text.h"

#include "document/account_file.h"
#include "model/main_show_text.h"

QString ComposeMainShowText(AccountFile &file, const QString &whereText) {
  return ComposeMainShowText(file.Session(), file.Settings(), whereText);
}
