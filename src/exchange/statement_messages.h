// What every reader of statements says of the faults they share: a file
// that cannot be read, one that is no statement, a line of more fields
// than a statement has. What only one format can get wrong is said in that
// reader's own files.
#pragma once

#include <QString>

// "文件不是可识别的对账单（CSV、XLSX、XLS 或 OFX）"
QString NotAStatementMessage();

// "无法读取文件：<path>"
QString CannotReadMessage(const QString &path);

// A line (row) of more than kMaxCsvFields fields, which no statement has.
QString TooManyFieldsMessage(int line, const QString &path);
