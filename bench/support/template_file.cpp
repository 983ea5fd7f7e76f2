// Copies of the household template for the benchmarks.
#include "template_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

QString HouseholdTemplate() {
  return QDir(QCoreApplication::applicationDirPath())
      .filePath(QStringLiteral("../system/家庭账本.fz"));
}

bool CopyHouseholdTemplate(const QString &path) {
  QFile::remove(path);
  return QFile::copy(HouseholdTemplate(), path) &&
         QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}
