// Error code texts.
#include "db/describe_error.h"

#include <sqlite3.h>

#include <cstring>

QString DescribeError(int code) {
  // SQLite's primary and extended result codes all lie below 0x10000.
  if (code >= 0 && code < 0x10000) {
    const char *text = sqlite3_errstr(code);
    if (text && std::strcmp(text, "unknown error") != 0)
      return QString::fromUtf8(text);
  }
  const quint32 value = quint32(code);
  if (value >= 0x80040201u && value <= 0x8004FFFFu)
    return QStringLiteral("IDispatch error #%1").arg(value - 0x80040200u);
  return QStringLiteral("Unknown error 0x") + QString::number(value, 16).toUpper();
}

QString EngineFailureReason(int code) {
  switch (code & 0xFF) {
  case SQLITE_FULL:
    return QStringLiteral("磁盘已满");
  case SQLITE_READONLY:
    return QStringLiteral("账簿文件不能写入（只读）");
  case SQLITE_IOERR:
    return QStringLiteral("读写磁盘出错");
  case SQLITE_BUSY:
  case SQLITE_LOCKED:
    return QStringLiteral("账簿文件正被其他程序使用");
  case SQLITE_CORRUPT:
  case SQLITE_NOTADB:
    return QStringLiteral("账簿文件已损坏");
  case SQLITE_CANTOPEN:
    return QStringLiteral("无法打开账簿文件");
  case SQLITE_NOMEM:
    return QStringLiteral("内存不足");
  default:
    return QString();
  }
}

QString EngineFailureText(int code, const QString &engineText) {
  const QString reason = EngineFailureReason(code);
  if (reason.isEmpty())
    return engineText;
  return QStringLiteral("%1（%2）").arg(reason, engineText);
}

QStringList EngineFailureReasons() {
  QStringList reasons;
  for (const int code : {SQLITE_FULL, SQLITE_READONLY, SQLITE_IOERR, SQLITE_BUSY,
                         SQLITE_CORRUPT, SQLITE_CANTOPEN, SQLITE_NOMEM})
    reasons.append(EngineFailureReason(code));
  return reasons;
}

QString ConditionRefusal(const QString &engineText) {
  if (engineText.isEmpty())
    return QString();
  return QStringLiteral("筛选条件无法执行（%1）").arg(engineText);
}

QString FailureOfWork(const QStringList &held, const QString &undone) {
  for (const QString &text : held)
    for (const QString &reason : EngineFailureReasons())
      if (text.startsWith(reason))
        return QStringLiteral("%1，%2，账簿没有改动").arg(reason, undone);
  return QString();
}
