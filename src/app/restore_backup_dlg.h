// "从备份恢复…": the backups of the open account file with the time each
// was made, its size and its number of records; the chosen one is saved
// under a new name and opened by the caller.
#pragma once

#include "storage/backup_store.h"

#include <QDialog>

class QTreeWidget;

class CRestoreBackupDlg : public QDialog {
  Q_OBJECT

public:
  CRestoreBackupDlg(const QString &accountPath, QWidget *parent = nullptr);

  // The chosen backup after "恢复"; empty otherwise.
  QString ChosenBackup() const { return chosen_; }
  QTreeWidget *List() const { return list_; }

public slots:
  void TryAccept();

private:
  QList<BackupInfo> backups_;
  QTreeWidget *list_;
  QString chosen_;
};
