// Reading and writing the number of automatic backups.
#include "storage/backup_settings.h"

#include "base/program_settings.h"

#include <algorithm>

namespace {

const char kEntry[] = "Sorvanel/nBackupCount";

} // namespace

int BackupCount() {
  bool ok = false;
  const int count = ProgramSettings()
                        ->value(QLatin1String(kEntry), kDefaultBackupCount)
                        .toInt(&ok);
  if (!ok)
    return kDefaultBackupCount;
  return std::clamp(count, 0, kMaxBackupCount);
}

void SetBackupCount(int count) {
  ProgramSettings()->setValue(QLatin1String(kEntry),
                              std::clamp(count, 0, kMaxBackupCount));
}
