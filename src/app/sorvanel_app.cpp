// Start-up of the program.
#include "app/sorvanel_app.h"

#include "app/main_frame.h"
#include "app/program_paths.h"
#include "base/prompt.h"

#include <QDir>
#include <QFileInfo>

CSorvanelApp::CSorvanelApp() : settings_(ProgramFolder()) {}

CSorvanelApp::~CSorvanelApp() = default;

bool CSorvanelApp::Start(const QStringList &arguments) {
  QString path;
  for (const QString &argument : arguments)
    if (!argument.startsWith(QLatin1Char('-')) || argument == QStringLiteral("-"))
      path = argument;
  // A relative path names a file in the folder the program was started
  // in; it is made absolute before the program moves to its work folder.
  if (!path.isEmpty())
    path = QFileInfo(path).absoluteFilePath();
  QDir::setCurrent(WorkFolder());

  frame_ = std::make_unique<CMainFrame>(settings_, recent_);
  frame_->SetSystemFolder(systemFolder_);
  if (path.isEmpty()) {
    frame_->NewDocument();
    return true;
  }
  // Started from a file manager, the user sees no console: a file that is
  // not there is said in a box before the program ends. Other failures of
  // the open say why themselves.
  if (!QFileInfo(path).isFile()) {
    ShowMessage(QStringLiteral("无法打开账簿文件：%1").arg(QDir::toNativeSeparators(path)));
    return false;
  }
  return frame_->OpenDocument(path);
}
