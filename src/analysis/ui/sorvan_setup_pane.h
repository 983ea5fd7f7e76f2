// What the bar and the pie chart set-up panes share: a grid with the
// column to sum and one switch per option column, two scope boxes on the
// toolbar ("分组控制", "使用筛选") and, in a ledger with a side column, the
// side box ("收支": 支出, 收入, and 结余 for the bars), whose changes are
// sent at once, and what the chart pages read: the sum column, the scopes,
// the side, the set-up condition and the expanded columns.
#pragma once

#include "analysis/chart_side.h"
#include "analysis/ui/setup_grid_items.h"
#include "window/sorvan_memory_pane.h"

class PropertyItem;
class QComboBox;

class CSorvanSetUpPane : public CSorvanMemoryPane {
  Q_OBJECT
public:
  enum SetUpCommand : int {
    ID_GROUP_SCOPE = 32827,  // "分组控制"
    ID_FILTER_SCOPE = 32828, // "使用筛选"
    ID_SIDE = 32829,         // "收支": the side summed, in a ledger with one
  };
  // Entries of the scope boxes.
  enum Scope : int {
    SCOPE_CURRENT = 0, // "只显示当前活动分组" / "只显示当前筛选内容"
    SCOPE_ALL = 1,     // "显示所有分组" / "显示所有内容"
  };

  int GetPaneKind() const override { return paneKind_; }
  // Rebuilds the grid when hint carries the pane's rebuild bit.
  void OnChangeNotify(unsigned hint) override;
  // The set-up condition, as GetSetUpCondition.
  bool GetConditionText(QString &text) const override;
  // Puts set into the grid, then sends the pane's hint.
  void ApplyTemplate(const FilterSet &set) override;

  // Builds the grid from the file's columns, then loads the first template.
  // Sends nothing.
  void Rebuild();

  // For the chart pages.
  // The field name of the column to sum; empty when there is none, in
  // which case the chart has nothing to sum and stays empty.
  QString SumColumn() const;
  // The entries of the scope boxes (SCOPE_CURRENT or SCOPE_ALL).
  int GroupScope() const;
  int FilterScope() const;
  // The WHERE text of the switched-on option columns; false (and empty)
  // when one of them has no option ticked.
  bool GetSetUpCondition(QString &where) const;
  QList<ExpandedColumn> ExpandedColumns() const;
  // The side the chart sums (支出 first; the bar chart also offers 结余).
  // The box shows only for a ledger with a side column.
  ChartSide Side() const;

  QComboBox *GroupScopeBox() const { return groupScope_; }
  QComboBox *FilterScopeBox() const { return filterScope_; }
  QComboBox *SideBox() const { return side_; }
  // The hint the pane sends (4 bar, 2 pie).
  unsigned PaneHint() const { return hint_; }

protected:
  CSorvanSetUpPane(DocumentWindow *window, int paneKind, unsigned hint,
                   unsigned rebuildBit, const SetUpPaneTexts &texts,
                   const QString &gridName, QWidget *parent);

  QList<FilterCondition> GridToConditions() const override;
  void LoadTemplate(const FilterSet &set) override;

private:
  QComboBox *AddScopeBox(int id, const QString &tip, const QString &current,
                         const QString &all);
  void AddSideBox();
  // Shows the side box when the file has a side column.
  void ShowSideBox();
  // Keeps the sum column for the next window on this file.
  void RememberSum() const;
  void OnValueChanged(PropertyItem *item);
  void OnButtonPressed(PropertyItem *item, int id);

  const int paneKind_;
  const unsigned hint_;
  const unsigned rebuildBit_;
  const SetUpPaneTexts texts_;
  QComboBox *groupScope_;
  QComboBox *filterScope_;
  QComboBox *side_ = nullptr;
  QWidget *sideSeparator_ = nullptr;
};
