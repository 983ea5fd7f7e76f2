// Loading Qt's Chinese translation.
#include "app/qt_translations.h"

#include "app/program_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

QTranslator *InstallQtTranslations(QCoreApplication &app) {
  // The program speaks Chinese whatever the user's locale is.
  auto *translator = new QTranslator(&app);
  const QStringList folders = {
      QDir(ProgramFolder()).filePath(QStringLiteral("translations")),
      QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
  for (const QString &folder : folders)
    if (translator->load(QStringLiteral("qtbase_zh_CN"), folder) &&
        QCoreApplication::installTranslator(translator))
      return translator;
  delete translator;
  return nullptr;
}
