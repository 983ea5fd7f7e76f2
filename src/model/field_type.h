// The column type codes stored in TableStyle.[数据类型], their SQL types in
// Users and the names shown to the user.
#pragma once

#include <QString>
#include <QStringList>

enum FieldType : unsigned {
  FT_KEY = 0,       // 主键
  FT_INTEGER = 1,   // 整型
  FT_FLOAT = 2,     // 浮点型
  FT_TEXT = 3,      // 文本
  FT_OPTION = 4,    // 可选型
  FT_DATETIME = 5,  // 时间/日期
  FT_DATE = 6,      // 日期
  FT_TIME = 7,      // 时间
  FT_AUTODATE = 8,  // 自动日期
  FT_AUTOTIME = 9,  // 自动时间
  FT_MEMO = 10,     // 备注
};

// "integer primary key", "integer", "float", ...; "无此类型" for other codes.
QString SqlTypeName(int code);
// "主键" ... "备注"; "无此类型" for other codes.
QString FieldTypeName(int code);
// The 11 type names in code order.
QStringList FieldTypeNames();

// Types whose values are numbers: key, integer and float.
bool IsNumericType(int code);
// Types whose values are dates, times or both.
bool IsDateTimeType(int code);
// Types whose values are texts between quotes: text, option and memo.
bool IsTextType(int code);
