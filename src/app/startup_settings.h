// The per-user start-up settings: the default account file, whether to
// open it at start without asking, and the four most recent files.
//
// They live in QSettings under the organisation "桌面账本应用程序" and the
// application "Sorvanel", section "Sorvanel". The default file is kept under
// an entry named by the program folder, so that every installed copy of the
// program has its own; the folder is percent-encoded because "/" separates
// groups in QSettings. An empty folder text uses "DefaultFilePath".
#pragma once

#include "base/program_settings.h"

#include <QString>
#include <QStringList>

#include <memory>

class StartupSettings {
public:
  // programFolder names the default-file entry.
  explicit StartupSettings(const QString &programFolder);

  QString DefaultFilePath() const;
  // Writes only a non-empty path of an existing file; false otherwise.
  bool WriteDefaultFilePath(const QString &path) const;
  int OpenDefaultDirect() const;
  void WriteOpenDefaultDirect(int value) const;

  // The name of the default-file entry in the section.
  QString DefaultFileEntry() const;

private:
  QString programFolder_;
};

// The recent-file list of 4 entries, most recent first, in the group
// "Recent File List" (File1 .. File4). Paths are kept absolute and
// canonical, so one file is listed once however it was named.
class RecentFileList {
public:
  static constexpr int kSize = 4;

  RecentFileList();

  // The 4 entries, empty ones included.
  QStringList Entries() const { return entries_; }
  // Puts path first (removing an older entry of the same file) and saves.
  void Add(const QString &path);
  // Removes every entry of the file and saves.
  void Remove(const QString &path);

private:
  void Save() const;

  QStringList entries_;
};

