// The "常规" page of the options sheet: the main title, the records
// grid's switches, the default file and the automatic backups. The rules
// live in GeneralConfig.
#pragma once

#include "app/options/general_config.h"
#include "app/options/property_page_base.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;
class StartupSettings;

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
