// Applying a page of the options sheet.
#include "app/options/property_page_base.h"

#include "document/account_file.h"

CPropertyPageBase::CPropertyPageBase(AccountFile &file, QWidget *parent)
    : QWidget(parent), file_(file) {}

bool CPropertyPageBase::Apply() {
  if (!file_.Session())
    return true;
  if (!Write())
    return false;
  if (Modified()) {
    applied_ = true;
    ClearModified();
  }
  return true;
}
