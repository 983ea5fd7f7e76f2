// Finding the user guide and opening it at the section of a page.
#include "app/help_guide.h"

#include "app/program_paths.h"
#include "base/prompt.h"
#include "window/sorvan_base_view.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace {

const char kIndex[] = "index.html";

} // namespace

QStringList GuideFolders() {
  const QDir program(ProgramFolder());
  return {program.filePath(QStringLiteral("guide")),
          QDir::cleanPath(program.filePath(
              QStringLiteral("../../share/doc/sorvanel/guide"))),
          QStringLiteral("/usr/share/doc/sorvanel/guide")};
}

QString FindGuide(const QStringList &folders) {
  for (const QString &folder : folders)
    if (QFileInfo(QDir(folder).filePath(QLatin1String(kIndex))).isFile())
      return folder;
  return QString();
}

QString GuideSection(int pageKind) {
  switch (pageKind) {
  case CSorvanBaseView::RecordsPage:
    return QStringLiteral("records.html#records");
  case CSorvanBaseView::BarChartPage:
    return QStringLiteral("bar-chart.html#bar-chart");
  case CSorvanBaseView::PieChartPage:
    return QStringLiteral("pie-chart.html#pie-chart");
  case CSorvanBaseView::BudgetPage:
    return QStringLiteral("budget.html#budget");
  default:
    return QStringLiteral("index.html#start");
  }
}

QUrl GuideUrl(const QString &folder, const QString &section) {
  const qsizetype hash = section.indexOf(QLatin1Char('#'));
  QUrl url = QUrl::fromLocalFile(QDir(folder).filePath(section.left(hash)));
  if (hash >= 0)
    url.setFragment(section.mid(hash + 1));
  return url;
}

bool OpenGuide(int pageKind, const QStringList &folders) {
  const QString folder = FindGuide(folders);
  if (folder.isEmpty()) {
    ShowMessage(QStringLiteral("找不到使用说明：以下文件夹中都没有 %1。\n%2")
                    .arg(QLatin1String(kIndex),
                         folders.join(QLatin1Char('\n'))));
    return false;
  }
  const QUrl url = GuideUrl(folder, GuideSection(pageKind));
  if (QDesktopServices::openUrl(url))
    return true;
  ShowMessage(QStringLiteral("无法打开使用说明：没有可以显示网页的程序。\n"
                             "请用浏览器打开 %1")
                  .arg(url.toLocalFile()));
  return false;
}
