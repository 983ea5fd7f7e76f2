// The main window's commands, status panes and document tabs.
#include "app/main_frame.h"

#include "window/app_icons.h"
#include "app/child_frame.h"
#include "app/help_guide.h"
#include "window/dialog_runner.h"
#include "app/new_file_wizard.h"
#include "window/page_commands.h"
#include "app/program_paths.h"
#include "app/restore_backup_dlg.h"
#include "app/options/setup_prop_sheet.h"
#include "app/sorvanel_doc.h"
#include "app/startup_settings.h"
#include "app/startup_wizard.h"
#include "base/prompt.h"
#include "analysis/ui/year_report_dialog.h"
#include "exchange/ui/export_records_action.h"
#include "exchange/ui/import_dialog.h"
#include "exchange/ui/import_rules_dialog.h"
#include "groups/group_where.h"
#include "recurring/ui/due_watch.h"
#include "recurring/ui/recurring_manager_dialog.h"
#include "document/account_file.h"
#include "storage/template_files.h"
#include "base/version.h"
#include "window/sorvan_base_view.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QPrinter>
#include <QSettings>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>

#include <sqlite3.h>

namespace {

const char *const kLayoutGroup = "SorvansCommandBars";

// A document window's frame in the tabbed area. Closing it goes through the
// main window, which ends the edits and closes the document after its last
// window.
class DocumentSubWindow : public QMdiSubWindow {
public:
  DocumentSubWindow(CMainFrame &frame, CChildFrame *child) : frame_(frame) {
    setWidget(child);
    setAttribute(Qt::WA_DeleteOnClose, false);
  }
  CChildFrame *Child() const { return static_cast<CChildFrame *>(widget()); }

protected:
  void closeEvent(QCloseEvent *event) override {
    event->ignore();
    // Not inside the window's own event: the window may be destroyed.
    QPointer<DocumentSubWindow> self(this);
    QTimer::singleShot(0, &frame_, [this, self] {
      if (self)
        frame_.CloseWindow(Child());
    });
  }

private:
  CMainFrame &frame_;
};

// The name of a command: its text without the access key and what follows
// it ("打开(&O)..." → "打开").
QString PlainText(QString text) {
  const qsizetype paren = text.indexOf(QStringLiteral("(&"));
  if (paren < 0)
    return text;
  // "导入(&I)…" is "导入…", "打开(&O)..." is "打开".
  text.remove(paren, 4);
  if (text.endsWith(QStringLiteral("...")))
    text.chop(3);
  return text;
}

} // namespace

// Gives an action its keys back, or leaves them to the page while showing
// them in its text.
static void SetOwnKeys(QAction *action, bool own) {
  const auto keys = action->property("keys").value<QList<QKeySequence>>();
  const QString text = action->property("plainText").toString();
  if (own) {
    action->setShortcuts(keys);
    action->setText(text);
    return;
  }
  action->setShortcuts({});
  action->setText(keys.isEmpty()
                      ? text
                      : text + QLatin1Char('\t') +
                            keys.first().toString(QKeySequence::NativeText));
}

QString GroupPaneText(const QString &caption) {
  return QStringLiteral("<b><span style=\"color:#365f91\">当前活动分组："
                        "</span> <span>") +
         caption.toHtmlEscaped() + QStringLiteral("</span></b>");
}

// Shows html in a status pane. A screen reader reads the pane's name, so
// the name is the text shown (plain); what the pane is stays in its
// description. Both change only when the text does: the panes are updated
// on every idle tick.
void ShowPaneText(QLabel *pane, const QString &html, const QString &plain) {
  if (pane->text() == html)
    return;
  pane->setText(html);
  pane->setAccessibleName(plain);
}

CMainFrame::CMainFrame(StartupSettings &settings, RecentFileList &recent,
                       QWidget *parent)
    : QMainWindow(parent), settings_(settings), recent_(recent),
      mdi_(new QMdiArea(this)), documents_(recent) {
  setObjectName(QStringLiteral("MainFrame"));
  setWindowTitle(QStringLiteral("Sorvanel"));
  setWindowIcon(AppIcon(AppIconKind::Program));
  mdi_->setViewMode(QMdiArea::TabbedView);
  mdi_->setTabsClosable(true);
  mdi_->setTabsMovable(true);
  mdi_->setDocumentMode(true);
  setCentralWidget(mdi_);
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { UpdateUi(); });
  if (QTabBar *bar = mdi_->findChild<QTabBar *>())
    bar->installEventFilter(this);

  CreateStatusBar();
  CreateActions();
  CreateMenus();
  CreateToolBar();
  LoadStyleSheet();

  // The smallest window in which every side pane still shows its whole
  // toolbar, wrapped in the narrowest folder bar, above a few lines of its
  // tree or grid.
  setMinimumSize(720, 560);
  const std::unique_ptr<QSettings> stored = ProgramSettings();
  stored->beginGroup(QString::fromLatin1(kLayoutGroup));
  if (!restoreGeometry(stored->value(QStringLiteral("Geometry")).toByteArray())) {
    resize(1200, 780);
    setWindowState(Qt::WindowMaximized);
  }
  restoreState(stored->value(QStringLiteral("State")).toByteArray());
  stored->endGroup();

  // The status panes and the commands follow the state of the windows the
  // way an idle handler would.
  auto *idle = new QTimer(this);
  idle->setInterval(200);
  connect(idle, &QTimer::timeout, this, &CMainFrame::UpdateUi);
  idle->start();
  UpdateUi();
}

