// The enabled columns of an open account file in 编号 order. A column is
// addressed by its position everywhere: the records grid shows position i in
// grid column i - 1 and position 0 in the row heading.
#pragma once

#include "model/column_def.h"

#include <QList>

class ColumnList {
public:
  int Size() const { return int(columns_.size()); }
  bool IsEmpty() const { return columns_.isEmpty(); }
  void Clear() { columns_.clear(); }
  void Append(const ColumnDef &column) { columns_.append(column); }
  // Position i must be valid.
  void Replace(int i, const ColumnDef &column) { columns_[i] = column; }
  bool IsValid(int i) const { return i >= 0 && i < Size(); }
  // Position i must be valid.
  const ColumnDef &At(int i) const { return columns_.at(i); }
  const QList<ColumnDef> &All() const { return columns_; }

  // The texts of position i; empty when i is out of range.
  QString Title(int i) const;
  QString FieldName(int i) const;
  QString Options(int i) const;
  QString DefaultValue(int i) const;
  // The type code of position i; -1 when i is out of range.
  int Type(int i) const;

  // The field name of the first column of type t; false when there is none.
  bool FirstFieldOfType(int type, QString &fieldName) const;
  // The first column of type 0; 0 when there is none.
  int KeyPosition() const;
  // The field name of the first column of type 0; "ID" when there is none.
  QString KeyFieldName() const;
  // The first column of type 5, 6 or 8; -1 when there is none.
  int DatePosition() const;
  // Enabled columns of type 0, 1 or 2 / of type 4, in list order.
  QList<ColumnDef> NumericColumns() const;
  QList<ColumnDef> ChoiceColumns() const;
  // The position of the column with this field name (case-insensitive);
  // -1 when there is none.
  int PositionOf(const QString &fieldName) const;
  // The position of the column of that field name, else of the first one
  // with that caption ("类别"); -1 when there is neither.
  int PositionOfNameOrTitle(const QString &name) const;

private:
  QList<ColumnDef> columns_;
};
