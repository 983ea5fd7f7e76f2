// The messages the readers of statements share; see statement_messages.h.
#include "exchange/statement_messages.h"

#include "exchange/statement_lines.h"

QString NotAStatementMessage() {
  return QStringLiteral("文件不是可识别的对账单（CSV、XLSX、XLS 或 OFX）");
}

QString CannotReadMessage(const QString &path) {
  return QStringLiteral("无法读取文件：%1").arg(path);
}

QString TooManyFieldsMessage(int line, const QString &path) {
  return QStringLiteral("对账单第%1行的字段超过 %2 个，不是可识别的对账单：%3")
      .arg(line)
      .arg(kMaxCsvFields)
      .arg(path);
}
