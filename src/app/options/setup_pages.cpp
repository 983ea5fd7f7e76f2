// The widgets of the options sheet's pages; they show the values and pass
// the user's edits to the page's rules.
#include "app/options/setup_pages.h"

#include "app/startup_settings.h"
#include "db/db_visiter.h"
#include "storage/backup_settings.h"
#include "document/account_file.h"
#include "widgets/cell_grid_view.h"
#include "widgets/start_folder.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

CPropertyPageBase::CPropertyPageBase(AccountFile &file, QWidget *parent)
    : QWidget(parent), file_(file) {}

bool CPropertyPageBase::Apply() {
  if (!file_.Session())
    return true;
  if (!Write())
    return false;
  if (Modified()) {
    applied_ = true;
    ClearModified();
  }
  return true;
}

// ---- 常规 ----

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

// ---- 配置 ----

CDConfigurePage::CDConfigurePage(AccountFile &file, QWidget *parent)
    : CPropertyPageBase(file, parent),
      grid_(std::make_unique<COptionGridCtrl>()) {
  if (CDBVisiter *session = file.Session()) {
    grid_->Load(*session);
    grid_->SetValueCounter([session](const QString &field) {
      return int(session->Count(
          QStringLiteral("Users"),
          QStringLiteral("[%1] Is Not Null").arg(field)));
    });
  }
  auto *itemsGroup = new QGroupBox(QStringLiteral("项目"), this);
  view_ = new CellGridView(*grid_, itemsGroup);
  view_->setAccessibleName(QStringLiteral("项目"));
  auto *itemsLayout = new QVBoxLayout(itemsGroup);
  itemsLayout->addWidget(view_);

  auto *optionGroup = new QGroupBox(QStringLiteral("选项设置"), this);
  optionEdit_ = new QLineEdit(optionGroup);
  optionEdit_->setAccessibleName(QStringLiteral("选项"));
  addOption_ = new QPushButton(QStringLiteral("添加"), optionGroup);
  deleteOption_ = new QPushButton(QStringLiteral("删除"), optionGroup);
  optionList_ = new QListWidget(optionGroup);
  optionList_->setAccessibleName(QStringLiteral("选项列表"));
  auto *optionLayout = new QVBoxLayout(optionGroup);
  optionLayout->addWidget(optionEdit_);
  auto *optionButtons = new QHBoxLayout;
  optionButtons->addWidget(addOption_);
  optionButtons->addWidget(deleteOption_);
  optionLayout->addLayout(optionButtons);
  optionLayout->addWidget(optionList_, 1);
  optionGroup->setMaximumWidth(200);

  help_ = new QPlainTextEdit(COptionGridCtrl::GeneralHelp(), this);
  help_->setReadOnly(true);
  help_->setMaximumHeight(64);
  help_->setAccessibleName(QStringLiteral("说明"));

  auto *top = new QHBoxLayout;
  top->addWidget(itemsGroup, 1);
  top->addWidget(optionGroup);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addWidget(help_);

  grid_->optionsChanged = [this] { ShowOptions(); };
  grid_->cellClicked = [this](int col) {
    help_->setPlainText(COptionGridCtrl::HelpText(col));
  };
  grid_->menuAsked = [this](const QPoint &pos) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("删除"), this,
                   &CDConfigurePage::DeleteSelectedRows);
    menu.exec(pos);
  };
  connect(addOption_, &QPushButton::clicked, this, [this] {
    grid_->AddOption(optionEdit_->text());
  });
  connect(deleteOption_, &QPushButton::clicked, this, [this] {
    grid_->DeleteOption(optionList_->currentRow());
  });
  ShowOptions();
}

CDConfigurePage::~CDConfigurePage() {
  // The view shows the grid: it goes first.
  delete view_;
}

bool CDConfigurePage::Modified() const { return grid_->Modified(); }

void CDConfigurePage::ShowOptions() {
  const bool on = grid_->OptionColumnId() >= 0;
  optionList_->clear();
  optionList_->addItems(grid_->OptionValues());
  optionEdit_->setEnabled(on);
  addOption_->setEnabled(on);
  deleteOption_->setEnabled(on);
  optionList_->setEnabled(on);
}

