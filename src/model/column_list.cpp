// Lookups on the column list.
#include "model/column_list.h"

QString ColumnList::Title(int i) const {
  return IsValid(i) ? columns_[i].title : QString();
}

QString ColumnList::FieldName(int i) const {
  return IsValid(i) ? columns_[i].fieldName : QString();
}

QString ColumnList::Options(int i) const {
  return IsValid(i) ? columns_[i].options : QString();
}

QString ColumnList::DefaultValue(int i) const {
  return IsValid(i) ? columns_[i].defaultValue : QString();
}

int ColumnList::Type(int i) const { return IsValid(i) ? columns_[i].type : -1; }

bool ColumnList::FirstFieldOfType(int type, QString &fieldName) const {
  for (const ColumnDef &column : columns_) {
    if (column.type == type) {
      fieldName = column.fieldName;
      return true;
    }
  }
  return false;
}

int ColumnList::KeyPosition() const {
  for (int i = 0; i < Size(); ++i)
    if (columns_[i].type == FT_KEY)
      return i;
  return 0;
}

QString ColumnList::KeyFieldName() const {
  QString name;
  return FirstFieldOfType(FT_KEY, name) ? name : QStringLiteral("ID");
}

int ColumnList::DatePosition() const {
  for (int i = 0; i < Size(); ++i) {
    const int type = columns_[i].type;
    if (type == FT_DATETIME || type == FT_DATE || type == FT_AUTODATE)
      return i;
  }
  return -1;
}

QList<ColumnDef> ColumnList::NumericColumns() const {
  QList<ColumnDef> result;
  for (const ColumnDef &column : columns_)
    if (column.enabled && IsNumericType(column.type))
      result.append(column);
  return result;
}

QList<ColumnDef> ColumnList::ChoiceColumns() const {
  QList<ColumnDef> result;
  for (const ColumnDef &column : columns_)
    if (column.enabled && column.type == FT_OPTION)
      result.append(column);
  return result;
}

int ColumnList::PositionOf(const QString &fieldName) const {
  // Names are asked for as they are spelled far more often than not, and no
  // two columns differ in case alone: the exact test runs first, as it is
  // the cheaper one.
  for (int i = 0; i < Size(); ++i)
    if (columns_[i].fieldName == fieldName)
      return i;
  for (int i = 0; i < Size(); ++i)
    if (columns_[i].fieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
      return i;
  return -1;
}

int ColumnList::PositionOfNameOrTitle(const QString &name) const {
  if (name.isEmpty())
    return -1;
  const int position = PositionOf(name);
  if (position >= 0)
    return position;
  for (int i = 0; i < Size(); ++i)
    if (columns_[i].title == name)
      return i;
  return -1;
}