CMainFrame::~CMainFrame() { CloseAllDocuments(); }

void CMainFrame::CreateStatusBar() {
  groupPane_ = new QLabel(QStringLiteral("当前分组"), this);
  groupPane_->setObjectName(QStringLiteral("Pane103"));
  groupPane_->setTextFormat(Qt::RichText);
  groupPane_->setToolTip(QStringLiteral("当前活动分组"));
  groupPane_->setAccessibleDescription(QStringLiteral("当前活动分组"));
  summaryPane_ = new QLabel(QStringLiteral("小记"), this);
  summaryPane_->setObjectName(QStringLiteral("Pane104"));
  summaryPane_->setTextFormat(Qt::RichText);
  summaryPane_->setToolTip(QStringLiteral("当前选中单元格小记"));
  summaryPane_->setAccessibleDescription(QStringLiteral("当前选中单元格小记"));
  filterNotePane_ = new QLabel(this);
  filterNotePane_->setObjectName(QStringLiteral("FilterNote"));
  filterNotePane_->setAccessibleDescription(QStringLiteral("筛选条件"));
  filterNotePane_->setStyleSheet(QStringLiteral("color: #c00000"));
  filterNotePane_->hide();
  statusBar()->addWidget(filterNotePane_);
  statusBar()->addPermanentWidget(groupPane_);
  statusBar()->addPermanentWidget(summaryPane_);
  groupPane_->hide();
  summaryPane_->hide();
}

