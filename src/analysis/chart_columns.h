// The columns a chart works on, found in the file's column list.
#pragma once

#include <QString>

class ColumnList;
struct ColumnDef;

// The column whose months the bar chart walks: the first column of type
// FT_DATE, else the first of type FT_AUTODATE; null when there is neither.
const ColumnDef *ChartDateColumn(const ColumnList &columns);

// The enabled key, integer or float column of that field name (letter case
// ignored); null when there is none, so that nothing is summed over a text
// or an unknown name.
const ColumnDef *ChartSumColumn(const ColumnList &columns,
                                const QString &fieldName);

// The column summed when the user has chosen none: the last enabled float
// column whose default is a formula (a total such as Amount*Count), else the
// first enabled float column, else the first enabled integer column; empty
// when there is none. Summing the key would add up record numbers.
QString DefaultSumField(const ColumnList &columns);

// A field name in brackets, as it stands in every chart statement.
QString BracketedField(const QString &fieldName);
