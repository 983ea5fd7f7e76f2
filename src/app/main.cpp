// The desktop program: sorvanel [PATH].
#include "app/main_frame.h"
#include "app/qt_translations.h"
#include "app/sorvanel_app.h"
#include "widgets/combo_box_accessible.h"
#include "widgets/focus_frame_style.h"
#include "widgets/message_box_prompt.h"

#include <QApplication>

int main(int argc, char **argv) {
  UseChineseLocale();
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("桌面账本应用程序"));
  QApplication::setApplicationName(QStringLiteral("Sorvanel"));
  QApplication::setApplicationVersion(QStringLiteral("1.0"));
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
  const int status = QApplication::exec();
  sorvanel.MainFrame()->CloseAllDocuments();
  return status;
}
