// The three pages of the options sheet: "常规" (CDGeneralPage), "配置"
// (CDConfigurePage) and "视图" (CViewPage). Each writes only when applied;
// the rules live in GeneralConfig, COptionGridCtrl and ViewConfig.
#pragma once

#include "app/options/general_config.h"
#include "app/options/option_grid_ctrl.h"
#include "app/options/view_config.h"

#include <QWidget>

#include <memory>

class AccountFile;
class CellGridView;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class StartupSettings;

class CPropertyPageBase : public QWidget {
  Q_OBJECT

public:
  CPropertyPageBase(AccountFile &file, QWidget *parent);

  // Writes the page; false when it refused (the sheet stays on it).
  bool Apply();
  bool Applied() const { return applied_; }
  virtual bool Modified() const { return modified_; }

protected:
  virtual bool Write() = 0;
  void SetModified() { modified_ = true; }
  void ClearModified() { modified_ = false; }

  AccountFile &file_;

private:
  bool modified_ = false;
  bool applied_ = false;
};

class CDGeneralPage : public CPropertyPageBase {
  Q_OBJECT

public:
  CDGeneralPage(AccountFile &file, const StartupSettings &startup,
                QWidget *parent = nullptr);

  QPlainTextEdit *TitleEdit() const { return title_; }
  QLineEdit *PathEdit() const { return path_; }
  QCheckBox *AutoSizeBox() const { return autoSize_; }
  QCheckBox *OpenDirectBox() const { return openDirect_; }
  QSpinBox *BackupCountBox() const { return backupCount_; }

protected:
  bool Write() override;

private:
  const StartupSettings &startup_;
  GeneralConfig config_;
  QPlainTextEdit *title_;
  QCheckBox *autoSize_;
  QCheckBox *fitWidth_;
  QRadioButton *firstLine_;
  QRadioButton *lastLine_;
  QLineEdit *path_;
  QCheckBox *openDirect_;
  QSpinBox *backupCount_;
  bool initialised_ = false;
};

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

class CViewPage : public CPropertyPageBase {
  Q_OBJECT

public:
  explicit CViewPage(AccountFile &file, QWidget *parent = nullptr);

  ViewConfig &Config() { return config_; }
  QListWidget *ViewList() const { return list_; }
  QLineEdit *NameEdit() const { return name_; }
  QPlainTextEdit *SqlEdit() const { return sql_; }
  QPushButton *AddButton() const { return add_; }
  QPushButton *DeleteButton() const { return delete_; }
  QPushButton *ChangeButton() const { return change_; }

public slots:
  void OnAdd();
  void OnDelete();
  void OnChange();

protected:
  bool Write() override;

private:
  void Fill(int select);
  void OnSelected(int row);

  ViewConfig config_;
  QListWidget *list_;
  QLineEdit *name_;
  QPlainTextEdit *sql_;
  QPushButton *add_;
  QPushButton *delete_;
  QPushButton *change_;
};
