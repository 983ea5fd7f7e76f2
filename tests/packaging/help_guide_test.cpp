// The user guide that 帮助 → 使用说明 (F1) opens: the section of every page
// and every link of the guide lead to an anchor that is there, and opening
// takes the first folder that holds the guide or says why there is none.
#include "app/help_guide.h"
#include "base/scripted_prompt.h"
#include "window/sorvan_base_view.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kGuide = QStringLiteral(SORVANEL_GUIDE_DIR);

QString ReadGuideFile(const QString &name) {
  QFile file(QDir(kGuide).filePath(name));
  if (!file.open(QIODevice::ReadOnly))
    return QString();
  return QString::fromUtf8(file.readAll());
}

// What is wrong with a link "page.html#anchor" (or a file alone) of the
// guide; empty when it leads somewhere.
QString LinkFault(const QString &link) {
  const QString page = link.section(QLatin1Char('#'), 0, 0);
  const QString anchor = link.section(QLatin1Char('#'), 1);
  if (!QFile::exists(QDir(kGuide).filePath(page)))
    return link + QStringLiteral(": no such file");
  if (anchor.isEmpty())
    return QString();
  const QString id = QStringLiteral("id=\"%1\"").arg(anchor);
  return ReadGuideFile(page).contains(id) ? QString()
                                          : link + QStringLiteral(": no anchor");
}

// Takes the URLs QDesktopServices::openUrl would hand to the desktop.
class UrlCatcher : public QObject {
  Q_OBJECT

public:
  QList<QUrl> urls;

public slots:
  void Open(const QUrl &url) { urls.append(url); }
};

} // namespace

TEST(HelpGuideTest, PageSectionsAndLinksLeadToAnchors) {
  QStringList links;
  for (int kind : {CSorvanBaseView::BasePage, CSorvanBaseView::RecordsPage,
                   CSorvanBaseView::BarChartPage, CSorvanBaseView::PieChartPage,
                   CSorvanBaseView::BudgetPage})
    links.append(GuideSection(kind));
  const QRegularExpression reference(
      QStringLiteral("(?:href|src)=\"([^\":]+)\""));
  const QStringList pages =
      QDir(kGuide).entryList({QStringLiteral("*.html")}, QDir::Files);
  ASSERT_GE(pages.size(), 10) << "no guide in " << kGuide.toStdString();
  for (const QString &page : pages)
    for (const auto &match : reference.globalMatch(ReadGuideFile(page)))
      links.append(match.captured(1));

  QStringList faults;
  for (const QString &link : links)
    if (const QString fault = LinkFault(link); !fault.isEmpty())
      faults.append(fault);
  EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
}

TEST(HelpGuideTest, OpensTheFirstGuideFoundOrSaysWhyNot) {
  QTemporaryDir empty;
  QTemporaryDir guide;
  QFile index(QDir(guide.path()).filePath(QStringLiteral("index.html")));
  ASSERT_TRUE(index.open(QIODevice::WriteOnly));
  index.close();
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
  ScriptedPrompt prompt;
  ScopedPrompt scoped(prompt);

  EXPECT_TRUE(OpenGuide(CSorvanBaseView::BudgetPage,
                        {empty.path(), guide.path()}));
  QUrl expected =
      QUrl::fromLocalFile(QDir(guide.path()).filePath(QStringLiteral("budget.html")));
  expected.setFragment(QStringLiteral("budget"));
  EXPECT_EQ(catcher.urls, QList<QUrl>{expected});

  EXPECT_FALSE(OpenGuide(CSorvanBaseView::RecordsPage, {empty.path()}));
  EXPECT_TRUE(prompt.Last().startsWith(QStringLiteral("找不到使用说明")));
  EXPECT_TRUE(prompt.Last().contains(empty.path()));
  EXPECT_EQ(catcher.urls.size(), 1);
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

#include "help_guide_test.moc"
