// The scope condition of the chart pages.
#include "analysis/chart_set_up.h"

#include "groups/group_where.h"

#include <QStringList>

QString GroupIdsWhere(const QList<int> &groupIds) {
  QStringList conditions;
  for (const int id : groupIds)
    conditions.append(QStringLiteral("trelva_Group_ID=%1").arg(id));
  return conditions.join(QLatin1String(" or "));
}

bool ChartScopeCondition(const ChartSetUp &setUp, QString &where) {
  const bool byGroups = setUp.groupScope == SCOPE_ONLY;
  const bool byFilter = setUp.filterScope == SCOPE_ONLY;
  where.clear();
  if (byFilter && !setUp.filterOk)
    return false;
  const QString groups = byGroups ? setUp.groupWhere : QString();
  const QString filter = byFilter ? setUp.filterWhere : QString();
  where = CombineWhere(groups, filter);
  return true;
}
