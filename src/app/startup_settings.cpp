// Reading and writing the start-up settings and the recent-file list.
#include "app/startup_settings.h"

#include "app/program_paths.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const char *const kSection = "Sorvanel";
const char *const kOpenDirect = "bOpenDefaultDirect";
const char *const kRecentGroup = "Recent File List";

QString EntryPath(const QString &entry) {
  return QString::fromUtf8(kSection) + QLatin1Char('/') + entry;
}

} // namespace

StartupSettings::StartupSettings(const QString &programFolder)
    : programFolder_(programFolder) {}

QString StartupSettings::DefaultFileEntry() const {
  if (programFolder_.isEmpty())
    return QStringLiteral("DefaultFilePath");
  return PathSettingsKey(programFolder_);
}

QString StartupSettings::DefaultFilePath() const {
  return ProgramSettings()->value(EntryPath(DefaultFileEntry())).toString();
}

bool StartupSettings::WriteDefaultFilePath(const QString &path) const {
  if (path.isEmpty() || !QFileInfo(path).isFile())
    return false;
  ProgramSettings()->setValue(EntryPath(DefaultFileEntry()), path);
  return true;
}

int StartupSettings::OpenDefaultDirect() const {
  return ProgramSettings()
      ->value(EntryPath(QString::fromLatin1(kOpenDirect)), 0)
      .toInt();
}

void StartupSettings::WriteOpenDefaultDirect(int value) const {
  ProgramSettings()->setValue(EntryPath(QString::fromLatin1(kOpenDirect)),
                              value);
}

RecentFileList::RecentFileList() {
  const std::unique_ptr<QSettings> settings = ProgramSettings();
  settings->beginGroup(QString::fromLatin1(kRecentGroup));
  for (int i = 1; i <= kSize; ++i)
    entries_.append(
        settings->value(QStringLiteral("File%1").arg(i)).toString());
}

void RecentFileList::Add(const QString &path) {
  const QString canonical = CanonicalPath(path);
  if (canonical.isEmpty())
    return;
  Remove(canonical);
  entries_.removeAll(QString());
  entries_.prepend(canonical);
  while (entries_.size() > kSize)
    entries_.removeLast();
  while (entries_.size() < kSize)
    entries_.append(QString());
  Save();
}

void RecentFileList::Remove(const QString &path) {
  const QString canonical = CanonicalPath(path);
  QStringList kept;
  for (const QString &entry : entries_)
    if (!entry.isEmpty() && entry != canonical && entry != path)
      kept.append(entry);
  while (kept.size() < kSize)
    kept.append(QString());
  entries_ = kept;
  Save();
}

void RecentFileList::Save() const {
  const std::unique_ptr<QSettings> settings = ProgramSettings();
  settings->beginGroup(QString::fromLatin1(kRecentGroup));
  for (int i = 0; i < kSize; ++i) {
    const QString key = QStringLiteral("File%1").arg(i + 1);
    if (entries_.value(i).isEmpty())
      settings->remove(key);
    else
      settings->setValue(key, entries_.value(i));
  }
}
