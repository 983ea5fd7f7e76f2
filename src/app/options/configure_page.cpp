// The widgets of the "配置" page; they show the grid and pass the user's
// edits to it.
#include "app/options/configure_page.h"

#include "analysis/budget_follow.h"
#include "document/account_file.h"
#include "model/column_store.h"
#include "widgets/cell_grid_view.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CDConfigurePage::CDConfigurePage(AccountFile &file, QWidget *parent)
    : CPropertyPageBase(file, parent),
      grid_(std::make_unique<COptionGridCtrl>()) {
  if (CDBVisiter *session = file.Session()) {
    grid_->Load(*session);
    grid_->SetValueCounter([session](const QString &field) {
      return CountStoredValues(*session, field);
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
  const QList<ColumnDef> before = StoredColumnDefs(*file_.Session());
  if (!grid_->Apply(*file_.Session())) {
    view_->setFocus();
    return false;
  }
  // A renamed column or option keeps its budget.
  FollowStoredColumnEdits(file_, before);
  return true;
}