void CMainFrame::CreateActions() {
  auto add = [this](const QString &text, AppIconKind icon, bool hasIcon,
                    const QList<QKeySequence> &keys, auto slot) {
    auto *action = new QAction(text, this);
    if (hasIcon)
      action->setIcon(AppIcon(icon));
    action->setShortcuts(keys);
    action->setProperty("keys", QVariant::fromValue(keys));
    action->setProperty("plainText", text);
    action->setObjectName(PlainText(text));
    action->setStatusTip(PlainText(text));
    connect(action, &QAction::triggered, this, slot);
    addAction(action);
    actions_.append(action);
    return action;
  };
  const AppIconKind none = AppIconKind::Program;
  add(QStringLiteral("新建(&N)"), AppIconKind::New, true,
      {QKeySequence(Qt::CTRL | Qt::Key_N)}, [this] { OnNew(); });
  add(QStringLiteral("打开(&O)..."), AppIconKind::Open, true,
      {QKeySequence(Qt::CTRL | Qt::Key_O)}, [this] { OnOpen(); });
  add(QStringLiteral("关闭(&C)"), none, false, {}, [this] { OnClose(); });
  add(QStringLiteral("关闭全部(&W)"), none, false, {},
      [this] { CloseAllDocuments(); });
  add(QStringLiteral("保存(&S)"), AppIconKind::Save, true,
      {QKeySequence(Qt::CTRL | Qt::Key_S)}, [this] { OnSave(); });
  add(QStringLiteral("另存为(&A)..."), AppIconKind::SaveAs, true, {},
      [this] { OnSaveAs(); });
  add(QStringLiteral("导入(&I)…"), none, false, {}, [this] { OnImport(); });
  add(QStringLiteral("导入规则(&L)…"), none, false, {},
      [this] { OnImportRules(); });
  add(QStringLiteral("导出(&E)…"), none, false, {}, [this] { OnExport(); });
  add(QStringLiteral("导出报表(&T)…"), none, false, {}, [this] { OnExportReport(); });
  add(QStringLiteral("从备份恢复(&B)…"), none, false, {},
      [this] { OnRestoreBackup(); });
  add(QStringLiteral("复制文件路径(&H)"), none, false, {},
      [this] { OnCopyFilePath(); });
  add(QStringLiteral("打印设置(&R)..."), none, false, {},
      [this] { PrintCommand(PC_PRINT_SETUP); });
  add(QStringLiteral("打印(&P)..."), AppIconKind::Print, true,
      {QKeySequence(Qt::CTRL | Qt::Key_P)}, [this] { PrintCommand(PC_PRINT); });
  add(QStringLiteral("打印预览(&V)"), none, false, {},
      [this] { PrintCommand(PC_PRINT_PREVIEW); });
  add(QStringLiteral("退出(&X)"), none, false, {}, [this] { close(); });

  add(QStringLiteral("撤消(&U)"), AppIconKind::Undo, true,
      {QKeySequence(Qt::CTRL | Qt::Key_Z),
       QKeySequence(Qt::ALT | Qt::Key_Backspace)},
      [this] { PageCommand(PC_UNDO); });
  add(QStringLiteral("重做(&R)"), AppIconKind::Redo, true,
      {QKeySequence(Qt::CTRL | Qt::Key_Y)}, [this] { PageCommand(PC_REDO); });
  add(QStringLiteral("剪切(&T)"), AppIconKind::Cut, true,
      {QKeySequence(Qt::CTRL | Qt::Key_X),
       QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
      [this] { PageCommand(PC_CUT); });
  add(QStringLiteral("复制(&C)"), AppIconKind::Copy, true,
      {QKeySequence(Qt::CTRL | Qt::Key_C),
       QKeySequence(Qt::CTRL | Qt::Key_Insert)},
      [this] { PageCommand(PC_COPY); });
  add(QStringLiteral("粘贴(&P)"), AppIconKind::Paste, true,
      {QKeySequence(Qt::CTRL | Qt::Key_V),
       QKeySequence(Qt::SHIFT | Qt::Key_Insert)},
      [this] { PageCommand(PC_PASTE); });
  add(QStringLiteral("删除(&D)"), AppIconKind::Delete, true,
      {QKeySequence(Qt::Key_Delete)}, [this] { PageCommand(PC_DELETE); });
  add(QStringLiteral("查找(&F)"), AppIconKind::Find, true,
      {QKeySequence(Qt::CTRL | Qt::Key_F),
       QKeySequence(Qt::CTRL | Qt::Key_F3)},
      [this] { PageCommand(PC_FIND); });
  add(QStringLiteral("刷新(&S)"), AppIconKind::Refresh, true,
      {QKeySequence(Qt::Key_F5)}, [this] { PageCommand(PC_REFRESH); });
  add(QStringLiteral("定期记录(&M)…"), none, false, {},
      [this] { OnRecurring(); });
  add(QStringLiteral("选项(&O)..."), none, false, {}, [this] { OnOptions(); });

  QAction *toolbar = add(QStringLiteral("工具栏(&T)"), none, false, {}, [] {});
  toolbar->setCheckable(true);
  toolbar->setChecked(true);
  QAction *status =
      add(QStringLiteral("状态栏(&S)"), none, false, {}, [this](bool on) {
        statusBar()->setVisible(on);
      });
  status->setObjectName(QStringLiteral("状态栏"));
  status->setCheckable(true);
  status->setChecked(true);

  add(QStringLiteral("新建窗口(&N)"), none, false, {},
      [this] { OnNewWindow(); });
  add(QStringLiteral("层叠(&C)"), none, false, {}, [this] {
    mdi_->setViewMode(QMdiArea::SubWindowView);
    mdi_->cascadeSubWindows();
  });
  add(QStringLiteral("平铺(&T)"), none, false, {}, [this] {
    mdi_->setViewMode(QMdiArea::SubWindowView);
    mdi_->tileSubWindows();
  });
  add(QStringLiteral("排列图标(&A)"), none, false, {}, [this] {
    mdi_->setViewMode(QMdiArea::TabbedView);
    mdi_->setTabsClosable(true);
    mdi_->setTabsMovable(true);
    if (QTabBar *bar = mdi_->findChild<QTabBar *>())
      bar->installEventFilter(this);
  });
  add(QStringLiteral("关闭其它页"), none, false, {},
      [this] { OnCloseOthers(); });
  add(QStringLiteral("下一窗格"), none, false, {QKeySequence(Qt::Key_F6)},
      [this] { focusNextChild(); });
  add(QStringLiteral("上一窗格"), none, false,
      {QKeySequence(Qt::SHIFT | Qt::Key_F6)}, [this] { focusPreviousChild(); });
  add(QStringLiteral("使用说明(&H)"), none, false, {QKeySequence(Qt::Key_F1)},
      [this] { OnHelp(); });
  add(QStringLiteral("关于 Sorvanel(&A)..."), AppIconKind::About, true, {},
      [this] { OnAbout(); });
}

QAction *CMainFrame::Command(const QString &text) const {
  for (QAction *action : actions_)
    if (action->objectName() == text)
      return action;
  return nullptr;
}

void CMainFrame::CreateMenus() {
  QMenu *file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
  for (const char *name : {"新建", "打开", "关闭", "关闭全部"})
    file->addAction(Command(QString::fromUtf8(name)));
  file->addSeparator();
  file->addAction(Command(QStringLiteral("保存")));
  file->addAction(Command(QStringLiteral("另存为")));
  file->addAction(Command(QStringLiteral("从备份恢复…")));
  file->addSeparator();
  file->addAction(Command(QStringLiteral("导入…")));
  file->addAction(Command(QStringLiteral("导入规则…")));
  file->addAction(Command(QStringLiteral("导出…")));
  file->addAction(Command(QStringLiteral("导出报表…")));
  file->addAction(Command(QStringLiteral("复制文件路径")));
  file->addSeparator();
  for (const char *name : {"打印设置", "打印", "打印预览"})
    file->addAction(Command(QString::fromUtf8(name)));
  file->addSeparator();
  recentMenu_ = file->addMenu(QStringLiteral("最近的文件"));
  file->addSeparator();
  file->addAction(Command(QStringLiteral("退出")));

  editMenu_ = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
  for (const char *name : {"撤消", "重做"})
    editMenu_->addAction(Command(QString::fromUtf8(name)));
  editMenu_->addSeparator();
  for (const char *name : {"剪切", "复制", "粘贴", "删除"})
    editMenu_->addAction(Command(QString::fromUtf8(name)));
  editMenu_->addSeparator();
  editMenu_->addAction(Command(QStringLiteral("查找")));
  editMenu_->addSeparator();
  editMenu_->addAction(Command(QStringLiteral("定期记录…")));
  editMenu_->addAction(Command(QStringLiteral("选项")));

  QMenu *view = menuBar()->addMenu(QStringLiteral("视图(&V)"));
  view->addAction(Command(QStringLiteral("工具栏")));
  view->addAction(Command(QStringLiteral("状态栏")));
  view->addSeparator();
  view->addAction(Command(QStringLiteral("刷新")));

  windowMenu_ = menuBar()->addMenu(QStringLiteral("窗口(&W)"));
  for (const char *name : {"新建窗口", "层叠", "平铺", "排列图标"})
    windowMenu_->addAction(Command(QString::fromUtf8(name)));
  windowMenu_->addSeparator();
  windowMenu_->addAction(Command(QStringLiteral("关闭其它页")));

  QMenu *help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
  help->addAction(Command(QStringLiteral("使用说明")));
  help->addSeparator();
  help->addAction(Command(QStringLiteral("关于 Sorvanel")));
  UpdateRecentMenu();
}

void CMainFrame::CreateToolBar() {
  QToolBar *bar = addToolBar(QStringLiteral("标准"));
  bar->setObjectName(QStringLiteral("标准"));
  bar->setIconSize(QSize(32, 32));
  const char *const names[] = {"新建", "打开", "另存为", nullptr, "剪切",
                               "复制", "粘贴", "删除", nullptr, "撤消",
                               "重做", nullptr, "查找", "刷新", "打印",
                               nullptr, "关于 Sorvanel"};
  for (const char *name : names) {
    if (!name) {
      bar->addSeparator();
      continue;
    }
    bar->addAction(Command(QString::fromUtf8(name)));
  }
  QAction *toggle = Command(QStringLiteral("工具栏"));
  connect(toggle, &QAction::toggled, bar, &QToolBar::setVisible);
  connect(bar, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
}

void CMainFrame::LoadStyleSheet() {
  // Accents of our own for the caption bar and the folder headers; the
  // desktop's style and palette stay for everything else, so dark themes
  // work. Without the folder the program looks plain and works the same.
  QFile sheet(StylesFolder() + QStringLiteral("/sorvanel.qss"));
  if (sheet.open(QIODevice::ReadOnly))
    setStyleSheet(QString::fromUtf8(sheet.readAll()));
}

void CMainFrame::UpdateRecentMenu() {
  recentMenu_->clear();
  int number = 0;
  for (const QString &path : recent_.Entries()) {
    if (path.isEmpty())
      continue;
    ++number;
    QAction *action =
        recentMenu_->addAction(QStringLiteral("&%1 %2").arg(number).arg(path));
    connect(action, &QAction::triggered, this,
            [this, path] { OpenDocument(path); });
  }
  recentMenu_->setEnabled(number > 0);
}

CChildFrame *CMainFrame::ActiveChild() const {
  // While the main window is not active the area has no active window;
  // the most recently active one stands for it then.
  QMdiSubWindow *active = mdi_->activeSubWindow();
  if (!active)
    active = mdi_->currentSubWindow();
  if (!active) {
    const QList<QMdiSubWindow *> history =
        mdi_->subWindowList(QMdiArea::ActivationHistoryOrder);
    if (!history.isEmpty())
      active = history.last();
  }
  return active ? qobject_cast<CChildFrame *>(active->widget()) : nullptr;
}

QList<CChildFrame *> CMainFrame::Children() const {
  QList<CChildFrame *> children;
  for (QMdiSubWindow *window : mdi_->subWindowList())
    if (auto *child = qobject_cast<CChildFrame *>(window->widget()))
      children.append(child);
  return children;
}

QList<CSorvanelDoc *> CMainFrame::Documents() const {
  return documents_.All();
}

CSorvanelDoc *CMainFrame::DocumentOf(const QString &path) const {
  return documents_.Find(path);
}

CChildFrame *CMainFrame::AddWindow(CSorvanelDoc &doc, bool show) {
  auto *child = new CChildFrame(doc);
  auto *window = new DocumentSubWindow(*this, child);
  window->setWindowTitle(doc.Title());
  window->setWindowIcon(AppIcon(AppIconKind::Program));
  mdi_->addSubWindow(window);
  connect(child, &CChildFrame::Changed, this, &CMainFrame::UpdateUi);
  connect(child, &CChildFrame::StatusNote, this, [this](const QString &text) {
    statusBar()->showMessage(text, 15000);
  });
  connect(&doc, &CSorvanelDoc::PathChanged, window, [window, &doc] {
    window->setWindowTitle(doc.Title());
  });
  if (show)
    window->showMaximized();
  return child;
}

bool CMainFrame::OpenDocument(const QString &path) {
  // The window listens before the file opens, so the open's notification
  // builds its panes and pages.
  CChildFrame *child = nullptr;
  const OpenDocuments::Opened opened = documents_.Open(
      path, [&](CSorvanelDoc &doc) { child = AddWindow(doc, false); },
      [&](CSorvanelDoc &) { delete child->parentWidget(); });
  if (!opened.doc)
    return false;
  if (opened.wasOpen) {
    for (QMdiSubWindow *window : mdi_->subWindowList())
      if (auto *shown = qobject_cast<CChildFrame *>(window->widget());
          shown && &shown->Doc() == opened.doc) {
        mdi_->setActiveSubWindow(window);
        break;
      }
    return true;
  }
  QMdiSubWindow *window = qobject_cast<QMdiSubWindow *>(child->parentWidget());
  window->setWindowTitle(opened.doc->Title());
  window->setToolTip(opened.doc->Path());
  window->showMaximized();
  mdi_->setActiveSubWindow(window);
  UpdateRecentMenu();
  UpdateUi();
  // The document owns the watch of its due recurring records.
  auto *watch = new DueWatch(
      opened.doc->File(), this,
      [this](const QString &text) { statusBar()->showMessage(text); },
      opened.doc);
  watch->Start();
  return true;
}

bool CMainFrame::NewDocument() {
  if (Children().isEmpty())
    return StartupChoice();
  const QString made = MakeNewFile(FolderOfPath(settings_.DefaultFilePath()));
  return !made.isEmpty() && OpenDocument(made);
}

bool CMainFrame::StartupChoice() {
  QString path = settings_.DefaultFilePath();
  if (settings_.OpenDefaultDirect()) {
    if (OpenDocument(path))
      return true;
    settings_.WriteOpenDefaultDirect(0);
    path.clear();
  }
  CStartupWizard wizard(
      path, recent_, [this](const QString &folder) { return MakeNewFile(folder); },
      isVisible() ? this : nullptr);
  if (!CurrentDialogRunner().Run(wizard))
    return false;
  settings_.WriteOpenDefaultDirect(wizard.OpenDirect());
  if (wizard.OpenDirect())
    settings_.WriteDefaultFilePath(wizard.Path());
  return OpenDocument(wizard.Path());
}

QString CMainFrame::MakeNewFile(const QString &folder) {
  CNewFileWizard wizard(QStringLiteral("我的账簿"), folder,
                        systemFolder_.isEmpty() ? SystemFolder() : systemFolder_,
                        isVisible() ? this : nullptr);
  if (!CurrentDialogRunner().Run(wizard))
    return QString();
  if (!documents_.CreateFromTemplate(wizard.NewFilePath(),
                                    wizard.TemplatePath()))
    return QString();
  return wizard.NewFilePath();
}

void CMainFrame::CloseWindow(CChildFrame *child) {
  if (!child)
    return;
  CSorvanelDoc *doc = &child->Doc();
  int windows = 0;
  for (CChildFrame *other : Children())
    if (&other->Doc() == doc)
      ++windows;
  if (windows <= 1) {
    CloseDocument(doc);
    return;
  }
  child->EndEdit();
  delete child->parentWidget();
  UpdateUi();
}

void CMainFrame::CloseDocument(CSorvanelDoc *doc) {
  if (!doc)
    return;
  QList<QMdiSubWindow *> windows;
  for (QMdiSubWindow *window : mdi_->subWindowList())
    if (auto *child = qobject_cast<CChildFrame *>(window->widget());
        child && &child->Doc() == doc) {
      child->EndEdit();
      windows.append(window);
    }
  // The windows and their listeners go first; only then is the file
  // closed and compacted.
  for (QMdiSubWindow *window : windows)
    delete window;
  documents_.Close(doc);
  UpdateUi();
}

void CMainFrame::CloseAllDocuments() {
  while (!documents_.Empty())
    CloseDocument(documents_.All().last());
}

void CMainFrame::OnNew() { NewDocument(); }

void CMainFrame::OnOpen() {
  // Near the file being worked on, else near the default file.
  const CChildFrame *child = ActiveChild();
  const QString path = CurrentDialogRunner().ChooseFileToOpen(
      this, FolderOfPath(child ? child->Doc().Path() : settings_.DefaultFilePath()));
  if (!path.isEmpty())
    OpenDocument(path);
}

void CMainFrame::OnClose() {
  if (CChildFrame *child = ActiveChild())
    CloseDocument(&child->Doc());
}

void CMainFrame::OnSave() {
  if (CChildFrame *child = ActiveChild())
    child->Doc().Save();
}

void CMainFrame::OnSaveAs() {
  CChildFrame *child = ActiveChild();
  if (!child)
    return;
  const QString path =
      CurrentDialogRunner().ChooseSavePath(this, child->Doc().Path());
  if (!path.isEmpty())
    SaveActiveAs(path);
}

bool CMainFrame::SaveActiveAs(const QString &path) {
  CChildFrame *child = ActiveChild();
  if (!child)
    return false;
  CSorvanelDoc &doc = child->Doc();
  child->EndEdit();
  if (!documents_.SaveAs(doc, path))
    return false;
  UpdateRecentMenu();
  for (QMdiSubWindow *window : mdi_->subWindowList())
    if (auto *other = qobject_cast<CChildFrame *>(window->widget());
        other && &other->Doc() == &doc)
      window->setToolTip(doc.Path());
  UpdateUi();
  return true;
}

void CMainFrame::OnCloseOthers() {
  CChildFrame *child = ActiveChild();
  if (!child)
    return;
  CSorvanelDoc *keep = &child->Doc();
  for (CSorvanelDoc *doc : Documents())
    if (doc != keep)
      CloseDocument(doc);
}

void CMainFrame::OnNewWindow() {
  CChildFrame *child = ActiveChild();
  if (!child)
    return;
  CChildFrame *second = AddWindow(child->Doc(), true);
  second->parentWidget()->setToolTip(child->Doc().Path());
  // The new window builds its panes and pages from the file as it is.
  second->Notify(child->Doc().File(), 0xFFFF);
  mdi_->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(second->parentWidget()));
}

void CMainFrame::OnCopyFilePath() {
  if (CChildFrame *child = ActiveChild())
    QApplication::clipboard()->setText(child->Doc().Path());
}

void CMainFrame::OnRestoreBackup() {
  CChildFrame *child = ActiveChild();
  if (!child)
    return;
  const QString account = child->Doc().Path();
  CRestoreBackupDlg dialog(account, this);
  if (!CurrentDialogRunner().Run(dialog) || dialog.ChosenBackup().isEmpty())
    return;
  const QFileInfo info(account);
  const QString suggested = info.dir().filePath(
      info.completeBaseName() + QStringLiteral("-恢复.fz"));
  const QString target = CurrentDialogRunner().ChooseSavePath(this, suggested);
  if (target.isEmpty() || documents_.RefuseTarget(target))
    return;
  if (RestoreBackup(dialog.ChosenBackup(), target))
    OpenDocument(target);
}

void CMainFrame::OnImport() {
  CChildFrame *child = ActiveChild();
  if (!child)
    return;
  child->EndEdit();
  if (child->Doc().File().RefuseChange())
    return;
  const QList<int> groups = child->ActiveGroupIds();
  if (ImportDialog::Run(this, child->Doc().File(), groups.value(0, -1)) > 0)
    child->Doc().File().Notify(6);
}

void CMainFrame::OnImportRules() {
  CChildFrame *child = ActiveChild();
  if (!child)
    return;
  child->EndEdit();
  ImportRulesDialog dialog(child->Doc().File(), this);
  CurrentDialogRunner().Run(dialog);
}

void CMainFrame::OnExportReport() {
  CChildFrame *child = ActiveChild();
  if (!child)
    return;
  child->EndEdit();
  CYearReportDialog dialog(*child, this);
  CurrentDialogRunner().Run(dialog);
}

void CMainFrame::OnExport() {
  CChildFrame *child = ActiveChild();
  if (!child)
    return;
  child->EndEdit();
  // One WHERE text per active group, as the records page queries them.
  QString filter;
  if (!child->FilterWhere(filter))
    filter = NoRecordsWhere();
  QStringList scopes;
  for (int id : child->ActiveGroupIds())
    scopes.append(GroupFilterWhere(id, filter));
  AskAndExportRecords(this, child->Doc().File(), scopes);
}

void CMainFrame::OnRecurring() {
  CChildFrame *child = ActiveChild();
  if (!child)
    return;
  child->EndEdit();
  RecurringManagerDialog dialog(child->Doc().File(), this);
  CurrentDialogRunner().Run(dialog);
}

void CMainFrame::OnOptions() {
  CChildFrame *child = ActiveChild();
  if (!child)
    return;
  child->EndEdit();
  AccountFile &file = child->Doc().File();
  CSetUpPropSheet sheet(file, settings_, this);
  CurrentDialogRunner().Run(sheet);
  if (sheet.AnyApplied())
    ReloadAfterOptions(file);
}

void CMainFrame::OnAbout() {
  ShowMessage(QStringLiteral("Sorvanel 个人记账簿 %1\n账簿文件会实时保存。\n\n"
                             "Qt %2\nSQLite %3\n\n"
                             "本程序是自由软件，按 GNU 通用公共许可证"
                             "第 3 版或（由您选择）任何更新的版本发布。")
                  .arg(QStringLiteral(SORVANEL_VERSION),
                       QString::fromLatin1(qVersion()),
                       QString::fromLatin1(sqlite3_libversion())));
}

void CMainFrame::OnHelp() {
  // The section of the page in front; the guide's start without one.
  int kind = CSorvanBaseView::BasePage;
  if (CChildFrame *child = ActiveChild())
    if (auto *page = qobject_cast<CSorvanBaseView *>(child->ActivePage()))
      kind = page->GetPageKind();
  OpenGuide(kind);
}

void CMainFrame::PageCommand(int command) {
  if (CChildFrame *child = ActiveChild())
    child->RunPageCommand(command);
}

QPrinter &CMainFrame::Printer() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // Margins that every printer can print within, not the sheet's edge.
    printer_->setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
  }
  return *printer_;
}

