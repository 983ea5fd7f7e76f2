// The pie chart set-up pane.
#include "analysis/ui/sorvan_pie_setup_pane.h"

#include "groups/filter_set.h"
#include "document/account_file.h"

CSorvanPieSetUpPane::CSorvanPieSetUpPane(DocumentWindow *window,
                                         QWidget *parent)
    : CSorvanSetUpPane(window, FSC_PIE_SETUP, HINT_PIE_SERIES,
                       HINT_PIE_SETTINGS, PieSetUpTexts(),
                       QStringLiteral("饼图分析"), parent) {}
