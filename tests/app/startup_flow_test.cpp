// The start of the program and the new command: the command line, the
// default file opened directly, the flag switched off when that file is
// gone, the start-up dialog again once every window is closed, and the
// document tabs' mouse buttons.
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "app/new_file_wizard.h"
#include "app/qt_translations.h"
#include "app/sorvanel_app.h"
#include "app/sorvanel_doc.h"
#include "app/startup_settings.h"
#include "app/startup_wizard.h"
#include "app_test_env.h"
#include "widgets/start_folder.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTest>
#include <QTranslator>
#include <QTreeWidget>

namespace {

class StartupFlowTest : public AppTest {
protected:
  QString Opened(CSorvanelApp &app) {
    CChildFrame *child = app.MainFrame()->ActiveChild();
    return child ? child->Doc().Path() : QString();
  }
};

TEST_F(StartupFlowTest, CommandLinePathsAreMadeAbsoluteAndFailuresEndTheStart) {
  const QString path = Copy(QStringLiteral("家庭账本"), QStringLiteral("命令行"));
  {
    CSorvanelApp app;
    // A relative path names a file in the folder the program started in.
    ASSERT_TRUE(app.Start({QStringLiteral("命令行.fz")}));
    EXPECT_EQ(Opened(app), path);
    EXPECT_EQ(runner_.dialogs, 0);
    // The program works in its own folder from then on.
    EXPECT_NE(QDir::currentPath(), Folder());
    QDir::setCurrent(Folder());
  }
  CSorvanelApp failing;
  prompt_.Clear();
  EXPECT_FALSE(failing.Start({dir_.filePath("missing.fz")}));
  EXPECT_EQ(prompt_.Texts(), QStringList{QStringLiteral("无法打开账簿文件：%1")
                                             .arg(dir_.filePath("missing.fz"))});
  EXPECT_TRUE(failing.MainFrame()->Documents().isEmpty());
  EXPECT_FALSE(failing.MainFrame()->isVisible());
  EXPECT_TRUE(RecentFileList().Entries().contains(QFileInfo(path).canonicalFilePath()));
  QDir::setCurrent(Folder());
}

TEST_F(StartupFlowTest, QtDialogsSpeakChineseAndOpenNearTheFile) {
  QTranslator *chinese = InstallQtTranslations(*QCoreApplication::instance());
  ASSERT_NE(chinese, nullptr);
  EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"),
            QStringLiteral("Look in:"));
  EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
            QStringLiteral("Cancel"));
  // Texts Qt's translation lacks, which the file dialog shows.
  EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"),
            QStringLiteral("文件夹"));
  QCoreApplication::removeTranslator(chinese);
  delete chinese;
  // Near the account file; without one the user's documents (or home),
  // never the program's work folder.
  const QString path = Copy(QStringLiteral("家庭账本"), QStringLiteral("近处"));
  EXPECT_EQ(StartFolder(path), QFileInfo(path).absolutePath());
  QDir::setCurrent(QDir::tempPath());
  EXPECT_NE(StartFolder(QString()), QDir::currentPath());
  EXPECT_NE(StartFolder(dir_.filePath("gone/missing.fz")), QDir::currentPath());
  QDir::setCurrent(Folder());
}

TEST_F(StartupFlowTest, TheDefaultFileOpensDirectlyUntilItIsGone) {
  const QString path = Copy(QStringLiteral("家庭账本"), QStringLiteral("默认"));
  // The first start: the dialog; ticking "下次直接打开此文件" on a file.
  runner_.onDialog = [&](QDialog &dialog) {
    auto *startup = qobject_cast<CStartupWizard *>(&dialog);
    ASSERT_NE(startup, nullptr);
    startup->OpenDirectBox()->setChecked(true);
    runner_.files = {path};
    startup->OpenExisting();
  };
  {
    CSorvanelApp app;
    ASSERT_TRUE(app.Start({}));
    EXPECT_EQ(Opened(app), path);
    EXPECT_EQ(app.Settings().OpenDefaultDirect(), 1);
    EXPECT_EQ(app.Settings().DefaultFilePath(), path);
  }
  QDir::setCurrent(Folder());
  runner_.dialogs = 0;
  {
    CSorvanelApp app; // opens it without asking
    ASSERT_TRUE(app.Start({}));
    EXPECT_EQ(runner_.dialogs, 0);
    EXPECT_EQ(Opened(app), path);
  }
  QDir::setCurrent(Folder());
  // The file is gone: the dialog shows, with no path, and the flag is off.
  ASSERT_TRUE(QFile::remove(path));
  runner_.onDialog = [&](QDialog &dialog) {
    auto *startup = qobject_cast<CStartupWizard *>(&dialog);
    ASSERT_NE(startup, nullptr);
    startup->reject();
  };
  CSorvanelApp app;
  EXPECT_TRUE(app.Start({}));
  EXPECT_EQ(runner_.dialogs, 1);
  EXPECT_EQ(app.Settings().OpenDefaultDirect(), 0);
  EXPECT_TRUE(app.MainFrame()->Documents().isEmpty());
  QDir::setCurrent(Folder());
}

TEST_F(StartupFlowTest, NewAsksTheWizardOnlyWhileAWindowIsOpen) {
  StartupSettings settings(Folder());
  RecentFileList recent;
  CMainFrame frame(settings, recent);
  frame.SetSystemFolder(QStringLiteral(SORVANEL_SYSTEM_DIR));
  ASSERT_TRUE(frame.OpenDocument(Copy(QStringLiteral("家庭账本"), QStringLiteral("甲"))));
  QStringList seen;
  runner_.onDialog = [&](QDialog &dialog) {
    seen << dialog.windowTitle();
    if (auto *wizard = qobject_cast<CNewFileWizard *>(&dialog)) {
      // Over the open file: refused, nothing copied.
      wizard->FolderEdit()->setText(Folder());
      wizard->FileNameEdit()->setText(QStringLiteral("甲"));
      prompt_.QueueAnswer(0); // 覆盖
      wizard->TryAccept();
    }
  };
  EXPECT_FALSE(frame.NewDocument());
  EXPECT_TRUE(prompt_.Last().contains(QStringLiteral("正在使用中")));
  EXPECT_EQ(frame.Documents().size(), 1);
  frame.CloseAllDocuments();
  EXPECT_FALSE(frame.NewDocument());
  EXPECT_EQ(seen, (QStringList{QStringLiteral("欢迎使用Sorvanel新建账簿向导"),
                               QStringLiteral("欢迎使用Sorvanel")}));
}

TEST_F(StartupFlowTest, MiddleButtonOnATabClosesThatDocument) {
  StartupSettings settings(Folder());
  RecentFileList recent;
  CMainFrame frame(settings, recent);
  frame.resize(900, 600);
  frame.show();
  ASSERT_TRUE(frame.OpenDocument(Copy(QStringLiteral("家庭账本"), QStringLiteral("一"))));
  ASSERT_TRUE(frame.OpenDocument(Copy(QStringLiteral("家庭账本"), QStringLiteral("二"))));
  QTabBar *bar = frame.MdiArea()->findChild<QTabBar *>();
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->count(), 2);
  EXPECT_EQ(bar->tabToolTip(0).isEmpty(), false);
  const QPoint first = bar->tabRect(0).center();
  QTest::mouseClick(bar, Qt::MiddleButton, Qt::NoModifier, first);
  QTRY_COMPARE(frame.Documents().size(), qsizetype(1));
  EXPECT_EQ(frame.Documents().first()->Title(), QStringLiteral("二.fz"));
  frame.CloseAllDocuments();
}

} // namespace
