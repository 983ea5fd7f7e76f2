// How the program runs its modal dialogs and file choosers. The program
// runs them modally; tests install a runner that fills a dialog in and
// presses its buttons without blocking.
#pragma once

#include <QString>

class QDialog;
class QWidget;

class DialogRunner {
public:
  virtual ~DialogRunner() = default;

  // Runs dialog; true when it was accepted.
  virtual bool Run(QDialog &dialog);
  // "选择文件位置": an existing account file, starting in folder; empty when
  // nothing was chosen.
  virtual QString ChooseExistingFile(QWidget *parent, const QString &folder);
  // "打开": an account file to open; empty when nothing was chosen.
  virtual QString ChooseFileToOpen(QWidget *parent, const QString &folder);
  // "另存为": a path to save under, starting at path; empty when cancelled.
  virtual QString ChooseSavePath(QWidget *parent, const QString &path);
};

// The runner in use; never null.
DialogRunner &CurrentDialogRunner();
// Installs runner (not owned); null restores the modal one.
void SetDialogRunner(DialogRunner *runner);
