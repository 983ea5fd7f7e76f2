// The text of an engine error code, as shown after "错误代码:".
#pragma once

#include <QString>
#include <QStringList>

// The engine's own text for an SQLite result code (primary or extended).
// For codes without one: 0x80040201 to 0x8004FFFF give "IDispatch error #n"
// (n = code - 0x80040200), any other "Unknown error 0xXXXXXXXX".
QString DescribeError(int code);

// What a statement's failure means to the user, in Chinese, with the
// engine's own text as the detail: "磁盘已满（database or disk is full）".
// code is the extended or primary result code; a code without a Chinese
// text gives the engine's text alone.
QString EngineFailureText(int code, const QString &engineText);

// The Chinese reason alone ("磁盘已满"), or empty for a code without one.
QString EngineFailureReason(int code);

// Every reason EngineFailureReason gives.
QStringList EngineFailureReasons();

// The refusal of a condition (a --where, a filter) the engine could not
// run, in Chinese with the engine's text as the detail:
// "筛选条件无法执行（no such column: x）"; empty for an empty text.
QString ConditionRefusal(const QString &engineText);

// One message for work that changed nothing because the file could not be
// written: "磁盘已满，导入未进行，账簿没有改动" for a held text that begins
// with a reason EngineFailureReason gives (undone = "导入未进行"); empty
// when no held text gives such a reason.
QString FailureOfWork(const QStringList &held, const QString &undone);
