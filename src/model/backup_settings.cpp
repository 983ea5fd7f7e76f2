// Reading and writing the number of automatic backups.
#include "model/backup_settings.h"

#include <QSettings>

#include <algorithm>

namespace {

const char kEntry[] = "Sorvanel/nBackupCount";

} // namespace

int BackupCount() {
  QSettings settings(QStringLiteral("桌面账本应用程序"), QStringLiteral("Sorvanel"));
  bool ok = false;
  const int count =
      settings.value(QLatin1String(kEntry), kDefaultBackupCount).toInt(&ok);
  if (!ok)
    return kDefaultBackupCount;
  return std::clamp(count, 0, kMaxBackupCount);
}

void SetBackupCount(int count) {
  QSettings settings(QStringLiteral("桌面账本应用程序"), QStringLiteral("Sorvanel"));
  settings.setValue(QLatin1String(kEntry), std::clamp(count, 0, kMaxBackupCount));
}
