// The "视图" page of the options sheet: the named views of the file with
// "添加->", "<-删除" and "更改->". The rules live in ViewConfig.
#pragma once

#include "app/options/property_page_base.h"
#include "app/options/view_config.h"

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

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
