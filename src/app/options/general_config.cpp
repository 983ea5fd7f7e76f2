// Loading and writing the "常规" page's values.
#include "app/options/general_config.h"

#include "app/startup_settings.h"
#include "base/prompt.h"
#include "storage/backup_settings.h"

#include <QFileInfo>

GeneralConfig LoadGeneralConfig(CDBVisiter &session,
                                const StartupSettings &startup) {
  GeneralConfig config;
  if (HasMiscSettings(session)) {
    config.settings = LoadMiscSettings(session);
  } else {
    config.settings.gridAutoSize = false;
    config.settings.expandColumnsToFit = false;
    config.settings.showLastLine = false;
  }
  config.defaultPath = startup.DefaultFilePath();
  config.openDirect = startup.OpenDefaultDirect();
  config.backupCount = BackupCount();
  return config;
}

bool ApplyGeneralConfig(CDBVisiter &session, const StartupSettings &startup,
                        GeneralConfig &config) {
  if (config.pathChanged && (config.defaultPath.isEmpty() ||
                             !QFileInfo(config.defaultPath).isFile())) {
    ShowMessage(QStringLiteral("请指定有效文件路径！"));
    return false;
  }
  if (!SaveMiscSettings(session, config.settings))
    ShowMessage(QStringLiteral("设置失败！"));
  if (config.pathChanged) {
    startup.WriteDefaultFilePath(config.defaultPath);
    ShowMessage(QStringLiteral("重启软件后文件路径更改生效！"));
    config.pathChanged = false;
  }
  startup.WriteOpenDefaultDirect(config.openDirect);
  SetBackupCount(config.backupCount);
  return true;
}
