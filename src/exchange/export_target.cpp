// Refusing export targets that are account files; see export_target.h.
#include "exchange/export_target.h"

#include <QFile>
#include <QFileInfo>

namespace {

bool IsSqliteDatabase(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return false;
  return file.read(16) == QByteArray("SQLite format 3\0", 16);
}

bool IsAccountFile(const QString &accountPath, const QString &out) {
  if (out.endsWith(QLatin1String(".fz"), Qt::CaseInsensitive))
    return true;
  const QString real = QFileInfo(out).canonicalFilePath();
  if (real.isEmpty())
    return false; // nothing there yet
  return real == QFileInfo(accountPath).canonicalFilePath() ||
         IsSqliteDatabase(real);
}

} // namespace

bool CheckExportTarget(const QString &accountPath, const QString &out,
                       QString *error) {
  if (!IsAccountFile(accountPath, out))
    return true;
  *error = QStringLiteral("不能导出到账簿文件或数据库文件：%1").arg(out);
  return false;
}