void CMainFrame::PrintCommand(int command) {
  if (CChildFrame *child = ActiveChild())
    child->RunPrintCommand(command, Printer());
}

void CMainFrame::UpdateUi() {
  CChildFrame *child = ActiveChild();
  const int windows = int(Children().size());
  setWindowTitle(child ? child->Doc().Title() + QStringLiteral(" - Sorvanel")
                       : QStringLiteral("Sorvanel"));
  if (child) {
    const QString caption = child->ActiveGroupCaption();
    ShowPaneText(groupPane_, GroupPaneText(caption),
                 QStringLiteral("当前活动分组：") + caption);
    groupPane_->show();
  } else {
    groupPane_->hide();
  }
  const QString summary = child ? child->SummaryText() : QString();
  ShowPaneText(summaryPane_, summary.toHtmlEscaped(), summary);
  // A filter that cannot be built is said where the user looks for why the
  // pages are empty; the note goes with the fault. A pane of its own: a
  // command's status tip covers it only while the mouse is on the command.
  const QString note = child ? child->FilterNote() : QString();
  ShowPaneText(filterNotePane_, note.toHtmlEscaped(), note);
  filterNotePane_->setVisible(!note.isEmpty());
  summaryPane_->setVisible(!summary.isEmpty());

  const bool hasDoc = child != nullptr;
  for (const char *name : {"关闭", "关闭全部", "保存", "另存为", "复制文件路径", "从备份恢复…", "导入…", "导入规则…", "导出…", "导出报表…",
                           "新建窗口", "层叠", "平铺", "排列图标", "选项"})
    Command(QString::fromUtf8(name))->setEnabled(hasDoc);
  Command(QStringLiteral("关闭其它页"))->setEnabled(documents_.All().size() > 1);
  const std::pair<const char *, int> printCommands[] = {
      {"打印设置", PC_PRINT_SETUP}, {"打印", PC_PRINT}, {"打印预览", PC_PRINT_PREVIEW}};
  for (const auto &[name, command] : printCommands)
    Command(QString::fromUtf8(name))
        ->setEnabled(hasDoc && child->CanRunPageCommand(command));
  editMenu_->menuAction()->setVisible(hasDoc);
  windowMenu_->menuAction()->setVisible(hasDoc);
  const std::pair<const char *, int> pageCommands[] = {
      {"撤消", PC_UNDO},  {"重做", PC_REDO},   {"剪切", PC_CUT},
      {"复制", PC_COPY},  {"粘贴", PC_PASTE},  {"删除", PC_DELETE},
      {"查找", PC_FIND},  {"刷新", PC_REFRESH}};
  // While the records page shows, it answers the edit keys itself (also
  // inside its cell editor); the menu entries keep showing the keys. Two
  // actions with one key would block each other.
  const bool pageKeys = hasDoc && child->RecordsPageActive();
  for (const auto &[name, command] : pageCommands) {
    QAction *action = Command(QString::fromUtf8(name));
    action->setEnabled(hasDoc && child->CanRunPageCommand(command));
    SetOwnKeys(action, !pageKeys);
  }
  UpdateTabTips();
  (void)windows;
}

