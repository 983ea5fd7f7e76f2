// Start-up settings, the recent-file list, the start-up dialog and the
// new-file wizard, each on real files and settings of the test's own.
#include "app/new_file_rules.h"
#include "app/new_file_wizard.h"
#include "app/startup_settings.h"
#include "app/startup_wizard.h"
#include "app_test_env.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QTreeWidget>

namespace {

class StartupTest : public AppTest {
protected:
  QString Touch(const QString &relative) {
    const QString path = dir_.filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    return path;
  }

  static QStringList Rows(const QTreeWidget *list) {
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      rows.append(list->topLevelItem(i)->text(0));
    return rows;
  }
};

TEST_F(StartupTest, DefaultFileIsKeptPerProgramFolder) {
  const QString file = Touch(QStringLiteral("a.fz"));
  StartupSettings first(QStringLiteral("/opt/one/lib"));
  StartupSettings second(QStringLiteral("/opt/two"));
  EXPECT_EQ(first.DefaultFilePath(), QString());
  EXPECT_EQ(first.OpenDefaultDirect(), 0);
  EXPECT_TRUE(first.WriteDefaultFilePath(file));
  EXPECT_EQ(first.DefaultFilePath(), file);
  EXPECT_EQ(second.DefaultFilePath(), QString());
  // The folder is one entry however many "/" it holds.
  QSettings settings(QStringLiteral("桌面账本应用程序"), QStringLiteral("Sorvanel"));
  settings.beginGroup(QStringLiteral("Sorvanel"));
  EXPECT_EQ(settings.childGroups(), QStringList());
  EXPECT_TRUE(settings.childKeys().contains(first.DefaultFileEntry()));

  EXPECT_FALSE(first.WriteDefaultFilePath(dir_.filePath("missing.fz")));
  EXPECT_FALSE(first.WriteDefaultFilePath(QString()));
  EXPECT_EQ(first.DefaultFilePath(), file);
  EXPECT_EQ(StartupSettings(QString()).DefaultFileEntry(),
            QStringLiteral("DefaultFilePath"));
  first.WriteOpenDefaultDirect(1);
  EXPECT_EQ(second.OpenDefaultDirect(), 1);
}

TEST_F(StartupTest, RecentFilesAreCanonicalUniqueAndFour) {
  QStringList files;
  for (int i = 0; i < 5; ++i)
    files.append(Touch(QStringLiteral("f%1.fz").arg(i)));
  QFile::link(files[0], dir_.filePath("link.fz"));
  {
    RecentFileList recent;
    EXPECT_EQ(recent.Entries(), QStringList(4, QString()));
    for (const QString &file : files)
      recent.Add(file);
    recent.Add(dir_.filePath("sub/../link.fz"));
  }
  RecentFileList reread;
  const QStringList entries = reread.Entries();
  ASSERT_EQ(entries.size(), 4);
  EXPECT_EQ(entries[0], QFileInfo(files[0]).canonicalFilePath());
  EXPECT_EQ(entries[1], QFileInfo(files[4]).canonicalFilePath());
  EXPECT_EQ(entries[3], QFileInfo(files[2]).canonicalFilePath());
  reread.Remove(files[4]);
  EXPECT_EQ(reread.Entries()[1], QFileInfo(files[3]).canonicalFilePath());
  EXPECT_EQ(reread.Entries()[3], QString());
}

TEST_F(StartupTest, StartupDialogListsDefaultFirstAndChecksTheChoice) {
  RecentFileList recent;
  EXPECT_TRUE(recent.Entries().join(QString()).isEmpty());
  {
    // First run: four empty rows, none chosen; 打开 asks which file to open
    // rather than refusing.
    CStartupWizard wizard(QString(), recent, nullptr);
    EXPECT_EQ(Rows(wizard.PathList()), QStringList(4, QString()));
    EXPECT_EQ(wizard.PathList()->currentItem(), nullptr);
    const QString chosen = QFileInfo(Touch("chosen.fz")).canonicalFilePath();
    runner_.files = {chosen};
    wizard.OpenSelected();
    EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
    EXPECT_EQ(wizard.Path(), chosen);
  }
  const QString a = QFileInfo(Touch("a.fz")).canonicalFilePath();
  const QString b = QFileInfo(Touch("b.fz")).canonicalFilePath();
  recent.Add(a);
  recent.Add(b);
  {
    // The default file comes first and is not listed twice.
    CStartupWizard wizard(a, recent, nullptr);
    EXPECT_EQ(Rows(wizard.PathList()), (QStringList{a, b, QString(), QString()}));
    // Ticked as an assistive tool does it.
    QAccessible::queryAccessibleInterface(wizard.OpenDirectBox())
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::toggleAction());
    wizard.OpenSelected();
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
    EXPECT_EQ(wizard.Path(), a);
    EXPECT_EQ(wizard.OpenDirect(), 1);
  }
  // A file gone from disk leaves the list and the recent files.
  QFile::remove(b);
  CStartupWizard wizard(QString(), recent, nullptr);
  wizard.PathList()->setCurrentItem(wizard.PathList()->topLevelItem(0));
  wizard.OpenSelected();
  EXPECT_EQ(prompt_.Last(), QStringLiteral("文件不存在\r\n请重新选择！"));
  EXPECT_EQ(wizard.result(), QDialog::Rejected);
  EXPECT_EQ(wizard.Path(), QString());
  EXPECT_FALSE(Rows(wizard.PathList()).contains(b));
  EXPECT_FALSE(RecentFileList().Entries().contains(b));
}

