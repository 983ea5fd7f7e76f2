// The progress dialog of a long import or export: it appears after half a
// second, counts the lines done, keeps the window responsive and offers
// "取消".
#pragma once

#include "exchange/statement_import.h"

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

class ExchangeProgressDialog {
public:
  // label holds "%1" for the count done.
  ExchangeProgressDialog(QWidget *parent, const QString &label);
  ~ExchangeProgressDialog();

  // The callback for ExchangeProgress: updates the count now and then and
  // answers false once the user cancelled.
  ExchangeProgress Callback();

private:
  std::unique_ptr<QProgressDialog> dialog_;
  QString label_;
};
