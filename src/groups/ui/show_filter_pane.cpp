// The filter pane.
#include "groups/ui/show_filter_pane.h"

#include "groups/date_span.h"
#include "window/filter_grid_rules.h"
#include "groups/ui/pane_filter_grid.h"
#include "document/account_file.h"

#include <QTreeView>

namespace {

const unsigned kViewsHint = HINT_RECORDS | HINT_PIE_SERIES | HINT_BAR_SERIES;

} // namespace

CShowFilterPane::CShowFilterPane(DocumentWindow *window, QWidget *parent)
    : CSorvanMemoryPane(window, new CPaneFilterGrid, parent) {
  filterGrid_ = static_cast<CPaneFilterGrid *>(Grid());
  filterGrid_->View()->setAccessibleName(QStringLiteral("筛选设置"));
  connect(filterGrid_, &PropertyGrid::ValueChanged, this,
          &CShowFilterPane::OnValueChanged);
  connect(filterGrid_, &PropertyGrid::ButtonPressed, this,
          &CShowFilterPane::OnButtonPressed);
}

int CShowFilterPane::GetPaneKind() const { return FSC_FILTER_PANE; }

void CShowFilterPane::OnChangeNotify(unsigned hint) {
  if (hint & HINT_FILTERS)
    BuildFilterGrid();
}

bool CShowFilterPane::GetConditionText(QString &text) const {
  return GetFilterWhere(text);
}

void CShowFilterPane::ApplyTemplate(const FilterSet &set) {
  LoadTemplate(set);
  SendNow(kViewsHint);
}

void CShowFilterPane::BuildFilterGrid() {
  AccountFile *file = File();
  if (!file) {
    filterGrid_->Clear();
    return;
  }
  filterGrid_->BuildFilterGrid(file->Columns());
  ReloadTemplates();
}

bool CShowFilterPane::GetFilterWhere(QString &where) const {
  const FilterWhere built = filterGrid_->GetFilterWhere();
  where = built.ok ? built.text : QString();
  return built.ok;
}

QString CShowFilterPane::FilterProblem() const {
  return filterGrid_->GetFilterWhere().problem;
}

QList<FilterCondition> CShowFilterPane::GridToConditions() const {
  return filterGrid_->GridToConditions();
}

void CShowFilterPane::LoadTemplate(const FilterSet &set) {
  filterGrid_->LoadConditions(set);
}

void CShowFilterPane::OnValueChanged(PropertyItem *item) {
  ApplyEnableRule(*item);
  SnapPickedDate(*item);
  // A date range switched on covers the records, from the first one's day
  // to the last one's; a column without dates keeps today to today.
  QDate first, last;
  if (const ColumnDef *column = SwitchedOnDateColumn(*item);
      column && File() && File()->Session() &&
      RecordDateSpan(*File()->Session(), column->fieldName, first, last))
    StartDateRange(*item, first, last);
  filterGrid_->Refresh();
  NotifyChange(kViewsHint);
}

void CShowFilterPane::OnButtonPressed(PropertyItem *item, int id) {
  if (id != FGT_SELECT_ALL)
    return;
  PressSelectAll(*item);
  filterGrid_->Refresh();
  NotifyChange(kViewsHint);
}
