// The new-file wizard "欢迎使用Sorvanel新建账簿向导": a template, a file
// name and a folder for a new account file. The caller copies the template
// to NewFilePath() and opens the copy.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QTreeWidget;

class CNewFileWizard : public QDialog {
  Q_OBJECT

public:
  CNewFileWizard(const QString &fileName, const QString &folder,
                 const QString &systemFolder, QWidget *parent = nullptr);

  // Set once "确定" has passed its checks.
  QString TemplatePath() const { return templatePath_; }
  QString NewFilePath() const { return newFilePath_; }

  // The widgets, for tests and the accessibility tree.
  QLineEdit *FileNameEdit() const { return nameEdit_; }
  QLineEdit *FolderEdit() const { return folderEdit_; }
  QTreeWidget *TemplateList() const { return list_; }

public slots:
  // "确定": checks the input, asks before overwriting, and accepts.
  void TryAccept();

private:
  void FillTemplates(const QString &systemFolder);
  void SortByHeader();
  void BrowseFolder();

  QLineEdit *nameEdit_;
  QLineEdit *folderEdit_;
  QTreeWidget *list_;
  Qt::SortOrder order_ = Qt::AscendingOrder;
  QString templatePath_;
  QString newFilePath_;
};
