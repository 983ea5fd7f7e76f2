// What a chart page reads of its window when it recomputes: the column to
// sum, which records are in scope (the two scope boxes over the active
// groups and the filter) and what its set-up pane restricts (bar chart) or
// splits into slices (pie chart).
#pragma once

#include "analysis/chart_side.h"
#include "groups/filter_where.h"

#include <QList>
#include <QString>
#include <QStringList>

// The entries of the two scope boxes of a set-up pane.
enum ChartScopeChoice : int {
  SCOPE_ONLY = 0, // "只显示当前活动分组" / "只显示当前筛选内容"
  SCOPE_ALL = 1,  // "显示所有分组" / "显示所有内容"; also a box not made yet
};

// An option column whose switch is on in a set-up pane, with its ticked
// options in display order: the pie chart splits by it.
struct ExpandedColumn {
  QString fieldName;
  QStringList options;
  bool operator==(const ExpandedColumn &) const = default;
};

struct ChartSetUp {
  QString sumField;           // the column summed; empty when none is chosen
  int groupScope = SCOPE_ALL;
  int filterScope = SCOPE_ALL;
  QString groupWhere;         // active groups' conditions joined with " or "
  QString filterWhere;        // the filter pane's WHERE text
  bool filterOk = true;       // false when the filter text could not be built
  FilterWhere setUpCondition; // bar chart: the option restriction
  QList<ExpandedColumn> expanded; // pie chart, in column order
  // The side summed in a ledger with a side column; spending by default.
  ChartSide side = ChartSide::Spending;
};

// "trelva_Group_ID=%d" for every ID, joined with " or "; empty for none.
QString GroupIdsWhere(const QList<int> &groupIds);

// The records in scope by the two boxes: both groups and filter, groups
// only, filter only or everything (empty text). False when the scope needs
// the filter and the filter could not be built: the chart then stays empty
// instead of counting records the user filtered out.
bool ChartScopeCondition(const ChartSetUp &setUp, QString &where);
