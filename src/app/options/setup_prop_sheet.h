// The options sheet "选项...": the pages 常规, 配置 and 视图 on one account
// file. A page writes when applied ("确定" or "应用"); pages are applied in
// their order and only those the user has shown, and a page that refuses
// keeps the sheet open on it. Whoever runs the sheet reloads the file
// afterwards when AnyApplied() says a page wrote something, also after
// "取消".
#pragma once

#include <QDialog>

class AccountFile;
class CDConfigurePage;
class CDGeneralPage;
class CPropertyPageBase;
class CViewPage;
class QTabWidget;
class StartupSettings;

class CSetUpPropSheet : public QDialog {
  Q_OBJECT

public:
  CSetUpPropSheet(AccountFile &file, const StartupSettings &startup,
                  QWidget *parent = nullptr);

  CDGeneralPage *GeneralPage() const { return general_; }
  CDConfigurePage *ConfigurePage() const { return configure_; }
  CViewPage *ViewPage() const { return views_; }
  QTabWidget *Tabs() const { return tabs_; }

  // Applies the shown pages in order; false when one refused.
  bool ApplyPages();
  bool AnyApplied() const;

public slots:
  // "确定": applies and closes unless a page refused.
  void OnOk();

private:
  AccountFile &file_;
  QTabWidget *tabs_;
  CDGeneralPage *general_;
  CDConfigurePage *configure_;
  CViewPage *views_;
  QList<bool> shown_;
};

// Reloads a file after the options sheet wrote to it: its columns, groups,
// settings and views are read again, the undo history (whose commands hold
// rows of the old columns) is cleared, and every window is told 0xFFFF.
void ReloadAfterOptions(AccountFile &file);