void CMainFrame::UpdateTabTips() {
  QTabBar *bar = mdi_->findChild<QTabBar *>();
  if (!bar)
    return;
  const QList<QMdiSubWindow *> windows = mdi_->subWindowList();
  for (int i = 0; i < bar->count() && i < windows.size(); ++i)
    bar->setTabToolTip(i, windows[i]->toolTip());
}

void CMainFrame::keyPressEvent(QKeyEvent *event) {
  for (const char *name : {"撤消", "重做"}) {
    QAction *action = Command(QString::fromUtf8(name));
    if (!action || !action->isEnabled())
      continue;
    const auto keys = action->property("keys").value<QList<QKeySequence>>();
    const QKeySequence pressed(event->keyCombination());
    if (keys.contains(pressed)) {
      action->trigger();
      event->accept();
      return;
    }
  }
  QMainWindow::keyPressEvent(event);
}

bool CMainFrame::eventFilter(QObject *watched, QEvent *event) {
  auto *bar = qobject_cast<QTabBar *>(watched);
  if (!bar || event->type() != QEvent::MouseButtonPress)
    return QMainWindow::eventFilter(watched, event);
  auto *mouse = static_cast<QMouseEvent *>(event);
  const Qt::MouseButton button = mouse->button();
  if (button != Qt::RightButton && button != Qt::MiddleButton)
    return QMainWindow::eventFilter(watched, event);
  const int index = bar->tabAt(mouse->position().toPoint());
  if (index >= 0) {
    bar->setCurrentIndex(index);
    if (CChildFrame *child = ActiveChild())
      if (QWidget *page = child->ActivePage())
        page->setFocus();
  }
  if (button == Qt::MiddleButton) {
    if (index >= 0)
      OnClose();
    return true;
  }
  ShowTabMenu(mouse->globalPosition().toPoint(), index >= 0);
  return true;
}

