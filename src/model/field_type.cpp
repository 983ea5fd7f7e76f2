// Names and SQL types of the column type codes.
#include "model/field_type.h"

namespace {

const char *const kSqlTypes[] = {
    "integer primary key", "integer", "float",    "varchar(50)",
    "varchar(50)",         "datetime", "date",    "time",
    "date",                "time",     "text",
};

const char *const kTypeNames[] = {
    "主键", "整型", "浮点型", "文本", "可选型", "时间/日期",
    "日期", "时间", "自动日期", "自动时间", "备注",
};

constexpr int kTypeCount = 11;
const char *const kNoSuchType = "无此类型";

} // namespace

QString SqlTypeName(int code) {
  if (code < 0 || code >= kTypeCount)
    return QString::fromUtf8(kNoSuchType);
  return QString::fromUtf8(kSqlTypes[code]);
}

QString FieldTypeName(int code) {
  if (code < 0 || code >= kTypeCount)
    return QString::fromUtf8(kNoSuchType);
  return QString::fromUtf8(kTypeNames[code]);
}

QStringList FieldTypeNames() {
  QStringList names;
  for (const char *name : kTypeNames)
    names.append(QString::fromUtf8(name));
  return names;
}

bool IsNumericType(int code) {
  return code == FT_KEY || code == FT_INTEGER || code == FT_FLOAT;
}

bool IsDateTimeType(int code) {
  return code >= int(FT_DATETIME) && code <= int(FT_AUTOTIME);
}

bool IsTextType(int code) {
  return code == FT_TEXT || code == FT_OPTION || code == FT_MEMO;
}
