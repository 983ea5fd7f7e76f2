// What the application tests share: per-test settings and work folders, a
// scripted prompt, and a dialog runner that fills dialogs in instead of
// blocking on them.
#pragma once

#include "window/dialog_runner.h"
#include "base/scripted_prompt.h"

#include <QDialog>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>
#include <memory>

class ScopedCurrentDir;

// Answers every dialog through the handler (which may press its buttons)
// and every file chooser from a queue.
class TestDialogRunner : public DialogRunner {
public:
  std::function<void(QDialog &)> onDialog;
  QStringList files; // answers of the file choosers, in order
  int dialogs = 0;

  bool Run(QDialog &dialog) override;
  QString ChooseExistingFile(QWidget *, const QString &) override;
  QString ChooseFileToOpen(QWidget *, const QString &) override;
  QString ChooseSavePath(QWidget *, const QString &) override;

private:
  QString NextFile();
};

class AppTest : public ::testing::Test {
protected:
  AppTest();
  ~AppTest() override;

  // A fresh copy of a built template in the test folder.
  QString Copy(const QString &name, const QString &as);
  QString Folder() const { return dir_.path(); }

  QTemporaryDir dir_;
  ScriptedPrompt prompt_;
  TestDialogRunner runner_;

private:
  std::unique_ptr<ScopedPrompt> scopedPrompt_;
  std::unique_ptr<ScopedCurrentDir> inDir_;
};
