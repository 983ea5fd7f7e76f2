// Opening the program's settings.
#include "base/program_settings.h"

#include <QUrl>

std::unique_ptr<QSettings> ProgramSettings() {
  return std::make_unique<QSettings>(QStringLiteral("桌面账本应用程序"),
                                     QStringLiteral("Sorvanel"));
}

QString PathSettingsKey(const QString &path) {
  return QString::fromLatin1(QUrl::toPercentEncoding(path));
}