TEST_F(StartupTest, StartupDialogNewAndOpenButtons) {
  RecentFileList recent;
  const QString made = Touch("new.fz");
  QString askedFolder = QStringLiteral("-");
  int calls = 0;
  CStartupWizard wizard(QString(), recent, [&](const QString &folder) {
    askedFolder = folder;
    return ++calls == 1 ? QString() : made;
  });
  wizard.CreateNew(); // the wizard was cancelled: the dialog stays
  EXPECT_EQ(wizard.result(), QDialog::Rejected);
  EXPECT_EQ(askedFolder, QString());
  wizard.CreateNew();
  EXPECT_EQ(wizard.result(), QDialog::Accepted);
  EXPECT_EQ(wizard.Path(), made);

  CStartupWizard open(QString(), recent, nullptr);
  runner_.files = {QString(), made};
  open.OpenExisting();
  EXPECT_EQ(open.result(), QDialog::Rejected);
  open.OpenExisting();
  EXPECT_EQ(open.result(), QDialog::Accepted);
  EXPECT_EQ(open.Path(), made);
}

TEST_F(StartupTest, TemplatesKeepTheirRealPaths) {
  const QString system = dir_.filePath("system");
  Touch("system/家庭.fz");
  const QString doubled = Touch("system/a.fz.fz");
  const QString inner = Touch("system/more.fz/inner.fz");
  Touch("system/.hidden/secret.fz");
  Touch("system/readme.txt");
  QList<TemplateEntry> entries = ListTemplates(system + "/");
  std::sort(entries.begin(), entries.end(),
            [](auto &l, auto &r) { return l.name < r.name; });
  ASSERT_EQ(entries.size(), 3);
  EXPECT_EQ(entries[0].name, QStringLiteral("a"));
  EXPECT_EQ(entries[0].path, doubled);
  EXPECT_EQ(entries[1].name, QStringLiteral("inner"));
  EXPECT_EQ(entries[1].path, inner);
  EXPECT_EQ(entries[2].name, QStringLiteral("家庭"));
  EXPECT_TRUE(ListTemplates(dir_.filePath("none")).isEmpty());
}

TEST_F(StartupTest, NewFilePathAddsTheExtensionByTheNameAlone) {
  EXPECT_EQ(NewFilePath("/data/", "2010"), QStringLiteral("/data/2010.fz"));
  EXPECT_EQ(NewFilePath("/data\\", "2010.bak"), QStringLiteral("/data/2010.bak"));
  EXPECT_EQ(NewFilePath("/home/me/My.Files", "2010"),
            QStringLiteral("/home/me/My.Files/2010.fz"));
  EXPECT_EQ(NewFilePath("/", "x"), QStringLiteral("/x.fz"));
  EXPECT_EQ(CheckWizardInput("", "/d", "/t").message, QStringLiteral("请指定文件名！"));
  EXPECT_EQ(CheckWizardInput("n", "", "/t").message,
            QStringLiteral("请指定文件存放位置！"));
  const QString folder = dir_.path();
  EXPECT_EQ(CheckWizardInput("n", folder, "").field, WizardField::Templates);
  EXPECT_TRUE(CheckWizardInput("n", folder, "/t").message.isEmpty());
  // A name that is a path, a folder that is not there or is a file: said
  // before the wizard closes, at the field that is wrong.
  EXPECT_EQ(CheckWizardInput("a/b", folder, "/t").field, WizardField::FileName);
  EXPECT_EQ(CheckWizardInput("..", folder, "/t").field, WizardField::FileName);
  EXPECT_EQ(CheckWizardInput(QString(300, u'账'), folder, "/t").message,
            QStringLiteral("文件名太长！"));
  EXPECT_EQ(CheckWizardInput("n", dir_.filePath("nowhere"), "/t").message,
            QStringLiteral("文件夹不存在：%1").arg(dir_.filePath("nowhere")));
  EXPECT_EQ(CheckWizardInput("n", Touch("plain"), "/t").field, WizardField::Folder);
}

TEST_F(StartupTest, WizardChecksSortsAndAsksBeforeOverwriting) {
  const QString system = dir_.filePath("system");
  const QString b = Touch("system/b.fz.fz");
  Touch("system/a.fz");
  CNewFileWizard wizard(QStringLiteral("我的账簿"), Folder(), system);
  QTreeWidget *list = wizard.TemplateList();
  ASSERT_EQ(list->topLevelItemCount(), 2);
  // Two clicks on the header bring the rows back to ascending order.
  list->sortItems(0, Qt::AscendingOrder);
  emit list->header()->sectionClicked(0);
  EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("b"));
  emit list->header()->sectionClicked(0);
  EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("a"));

  wizard.FileNameEdit()->clear();
  wizard.TryAccept();
  EXPECT_EQ(prompt_.Last(), QStringLiteral("请指定文件名！"));
  wizard.FileNameEdit()->setText(QStringLiteral("账"));
  wizard.FolderEdit()->clear();
  wizard.TryAccept();
  EXPECT_EQ(prompt_.Last(), QStringLiteral("请指定文件存放位置！"));
  wizard.FolderEdit()->setText(Folder());
  list->setCurrentItem(list->topLevelItem(1));
  Touch("账.fz");
  prompt_.QueueAnswer(1); // 取消
  wizard.TryAccept();
  EXPECT_EQ(prompt_.Last(), QStringLiteral("文件账已存在\r\n是否覆盖？"));
  EXPECT_EQ(wizard.result(), QDialog::Rejected);
  prompt_.QueueAnswer(0); // 覆盖
  wizard.TryAccept();
  EXPECT_EQ(wizard.result(), QDialog::Accepted);
  EXPECT_EQ(wizard.TemplatePath(), b);
  EXPECT_EQ(wizard.NewFilePath(), dir_.filePath("账.fz"));
}

} // namespace
