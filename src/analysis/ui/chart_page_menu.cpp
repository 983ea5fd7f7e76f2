// The pop-up menu of a chart page.
#include "analysis/ui/chart_page_menu.h"

#include <QAction>
#include <QMenu>

QMenu *MakeChartPageMenu(QWidget *page, const std::function<void()> &saveImage) {
  auto *menu = new QMenu(page);
  QAction *save = menu->addAction(QStringLiteral("保存图片…"));
  QObject::connect(save, &QAction::triggered, page, saveImage);
  return menu;
}
