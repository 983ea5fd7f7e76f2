// Fresh copies of the built template account files for tests.
#include "support/template_copy.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

QString CopyTemplate(const QTemporaryDir &dir, const QString &name,
                     const QString &fileName) {
  const QString source =
      QStringLiteral(SORVANEL_SYSTEM_DIR "/") + name + QStringLiteral(".fz");
  const QString target = dir.filePath(fileName + QStringLiteral(".fz"));
  if (!QFile::copy(source, target)) {
    ADD_FAILURE() << "cannot copy " << qPrintable(source);
    return QString();
  }
  QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
  return target;
}
