// The start-up dialog "欢迎使用Sorvanel": opens a recent file, picks one on
// disk or makes a new one from a template, before the main window shows.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>

class QCheckBox;
class QTreeWidget;
class QTreeWidgetItem;
class RecentFileList;

class CStartupWizard : public QDialog {
  Q_OBJECT

public:
  // Makes a new file: runs the new-file wizard from folder and copies the
  // template; the new file's path, or empty text when nothing was made.
  using NewFileMaker = std::function<QString(const QString &folder)>;

  // path: the default file, listed first when it exists. recent is read and
  // updated (a missing file leaves it).
  CStartupWizard(const QString &path, RecentFileList &recent,
                 NewFileMaker makeNewFile, QWidget *parent = nullptr);

  // The chosen path after "打开".
  QString Path() const { return path_; }
  // "下次直接打开此文件".
  int OpenDirect() const;

  QTreeWidget *PathList() const { return list_; }
  QCheckBox *OpenDirectBox() const { return openDirect_; }

public slots:
  // "打开" and a double click on a row.
  void OpenSelected();
  // Toolbar "创建新文档".
  void CreateNew();
  // Toolbar "打开现有文档".
  void OpenExisting();

private:
  void FillList(const QStringList &entries);

  RecentFileList &recent_;
  NewFileMaker makeNewFile_;
  QString path_;
  QTreeWidget *list_;
  QCheckBox *openDirect_;
};
