// Settings, folders, prompt and dialog runner of the application tests.
#include "app_test_env.h"

#include "db/db_visiter_factory.h"
#include "support/scoped_current_dir.h"
#include "support/template_copy.h"

#include <QSettings>

bool TestDialogRunner::Run(QDialog &dialog) {
  ++dialogs;
  if (onDialog)
    onDialog(dialog);
  return dialog.result() == QDialog::Accepted;
}

QString TestDialogRunner::NextFile() {
  return files.isEmpty() ? QString() : files.takeFirst();
}

QString TestDialogRunner::ChooseExistingFile(QWidget *, const QString &) {
  return NextFile();
}

QString TestDialogRunner::ChooseFileToOpen(QWidget *, const QString &) {
  return NextFile();
}

QString TestDialogRunner::ChooseSavePath(QWidget *, const QString &) {
  return NextFile();
}

AppTest::AppTest() {
  // Every test starts as a first-time user: settings of its own.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     dir_.filePath(QStringLiteral("config")));
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                     dir_.filePath(QStringLiteral("config")));
  // Backups and work folders of the test's own.
  qputenv("XDG_DATA_HOME", dir_.filePath(QStringLiteral("data")).toUtf8());
  qputenv("XDG_CACHE_HOME", dir_.filePath(QStringLiteral("cache")).toUtf8());
  scopedPrompt_ = std::make_unique<ScopedPrompt>(prompt_);
  inDir_ = std::make_unique<ScopedCurrentDir>(dir_.path());
  SetDialogRunner(&runner_);
}

AppTest::~AppTest() {
  SetDialogRunner(nullptr);
  CDBVisiterFactory::Instance().DestroyAll();
}

QString AppTest::Copy(const QString &name, const QString &as) {
  return CopyTemplate(dir_, name, as);
}
