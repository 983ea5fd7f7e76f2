// The pie chart set-up pane: the column the pie chart sums, its option columns and
// its scope. Templates are stored under class 3; changes send the hint 2;
// the pane rebuilds on 0x80.
#pragma once

#include "analysis/ui/sorvan_setup_pane.h"

class CSorvanPieSetUpPane : public CSorvanSetUpPane {
  Q_OBJECT
public:
  explicit CSorvanPieSetUpPane(DocumentWindow *window, QWidget *parent = nullptr);
};
