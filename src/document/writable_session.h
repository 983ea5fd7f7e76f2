// The session through which a command changes an account file.
#pragma once

class AccountFile;
class CDBVisiter;

// The session of file when the file may be changed; null after saying why
// not: the file was opened for viewing ("账簿文件是只读的…"), or no file is
// open ("没有打开的账簿文件！").
CDBVisiter *WritableSession(AccountFile &file);
