// The base of the panes with a property grid and named templates: the
// filter pane and the two chart set-up panes. Its toolbar (149) holds the
// template box, "保存模板", "删除模板", "即时更新" and "执行筛选".
//
// Templates are read again at the end of every rebuild of the grid; the
// first is selected and loaded into the grid without sending anything.
// Choosing, saving and deleting are the user's actions.
#pragma once

#include "window/pane_templates.h"
#include "window/sorvan_base_pane.h"

class PropertyGrid;
class QComboBox;

class CSorvanMemoryPane : public CSorvanBasePane {
  Q_OBJECT
public:
  enum MemoryCommand : int {
    ID_TEMPLATE_BOX = 101,      // "选择一个预定义模板"
    ID_SAVE_TEMPLATE = 32818,   // "保存模板"
    ID_DELETE_TEMPLATE = 32819, // "删除模板"
  };

  // grid is the pane's property grid (owned by the pane).
  CSorvanMemoryPane(DocumentWindow *window, PropertyGrid *grid,
                    QWidget *parent = nullptr);

  // The class under which the pane's templates are stored; 0 in the base.
  virtual int GetPaneKind() const { return 0; }
  // Puts set into the grid; derived panes then also notify.
  virtual void ApplyTemplate(const FilterSet &set);

  PropertyGrid *Grid() const { return grid_; }
  QComboBox *TemplateBox() const { return templateBox_; }
  const PaneTemplates &Templates() const { return templates_; }

  // Reads the templates again, fills the box and loads the first one into
  // the grid without sending anything. Derived panes call it at the end of
  // each rebuild.
  void ReloadTemplates();
  // Command 101: applies the template of box entry index.
  void ChooseTemplate(int index);
  // Command 32818: asks for a name and saves the grid under it.
  void SaveTemplate();
  // Command 32819: asks, then deletes the selected template.
  void DeleteTemplate();

protected:
  // The grid's state as template conditions.
  virtual QList<FilterCondition> GridToConditions() const = 0;
  // Puts a template's conditions into the grid; sends nothing.
  virtual void LoadTemplate(const FilterSet &set) = 0;

private:
  void FillBox(int selected);

  PropertyGrid *grid_;
  QComboBox *templateBox_;
  PaneTemplates templates_;
};
