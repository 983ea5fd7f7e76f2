// The bar chart set-up pane.
#include "analysis/ui/sorvan_bar_setup_pane.h"

#include "groups/filter_set.h"
#include "document/account_file.h"

CSorvanBarSetUpPane::CSorvanBarSetUpPane(DocumentWindow *window,
                                         QWidget *parent)
    : CSorvanSetUpPane(window, FSC_BAR_SETUP, HINT_BAR_SERIES,
                       HINT_BAR_SETTINGS, BarSetUpTexts(),
                       QStringLiteral("柱图分析"), parent) {}
