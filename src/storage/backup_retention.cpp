// The retention rule of the backups.
#include "storage/backup_retention.h"

#include <algorithm>
#include <numeric>
#include <set>

std::vector<bool> BackupsToKeep(const QList<QDateTime> &made, int keep,
                                const QDate &today) {
  std::vector<bool> kept(size_t(made.size()), false);
  std::vector<qsizetype> newestFirst(size_t(made.size()));
  std::iota(newestFirst.begin(), newestFirst.end(), 0);
  std::stable_sort(newestFirst.begin(), newestFirst.end(),
                   [&](qsizetype a, qsizetype b) { return made[a] > made[b]; });

  for (size_t k = 0; k < newestFirst.size() && int(k) < keep; ++k)
    kept[size_t(newestFirst[k])] = true;

  const QDate firstMonth =
      QDate(today.year(), today.month(), 1).addMonths(1 - kMonthlyBackupMonths);
  std::set<int> months;
  for (const qsizetype index : newestFirst) {
    const QDate day = made[index].date();
    if (!day.isValid() || day < firstMonth)
      continue;
    if (months.insert(day.year() * 12 + day.month()).second)
      kept[size_t(index)] = true;
  }
  return kept;
}
