// A saved filter set: the named state of a settings pane, kept in table
// FilterMemory of the account file.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Which pane a set belongs to.
enum FilterClass : int {
  FSC_FILTER_PANE = 1,
  FSC_BAR_SETUP = 2,
  FSC_PIE_SETUP = 3,
};

// What a condition holds.
enum ConditionKind : int {
  CK_COLUMN = 13, // the setting of one column of a filter
  CK_SUM = 14,    // the column a chart set-up pane sums
};

// One saved item of a pane.
struct FilterCondition {
  qint32 enabled = 1;  // 1 when ticked; always 1 for CK_SUM
  qint32 kind = CK_COLUMN;
  QString fieldName;   // empty for CK_SUM
  // The one text of a text column, the start and end of a date column, the
  // ticked values of an option column; for CK_SUM the summed column.
  QStringList texts;
  QList<double> numbers; // range start and end of a number column
  QList<qint32> integers; // never written by the panes; kept when read

  // Field for field; doubles compare by their bits, so a NaN read from a
  // stream equals itself.
  bool operator==(const FilterCondition &other) const;
};

struct FilterSet {
  qint32 id = -1; // -1 until stored
  qint32 classId = FSC_FILTER_PANE;
  QString title;
  QList<FilterCondition> conditions;

  // The condition of that field name (any letter case) and kind, or null.
  FilterCondition *Find(const QString &fieldName, int kind);
  const FilterCondition *Find(const QString &fieldName, int kind) const;
  // Appends condition unless one of its field name and kind is present;
  // false when it was not added.
  bool Add(const FilterCondition &condition);

  bool operator==(const FilterSet &other) const = default;
};