void CMainFrame::ShowTabMenu(const QPoint &globalPos, bool onTab) {
  QMenu menu(this);
  if (onTab) {
    menu.addAction(QStringLiteral("关闭此页"), this, &CMainFrame::OnClose);
    menu.addAction(Command(QStringLiteral("关闭其它页")));
    menu.addAction(QStringLiteral("关闭所有页"), this,
                   &CMainFrame::CloseAllDocuments);
    menu.addSeparator();
    menu.addAction(QStringLiteral("刷新"), this,
                   [this] { PageCommand(PC_REFRESH); });
    menu.addAction(Command(QStringLiteral("复制文件路径")));
  } else {
    menu.addAction(QStringLiteral("关闭当前页"), this, &CMainFrame::OnClose);
    menu.addAction(QStringLiteral("关闭所有页"), this,
                   &CMainFrame::CloseAllDocuments);
    menu.addAction(QStringLiteral("新建"), this, &CMainFrame::OnNew);
    menu.addAction(QStringLiteral("打开文件"), this, &CMainFrame::OnOpen);
  }
  menu.exec(globalPos);
}

void CMainFrame::closeEvent(QCloseEvent *event) {
  const std::unique_ptr<QSettings> stored = ProgramSettings();
  stored->beginGroup(QString::fromLatin1(kLayoutGroup));
  stored->setValue(QStringLiteral("Geometry"), saveGeometry());
  stored->setValue(QStringLiteral("State"), saveState());
  stored->endGroup();
  CloseAllDocuments();
  event->accept();
}
