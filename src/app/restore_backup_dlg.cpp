// The list of backups to restore from.
#include "app/restore_backup_dlg.h"

#include "base/prompt.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CRestoreBackupDlg::CRestoreBackupDlg(const QString &accountPath, QWidget *parent)
    : QDialog(parent), backups_(ListBackups(accountPath)) {
  setWindowTitle(QStringLiteral("从备份恢复"));
  setSizeGripEnabled(true);
  auto *label = new QLabel(
      backups_.isEmpty() ? QStringLiteral("此账簿文件还没有备份。")
                         : QStringLiteral("选择一个备份，它将以新文件名保存并打开："),
      this);
  list_ = new QTreeWidget(this);
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels(
      {QStringLiteral("备份时间"), QStringLiteral("大小"), QStringLiteral("记录数")});
  list_->setAccessibleName(QStringLiteral("备份列表"));
  for (const BackupInfo &backup : backups_) {
    auto *item = new QTreeWidgetItem(
        list_, {backup.made.toString(QStringLiteral("yyyy/M/d H:mm:ss")),
                QLocale::system().formattedDataSize(backup.size),
                backup.records < 0 ? QStringLiteral("无法读取")
                                   : QString::number(backup.records)});
    item->setToolTip(0, backup.path);
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
  }
  if (list_->topLevelItemCount() > 0)
    list_->setCurrentItem(list_->topLevelItem(0));
  list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  connect(list_, &QTreeWidget::itemDoubleClicked, this,
          &CRestoreBackupDlg::TryAccept);

  auto *buttons = new QDialogButtonBox(this);
  QPushButton *restore =
      buttons->addButton(QStringLiteral("恢复"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  restore->setEnabled(!backups_.isEmpty());
  restore->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this,
          &CRestoreBackupDlg::TryAccept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
  resize(480, 320);
}

void CRestoreBackupDlg::TryAccept() {
  const int index = list_->indexOfTopLevelItem(list_->currentItem());
  if (index < 0 || index >= backups_.size()) {
    ShowMessage(QStringLiteral("请选择一个备份！"));
    return;
  }
  chosen_ = backups_[index].path;
  accept();
}
