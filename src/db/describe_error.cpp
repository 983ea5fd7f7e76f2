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
