// The base of the options sheet's pages: a page writes only when applied,
// and tells the sheet whether it refused and whether it wrote anything.
#pragma once

#include <QWidget>

class AccountFile;

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
