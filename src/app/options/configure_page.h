// The "配置" page of the options sheet: the column grid, the option values
// of an option column and a help text. The rules live in COptionGridCtrl.
#pragma once

#include "app/options/option_grid_ctrl.h"
#include "app/options/property_page_base.h"

#include <memory>

class CellGridView;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

class CDConfigurePage : public CPropertyPageBase {
  Q_OBJECT

public:
  explicit CDConfigurePage(AccountFile &file, QWidget *parent = nullptr);
  ~CDConfigurePage() override;

  COptionGridCtrl &Grid() { return *grid_; }
  CellGridView *GridView() const { return view_; }
  QLineEdit *OptionEdit() const { return optionEdit_; }
  QListWidget *OptionList() const { return optionList_; }
  QPlainTextEdit *HelpText() const { return help_; }
  bool Modified() const override;

  // The pop-up menu's "删除" on the selected rows.
  void DeleteSelectedRows();

protected:
  bool Write() override;

private:
  void ShowOptions();

  std::unique_ptr<COptionGridCtrl> grid_;
  CellGridView *view_;
  QLineEdit *optionEdit_;
  QPushButton *addOption_;
  QPushButton *deleteOption_;
  QListWidget *optionList_;
  QPlainTextEdit *help_;
};
