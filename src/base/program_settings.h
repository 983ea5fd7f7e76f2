// The program's per-user settings: QSettings under the organisation
// "桌面账本应用程序" and the application "Sorvanel". Each call opens them
// afresh, so tests may move the settings folder at any time.
#pragma once

#include <QSettings>

#include <memory>

std::unique_ptr<QSettings> ProgramSettings();

// A settings key for a file path: "/" separates groups in QSettings, so
// the path is percent-encoded into one key.
QString PathSettingsKey(const QString &path);
