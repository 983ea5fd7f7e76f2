// The modal dialog runner of the program.
#include "window/dialog_runner.h"
#include "widgets/start_folder.h"

#include <QDialog>
#include <QFileDialog>

namespace {

const char *const kFilter = "账簿文件 (*.fz);;所有文件 (*)";

DialogRunner &ModalRunner() {
  static DialogRunner runner;
  return runner;
}

DialogRunner *current = nullptr;

QString ChooseExisting(QWidget *parent, const QString &title,
                       const QString &folder) {
  QFileDialog dialog(parent, title, StartFolder(folder), QString::fromUtf8(kFilter));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setDefaultSuffix(QStringLiteral("fz"));
  dialog.setOption(QFileDialog::ReadOnly, false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return QString();
  return dialog.selectedFiles().first();
}

} // namespace

bool DialogRunner::Run(QDialog &dialog) {
  return dialog.exec() == QDialog::Accepted;
}

QString DialogRunner::ChooseExistingFile(QWidget *parent,
                                         const QString &folder) {
  return ChooseExisting(parent, QStringLiteral("选择文件位置"), folder);
}

QString DialogRunner::ChooseFileToOpen(QWidget *parent,
                                       const QString &folder) {
  return ChooseExisting(parent, QStringLiteral("打开"), folder);
}

QString DialogRunner::ChooseSavePath(QWidget *parent, const QString &path) {
  QFileDialog dialog(parent, QStringLiteral("另存为"), path,
                     QString::fromUtf8(kFilter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("fz"));
  // The program asks its own questions about existing and open files.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return QString();
  return dialog.selectedFiles().first();
}

DialogRunner &CurrentDialogRunner() {
  return current ? *current : ModalRunner();
}

void SetDialogRunner(DialogRunner *runner) { current = runner; }
