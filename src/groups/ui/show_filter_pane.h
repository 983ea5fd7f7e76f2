// The filter pane: a property grid with one entry per filterable column in
// four categories. Its WHERE text narrows the records page and the charts;
// its changes reach them with the hint 7, at once or on "执行筛选"; its
// templates are stored under class 1.
#pragma once

#include "window/sorvan_memory_pane.h"

class CPaneFilterGrid;
class PropertyItem;

class CShowFilterPane : public CSorvanMemoryPane {
  Q_OBJECT
public:
  explicit CShowFilterPane(DocumentWindow *window, QWidget *parent = nullptr);

  int GetPaneKind() const override;
  // Rebuilds the grid when hint carries 0x20.
  void OnChangeNotify(unsigned hint) override;
  // The filter's WHERE text, as GetFilterWhere.
  bool GetConditionText(QString &text) const override;
  // Puts set into the grid, then sends 7 and clears what is pending.
  void ApplyTemplate(const FilterSet &set) override;

  // Builds the grid from the file's columns in their starting states, then
  // loads the first template. Sends nothing.
  void BuildFilterGrid();
  // The WHERE text of the grid (empty for no condition); false when an
  // enabled option column has nothing ticked. The text is then empty:
  // pages show nothing rather than a part of the filter.
  bool GetFilterWhere(QString &where) const;
  // Why the filter cannot be built ("类别未选择任何选项"); empty when it can.
  QString FilterProblem() const;

  CPaneFilterGrid *FilterGrid() const { return filterGrid_; }

protected:
  QList<FilterCondition> GridToConditions() const override;
  void LoadTemplate(const FilterSet &set) override;

private:
  void OnValueChanged(PropertyItem *item);
  void OnButtonPressed(PropertyItem *item, int id);

  CPaneFilterGrid *filterGrid_;
};
