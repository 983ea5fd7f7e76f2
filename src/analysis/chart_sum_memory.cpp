// Reading and writing the remembered sum columns.
#include "analysis/chart_sum_memory.h"

#include "base/program_settings.h"
#include "db/file_path.h"

namespace {

// Files are named by their real path, so a link or "x/../f" finds the
// same entry as the file itself.
QString Entry(const QString &filePath, int paneKind) {
  return QStringLiteral("ChartSum%1/").arg(paneKind) +
         PathSettingsKey(RealFilePath(filePath));
}

} // namespace

QString RememberedSumColumn(const QString &filePath, int paneKind) {
  if (filePath.isEmpty())
    return {};
  return ProgramSettings()->value(Entry(filePath, paneKind)).toString();
}

void RememberSumColumn(const QString &filePath, int paneKind,
                       const QString &fieldName) {
  if (filePath.isEmpty())
    return;
  ProgramSettings()->setValue(Entry(filePath, paneKind), fieldName);
}
