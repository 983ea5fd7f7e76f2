// Start-up of the program.
#include "app/sorvanel_app.h"

#include "app/main_frame.h"
#include "app/program_paths.h"

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
  if (!path.isEmpty())
    return frame_->OpenDocument(path);
  frame_->NewDocument();
  return true;
}
