// Where file dialogs open.
#include "widgets/start_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString StartFolder(const QString &nearPath) {
  if (!nearPath.isEmpty()) {
    const QFileInfo info(nearPath);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    if (QFileInfo(folder).isDir())
      return folder;
  }
  const QString documents =
      QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!documents.isEmpty() && QFileInfo(documents).isDir())
    return documents;
  return QDir::homePath();
}
