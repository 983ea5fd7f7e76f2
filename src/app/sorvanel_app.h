// The application object: the settings, the recent files, the command line
// and the main window, from start to end.
#pragma once

#include "app/startup_settings.h"

#include <QStringList>

#include <memory>

class CMainFrame;

class CSorvanelApp {
public:
  CSorvanelApp();
  ~CSorvanelApp();

  // Carries out the command line (the arguments after the program name):
  // a file path opens that file, and a file that does not open ends the
  // program (false); without one the start-up choice runs, and the main
  // window shows even when nothing was opened. The program then works in
  // its per-user folder.
  bool Start(const QStringList &arguments);

  // Where the templates lie; the program folder's "system" unless set.
  void SetSystemFolder(const QString &folder) { systemFolder_ = folder; }

  CMainFrame *MainFrame() const { return frame_.get(); }
  StartupSettings &Settings() { return settings_; }
  RecentFileList &Recent() { return recent_; }

private:
  StartupSettings settings_;
  RecentFileList recent_;
  std::unique_ptr<CMainFrame> frame_;
  QString systemFolder_;
};
