// The text of an engine error code, as shown after "错误代码:".
#pragma once

#include <QString>

// The engine's own text for an SQLite result code (primary or extended).
// For codes without one: 0x80040201 to 0x8004FFFF give "IDispatch error #n"
// (n = code - 0x80040200), any other "Unknown error 0xXXXXXXXX".
QString DescribeError(int code);
