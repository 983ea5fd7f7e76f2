// Loading Qt's Chinese translation.
#include "app/qt_translations.h"

#include "app/program_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// The texts of Qt's dialogs that its Chinese translation leaves in English.
class MissingTexts : public QTranslator {
public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  QString translate(const char *context, const char *source, const char *,
                    int) const override {
    if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
      return QString();
    if (qstrcmp(source, "Folder") == 0)
      return QStringLiteral("文件夹");
    if (qstrcmp(source, "File") == 0)
      return QStringLiteral("文件");
    if (qstrcmp(source, "Drive") == 0)
      return QStringLiteral("驱动器");
    if (qstrcmp(source, "%1 File") == 0)
      return QStringLiteral("%1 文件");
    return QString();
  }
};

} // namespace

void UseChineseLocale() {
  for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const QByteArray value = qgetenv(name);
    if (value.isEmpty())
      continue;
    if (value.startsWith("zh"))
      return;
    break;
  }
  qputenv("LC_ALL", "zh_CN.UTF-8");
  qputenv("LANGUAGE", "zh_CN:zh");
}

QTranslator *InstallQtTranslations(QCoreApplication &app) {
  QCoreApplication::installTranslator(new MissingTexts(&app));
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
