// One column of one record as the row operations see it. A row is a list of
// items in column order; the caller builds it and writes the texts back.
#pragma once

#include <QList>
#include <QString>

#include <cstdint>

// The two numeric FieldType codes; the column model is not a dependency of
// the formula library, so they are repeated here.
inline constexpr std::uint32_t kFieldTypeInteger = 1; // FT_INTEGER
inline constexpr std::uint32_t kFieldTypeFloat = 2;   // FT_FLOAT

struct FieldValueItem {
  std::uint32_t type = 0;  // the column's FieldType code
  QString fieldName;       // the column's name in table Users
  QString text;            // the cell's current value as shown
  QString defaultFormula;  // the column's default value
  // Set when this operation has put the default formula into text: by the
  // new-row path for every column it gave its default, and by
  // RecalculateDependents for the columns it resets. Field names are
  // substituted only in the texts of numeric columns and of these; any other
  // column keeps its text as typed or stored. EvaluateRow clears the flag.
  bool applyingDefault = false;

  bool IsNumeric() const {
    return type == kFieldTypeInteger || type == kFieldTypeFloat;
  }
};

using FieldValueRow = QList<FieldValueItem>;
