// The desktop program: sorvanel [PATH].
#include "app/main_frame.h"
#include "app/qt_translations.h"
#include "app/sorvanel_app.h"
#include "base/version.h"
#include "widgets/combo_box_accessible.h"
#include "widgets/focus_frame_style.h"
#include "widgets/message_box_prompt.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

// --version and --help are answered before QApplication exists, so that
// they work without a display (in a terminal, in a package check).
bool AnswerInfoOption(int argc, char **argv, int &status) {
  if (argc != 2)
    return false;
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("sorvanel %s\n", SORVANEL_VERSION);
    status = 0;
    return true;
  }
  if (std::strcmp(argv[1], "--help") == 0) {
    std::printf("用法: sorvanel [账簿文件.fz]\n"
                "      sorvanel --version\n"
                "手册: man sorvanel；使用说明: 程序中的 帮助 → 使用说明 (F1)\n");
    status = 0;
    return true;
  }
  return false;
}

} // namespace

int main(int argc, char **argv) {
  int status = 0;
  if (AnswerInfoOption(argc, argv, status))
    return status;
  UseChineseLocale();
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("桌面账本应用程序"));
  QApplication::setApplicationName(QStringLiteral("Sorvanel"));
  QApplication::setApplicationVersion(QStringLiteral(SORVANEL_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("sorvanel"));
  InstallQtTranslations(app);
  QApplication::setStyle(new FocusFrameStyle);
  UseLabelledComboBoxes();

  MessageBoxPrompt prompt;
  ScopedPrompt scoped(prompt);

  CSorvanelApp sorvanel;
  if (!sorvanel.Start(QApplication::arguments().mid(1)))
    return 1;
  sorvanel.MainFrame()->show();
  status = QApplication::exec();
  sorvanel.MainFrame()->CloseAllDocuments();
  return status;
}
