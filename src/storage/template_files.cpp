// Listing of the template account files.
#include "storage/template_files.h"

#include <QCoreApplication>
#include <QDir>

QString SystemFolder() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/system");
}

QStringList TemplateNames(const QString &folder) {
  const QStringList files = QDir(folder).entryList(
      {QStringLiteral("*.fz")}, QDir::Files, QDir::Name);
  QStringList names;
  for (const QString &file : files)
    names.append(file.chopped(3));
  return names;
}

QString TemplatePath(const QString &folder, const QString &name) {
  return QDir(folder).filePath(name + QStringLiteral(".fz"));
}
