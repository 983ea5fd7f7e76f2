// The widgets of the "常规" page; they show the values and pass the
// user's edits to GeneralConfig.
#include "app/options/general_page.h"

#include "app/startup_settings.h"
#include "document/account_file.h"
#include "storage/backup_settings.h"
#include "widgets/start_folder.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

CDGeneralPage::CDGeneralPage(AccountFile &file, const StartupSettings &startup,
                             QWidget *parent)
    : CPropertyPageBase(file, parent), startup_(startup) {
  if (file.Session())
    config_ = LoadGeneralConfig(*file.Session(), startup);

  auto *titleGroup = new QGroupBox(QStringLiteral("主标题设置"), this);
  title_ = new QPlainTextEdit(config_.settings.mainShowTip, titleGroup);
  title_->setAccessibleName(QStringLiteral("主标题设置"));
  auto *titleLayout = new QVBoxLayout(titleGroup);
  titleLayout->addWidget(title_);

  autoSize_ = new QCheckBox(QStringLiteral("自动尺寸"), this);
  autoSize_->setChecked(config_.settings.gridAutoSize);
  fitWidth_ = new QCheckBox(QStringLiteral("适应窗体宽度"), this);
  fitWidth_->setChecked(config_.settings.expandColumnsToFit);

  auto *modeGroup = new QGroupBox(QStringLiteral("初始化模式"), this);
  firstLine_ = new QRadioButton(QStringLiteral("优先显示第一行"), modeGroup);
  lastLine_ = new QRadioButton(QStringLiteral("优先显示最后一行"), modeGroup);
  (config_.settings.showLastLine ? lastLine_ : firstLine_)->setChecked(true);
  auto *modeLayout = new QHBoxLayout(modeGroup);
  modeLayout->addWidget(firstLine_);
  modeLayout->addWidget(lastLine_);
  modeLayout->addStretch(1);

  auto *fileGroup = new QGroupBox(QStringLiteral("默认数据文件设置"), this);
  auto *pathLabel = new QLabel(QStringLiteral("文件路径："), fileGroup);
  path_ = new QLineEdit(config_.defaultPath, fileGroup);
  path_->setAccessibleName(QStringLiteral("文件路径："));
  pathLabel->setBuddy(path_);
  auto *browse = new QToolButton(fileGroup);
  browse->setText(QStringLiteral("..."));
  browse->setAccessibleName(QStringLiteral("浏览"));
  openDirect_ =
      new QCheckBox(QStringLiteral("软件启动时自动加载此文件"), fileGroup);
  openDirect_->setChecked(config_.openDirect != 0);
  auto *fileLayout = new QGridLayout(fileGroup);
  fileLayout->addWidget(pathLabel, 0, 0);
  fileLayout->addWidget(path_, 0, 1);
  fileLayout->addWidget(browse, 0, 2);
  fileLayout->addWidget(openDirect_, 1, 0, 1, 3);

  auto *backupGroup = new QGroupBox(QStringLiteral("自动备份"), this);
  auto *backupLabel =
      new QLabel(QStringLiteral("关闭修改过的账簿时保留的备份份数（0 为不备份）："),
                 backupGroup);
  backupCount_ = new QSpinBox(backupGroup);
  backupCount_->setRange(0, kMaxBackupCount);
  backupCount_->setValue(config_.backupCount);
  backupCount_->setAccessibleName(QStringLiteral("自动备份"));
  backupLabel->setBuddy(backupCount_);
  auto *backupLayout = new QHBoxLayout(backupGroup);
  backupLayout->addWidget(backupLabel);
  backupLayout->addWidget(backupCount_);
  backupLayout->addStretch(1);

  auto *checks = new QHBoxLayout;
  checks->addWidget(autoSize_);
  checks->addWidget(fitWidth_);
  checks->addStretch(1);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(titleGroup, 1);
  layout->addLayout(checks);
  layout->addWidget(modeGroup);
  layout->addWidget(fileGroup);
  layout->addWidget(backupGroup);

  auto modified = [this] { SetModified(); };
  connect(title_, &QPlainTextEdit::textChanged, this, modified);
  connect(autoSize_, &QCheckBox::toggled, this, modified);
  connect(fitWidth_, &QCheckBox::toggled, this, modified);
  connect(lastLine_, &QRadioButton::toggled, this, modified);
  connect(openDirect_, &QCheckBox::toggled, this, modified);
  connect(backupCount_, &QSpinBox::valueChanged, this, modified);
  connect(path_, &QLineEdit::textChanged, this, [this] {
    SetModified();
    if (initialised_)
      config_.pathChanged = true;
  });
  connect(browse, &QToolButton::clicked, this, [this] {
    const QString chosen = QFileDialog::getOpenFileName(
        this, QStringLiteral("选择文件位置"), StartFolder(path_->text()),
        QStringLiteral("账簿文件 (*.fz);;所有文件 (*)"));
    if (!chosen.isEmpty())
      path_->setText(chosen);
  });
  initialised_ = true;
}

bool CDGeneralPage::Write() {
  config_.settings.mainShowTip = title_->toPlainText();
  config_.settings.gridAutoSize = autoSize_->isChecked();
  config_.settings.expandColumnsToFit = fitWidth_->isChecked();
  config_.settings.showLastLine = lastLine_->isChecked();
  config_.defaultPath = path_->text();
  config_.openDirect = openDirect_->isChecked() ? 1 : 0;
  config_.backupCount = backupCount_->value();
  if (!ApplyGeneralConfig(*file_.Session(), startup_, config_)) {
    path_->setFocus();
    return false;
  }
  return true;
}
