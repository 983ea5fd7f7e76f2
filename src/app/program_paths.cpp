// Program, style and work folders, and path comparisons.
#include "app/program_paths.h"

#include "db/file_path.h"
#include "storage/private_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString ProgramFolder() { return QCoreApplication::applicationDirPath(); }

QString StylesFolder() { return ProgramFolder() + QStringLiteral("/Styles"); }

QString WorkFolder() {
  QString folder =
      QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
  if (folder.isEmpty())
    folder = QDir::tempPath() + QStringLiteral("/sorvanel");
  MakePrivateFolder(folder);
  return folder;
}

QString FolderOfPath(const QString &path) {
  const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')),
                                   path.lastIndexOf(QLatin1Char('\\')));
  if (slash <= 0)
    return QString();
  return path.left(slash);
}

QString CanonicalPath(const QString &path) {
  return path.isEmpty() ? QString() : RealFilePath(path);
}
