// The bar chart set-up pane: the column the bar chart sums, its option columns and
// its scope. Templates are stored under class 2; changes send the hint 4;
// the pane rebuilds on 0x40.
#pragma once

#include "analysis/ui/sorvan_setup_pane.h"

class CSorvanBarSetUpPane : public CSorvanSetUpPane {
  Q_OBJECT
public:
  explicit CSorvanBarSetUpPane(DocumentWindow *window, QWidget *parent = nullptr);
};
