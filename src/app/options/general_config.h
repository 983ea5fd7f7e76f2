// What the "常规" page of the options sheet writes: the settings row of the
// file and the start-up settings. Everything is checked before anything is
// written, and a file without a settings row gets one.
#pragma once

#include "model/misc_settings.h"

#include <QString>

class CDBVisiter;
class StartupSettings;

struct GeneralConfig {
  MiscSettings settings;
  QString defaultPath;
  bool pathChanged = false;
  int openDirect = 0;
  int backupCount = 0; // automatic backups kept per file; 0: none
};

// The page's values as stored: the settings row (all off and an empty
// title when the file has none) and the start-up settings.
GeneralConfig LoadGeneralConfig(CDBVisiter &session,
                                const StartupSettings &startup);
// Writes config: refused with "请指定有效文件路径！" (nothing written) when a
// changed default path names no file; "设置失败！" when the settings row
// cannot be written, the rest is written all the same. False when refused.
bool ApplyGeneralConfig(CDBVisiter &session, const StartupSettings &startup,
                        GeneralConfig &config);