void CDConfigurePage::DeleteSelectedRows() {
  grid_->DeleteRows(grid_->SelectedRows());
}

bool CDConfigurePage::Write() {
  if (!grid_->Apply(*file_.Session())) {
    view_->setFocus();
    return false;
  }
  return true;
}

// ---- 视图 ----

CViewPage::CViewPage(AccountFile &file, QWidget *parent)
    : CPropertyPageBase(file, parent), config_(file.Views().views) {
  auto *listLabel = new QLabel(QStringLiteral("视图列表"), this);
  list_ = new QListWidget(this);
  list_->setAccessibleName(QStringLiteral("视图列表"));
  listLabel->setBuddy(list_);
  add_ = new QPushButton(QStringLiteral("添加->"), this);
  delete_ = new QPushButton(QStringLiteral("<-删除"), this);
  change_ = new QPushButton(QStringLiteral("更改->"), this);
  auto *nameLabel = new QLabel(QStringLiteral("视图名称"), this);
  name_ = new QLineEdit(this);
  name_->setAccessibleName(QStringLiteral("视图名称"));
  nameLabel->setBuddy(name_);
  auto *sqlLabel = new QLabel(QStringLiteral("视图命令"), this);
  sql_ = new QPlainTextEdit(this);
  sql_->setAccessibleName(QStringLiteral("视图命令"));

  auto *left = new QVBoxLayout;
  left->addWidget(listLabel);
  left->addWidget(list_, 1);
  auto *middle = new QVBoxLayout;
  middle->addStretch(1);
  middle->addWidget(add_);
  middle->addWidget(delete_);
  middle->addWidget(change_);
  middle->addStretch(1);
  auto *right = new QVBoxLayout;
  right->addWidget(nameLabel);
  right->addWidget(name_);
  right->addWidget(sqlLabel);
  right->addWidget(sql_, 1);
  auto *layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(middle);
  layout->addLayout(right, 2);

  connect(list_, &QListWidget::currentRowChanged, this, &CViewPage::OnSelected);
  connect(add_, &QPushButton::clicked, this, &CViewPage::OnAdd);
  connect(delete_, &QPushButton::clicked, this, &CViewPage::OnDelete);
  connect(change_, &QPushButton::clicked, this, &CViewPage::OnChange);
  Fill(0);
  delete_->setEnabled(false);
  change_->setEnabled(false);
}

void CViewPage::Fill(int select) {
  QSignalBlocker blocker(list_);
  list_->clear();
  for (const ViewItem &view : config_.Views())
    list_->addItem(view.name);
  if (select >= 0 && select < list_->count()) {
    list_->setCurrentRow(select);
    name_->setText(config_.Views()[select].name);
    sql_->setPlainText(config_.Views()[select].sql);
  }
  delete_->setEnabled(false);
  change_->setEnabled(false);
}

void CViewPage::OnSelected(int row) {
  if (row < 0 || row >= config_.Views().size())
    return;
  name_->setText(config_.Views()[row].name);
  sql_->setPlainText(config_.Views()[row].sql);
  delete_->setEnabled(config_.CanEdit(row));
  change_->setEnabled(config_.CanEdit(row));
}

void CViewPage::OnAdd() {
  if (!config_.Add(name_->text(), sql_->toPlainText()))
    return;
  SetModified();
  Fill(int(config_.Views().size()) - 1);
}

void CViewPage::OnDelete() {
  if (!config_.Remove(list_->currentRow(), name_->text(), sql_->toPlainText()))
    return;
  SetModified();
  Fill(-1);
}

void CViewPage::OnChange() {
  if (!config_.Change(list_->currentRow(), name_->text(), sql_->toPlainText()))
    return;
  SetModified();
  Fill(int(config_.Views().size()) - 1);
}

bool CViewPage::Write() { return config_.Apply(*file_.Session()); }
