// What a record cell shows for its stored text.
#include "records/record_cell_text.h"

#include "model/field_type.h"

DateValue ShownDate(const QString &stored) {
  if (stored.isEmpty())
    return DateValue::FromDateAndTime(QDate(1999, 12, 30), QTime(0, 0));
  const DateValue value = ParseDateTime(stored);
  if (!value.IsValid() || value.Date().year() >= 1900)
    return value;
  const QDate date = value.Date();
  QDate moved(1999, date.month(), date.day());
  if (!moved.isValid()) // 29 February of a leap year before 1900
    moved = QDate(1999, date.month(), 28);
  return DateValue::FromDateAndTime(moved, value.Time());
}

bool IsDatePickerType(int fieldType) {
  return fieldType == FT_DATETIME || fieldType == FT_DATE ||
         fieldType == FT_AUTODATE;
}

bool IsTimeOnlyType(int fieldType) {
  return fieldType == FT_TIME || fieldType == FT_AUTOTIME;
}

QString ShownCellText(int fieldType, const QString &stored) {
  if (stored.isEmpty())
    return stored;
  if (IsDatePickerType(fieldType)) {
    const DateValue value = ShownDate(stored);
    return value.IsValid() ? FormatDateTime(value, DTP_DATE) : stored;
  }
  if (IsTimeOnlyType(fieldType)) {
    const DateValue value = ShownDate(stored);
    if (!value.IsValid())
      return stored;
    const QTime time = value.Time();
    return QStringLiteral("%1:%2:%3")
        .arg(time.hour())
        .arg(time.minute())
        .arg(time.second());
  }
  return stored;
}
