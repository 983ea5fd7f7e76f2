// The main show message of an open account file (model/main_show_text.h
// composes it).
#pragma once

#include <QString>

class AccountFile;

// The file's tip with its queries run; with no file open the queries stay
// as written.
QString ComposeMainShowText(AccountFile &file, const QString &whereText);
