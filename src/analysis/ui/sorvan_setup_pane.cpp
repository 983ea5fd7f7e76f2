// The chart set-up panes' shared behaviour.
#include "analysis/ui/sorvan_setup_pane.h"

#include "analysis/chart_sum_memory.h"
#include "model/side_column.h"
#include "window/pane_tool_bar.h"
#include "groups/filter_set.h"
#include "groups/filter_where.h"
#include "window/filter_grid_rules.h"
#include "document/account_file.h"
#include "widgets/property_grid.h"

#include <QComboBox>
#include <QLayout>
#include <QTreeView>

CSorvanSetUpPane::CSorvanSetUpPane(DocumentWindow *window, int paneKind,
                                   unsigned hint, unsigned rebuildBit,
                                   const SetUpPaneTexts &texts,
                                   const QString &gridName, QWidget *parent)
    : CSorvanMemoryPane(window, new PropertyGrid, parent), paneKind_(paneKind),
      hint_(hint), rebuildBit_(rebuildBit), texts_(texts) {
  Grid()->View()->setAccessibleName(gridName);
  groupScope_ = AddScopeBox(ID_GROUP_SCOPE, QStringLiteral("分组控制"),
                            QStringLiteral("只显示当前活动分组"),
                            QStringLiteral("显示所有分组"));
  filterScope_ = AddScopeBox(ID_FILTER_SCOPE, QStringLiteral("使用筛选"),
                             QStringLiteral("只显示当前筛选内容"),
                             QStringLiteral("显示所有内容"));
  AddSideBox();
  connect(Grid(), &PropertyGrid::ValueChanged, this,
          &CSorvanSetUpPane::OnValueChanged);
  connect(Grid(), &PropertyGrid::ButtonPressed, this,
          &CSorvanSetUpPane::OnButtonPressed);
}

QComboBox *CSorvanSetUpPane::AddScopeBox(int id, const QString &tip,
                                         const QString &current,
                                         const QString &all) {
  auto *box = new QComboBox;
  box->addItems({current, all});
  box->setCurrentIndex(SCOPE_CURRENT);
  box->setFixedWidth(128);
  PaneToolBar::FitEntries(box, {current, all});
  ToolBar()->AddWidget(id, box, tip);
  // A scope change is sent at once, whatever "即时更新" says.
  connect(box, &QComboBox::activated, this, [this] { SendNow(hint_); });
  return box;
}

void CSorvanSetUpPane::AddSideBox() {
  QStringList sides{ChartSideName(ChartSide::Spending),
                    ChartSideName(ChartSide::Income)};
  // A pie shows shares of one side; the bars may also show the balance.
  if (paneKind_ == FSC_BAR_SETUP)
    sides.append(ChartSideName(ChartSide::Balance));
  side_ = new QComboBox;
  side_->addItems(sides);
  side_->setCurrentIndex(int(ChartSide::Spending));
  side_->setFixedWidth(64);
  ToolBar()->AddWidget(ID_SIDE, side_,
                       QStringLiteral("汇总%1\n收支")
                           .arg(paneKind_ == FSC_BAR_SETUP
                                    ? QStringLiteral("支出、收入还是结余")
                                    : QStringLiteral("支出还是收入")));
  QLayout *layout = ToolBar()->layout();
  if (layout->count() >= 2)
    sideSeparator_ = layout->itemAt(layout->count() - 2)->widget();
  connect(side_, &QComboBox::activated, this, [this] { SendNow(hint_); });
  ShowSideBox();
}

void CSorvanSetUpPane::ShowSideBox() {
  const AccountFile *file = File();
  const bool sides = file && SideColumnOf(file->Columns());
  side_->setVisible(sides);
  if (sideSeparator_)
    sideSeparator_->setVisible(sides);
}

ChartSide CSorvanSetUpPane::Side() const {
  if (side_->isHidden())
    return ChartSide::Spending;
  return ChartSide(side_->currentIndex());
}

void CSorvanSetUpPane::OnChangeNotify(unsigned hint) {
  if (hint & rebuildBit_)
    Rebuild();
}

bool CSorvanSetUpPane::GetConditionText(QString &text) const {
  return GetSetUpCondition(text);
}

void CSorvanSetUpPane::ApplyTemplate(const FilterSet &set) {
  LoadTemplate(set);
  RememberSum();
  SendNow(hint_);
}

void CSorvanSetUpPane::Rebuild() {
  ShowSideBox();
  AccountFile *file = File();
  if (!file) {
    Grid()->Clear();
    return;
  }
  Grid()->Rebuild([&](PropertyItem &root) {
    BuildSetUpItems(root, file->Columns(), texts_);
  });
  Grid()->ExpandAll();
  ReloadTemplates();
  // The column the user last summed in this file wins over the default
  // and over the first template.
  if (ChooseSetUpSumColumn(Grid()->Root(),
                           RememberedSumColumn(file->Path(), paneKind_)))
    Grid()->Refresh();
}

void CSorvanSetUpPane::RememberSum() const {
  if (const AccountFile *file = File())
    RememberSumColumn(file->Path(), paneKind_, SumColumn());
}

QString CSorvanSetUpPane::SumColumn() const {
  return SetUpSumColumn(Grid()->Root());
}

int CSorvanSetUpPane::GroupScope() const { return groupScope_->currentIndex(); }

int CSorvanSetUpPane::FilterScope() const {
  return filterScope_->currentIndex();
}

bool CSorvanSetUpPane::GetSetUpCondition(QString &where) const {
  const FilterWhere built = SetUpCondition(Grid()->Root());
  where = built.ok ? built.text : QString();
  return built.ok;
}

QList<ExpandedColumn> CSorvanSetUpPane::ExpandedColumns() const {
  return SetUpExpandedColumns(Grid()->Root());
}

QList<FilterCondition> CSorvanSetUpPane::GridToConditions() const {
  return GridConditions(Grid()->Root());
}

void CSorvanSetUpPane::LoadTemplate(const FilterSet &set) {
  LoadGridConditions(Grid()->Root(), set);
  Grid()->Refresh();
}

void CSorvanSetUpPane::OnValueChanged(PropertyItem *item) {
  if (IsSetUpSumList(*item))
    RememberSum();
  ApplyEnableRule(*item);
  Grid()->Refresh();
  NotifyChange(hint_);
}

void CSorvanSetUpPane::OnButtonPressed(PropertyItem *item, int id) {
  if (id != FGT_SELECT_ALL)
    return;
  PressSelectAll(*item);
  Grid()->Refresh();
  NotifyChange(hint_);
}
