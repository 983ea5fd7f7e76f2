// Building a document window and passing its file's changes on.
#include "app/child_frame.h"

#include "analysis/ui/bar_chart_view.h"
#include "analysis/ui/budget_view.h"
#include "analysis/ui/chart_set_up_source.h"
#include "analysis/ui/pie_chart_view.h"
#include "analysis/ui/sorvan_bar_setup_pane.h"
#include "analysis/ui/sorvan_pie_setup_pane.h"
#include "app/sorvanel_doc.h"
#include "app/sorvanel_view.h"
#include "document/file_main_show_text.h"
#include "groups/group_where.h"
#include "groups/ui/pane_filter_grid.h"
#include "groups/ui/show_filter_pane.h"
#include "groups/ui/sorvan_group_pane.h"
#include "records/ui/grid_commands.h"
#include "records/ui/sorvan_grid_view.h"
#include "recurring/ui/recurring_manager_dialog.h"
#include "window/page_commands.h"
#include "window/page_printing.h"
#include "window/print_scope.h"
#include "window/sorvan_base_view.h"

#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QToolBox>
#include <QVBoxLayout>

CChildFrame::CChildFrame(CSorvanelDoc &doc, QWidget *parent)
    : QWidget(parent), doc_(doc) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setChildrenCollapsible(false);

  folders_ = new QToolBox(splitter_);
  folders_->setObjectName(QStringLiteral("FolderBar"));
  folders_->setMinimumWidth(200);

  auto *right = new QWidget(splitter_);
  caption_ = new QLabel(right);
  caption_->setObjectName(QStringLiteral("CaptionBar"));
  caption_->setTextFormat(Qt::PlainText);
  caption_->setFixedHeight(28);
  caption_->setIndent(8);
  caption_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont font = caption_->font();
  font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                    QStringLiteral("Noto Serif CJK SC"),
                    QStringLiteral("Noto Sans CJK SC")});
  font.setPixelSize(14);
  caption_->setFont(font);
  view_ = new CSorvanelView(right);
  auto *rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->setSpacing(0);
  rightLayout->addWidget(caption_);
  rightLayout->addWidget(view_, 1);

  splitter_->addWidget(folders_);
  splitter_->addWidget(right);
  splitter_->setStretchFactor(1, 1);
  splitter_->setSizes({270, 900});

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter_);

  BuildPanes();
  BuildPages();
  dispatcher_.SetCaption([this] { UpdateCaption(); });
  connect(view_, &CSorvanelView::PageSelected, this,
          &CChildFrame::OnPageSelected);

  doc_.File().AddListener(this);
}

CChildFrame::~CChildFrame() { doc_.File().RemoveListener(this); }

void CChildFrame::BuildPanes() {
  groupPane_ = new CSorvanGroupPane(this, folders_);
  filterPane_ = new CShowFilterPane(this, folders_);
  pieSetUp_ = new CSorvanPieSetUpPane(this, folders_);
  barSetUp_ = new CSorvanBarSetUpPane(this, folders_);
  folders_->addItem(groupPane_, QStringLiteral("分组"));
  folders_->addItem(filterPane_, QStringLiteral("筛选设置"));
  folders_->addItem(pieSetUp_, QStringLiteral("饼图分析"));
  folders_->addItem(barSetUp_, QStringLiteral("柱图分析"));
  folders_->setCurrentIndex(kGroupFolder);
  // The folder bar wraps each pane in a scroll area of its own, which
  // takes the focus on Tab without showing it; the pane's own controls do.
  for (QScrollArea *wrapper : folders_->findChildren<QScrollArea *>())
    wrapper->setFocusPolicy(Qt::NoFocus);
  // Rebuilt by their bits, in this order, before any page hears of the
  // change.
  dispatcher_.AddPane(HINT_GROUPS,
                      [this] { groupPane_->OnChangeNotify(HINT_GROUPS); });
  // Ticks made in another window on the same file arrive as hint 7: the
  // tree then shows them without being rebuilt.
  dispatcher_.AddPane(HINT_RECORDS,
                      [this] { groupPane_->OnChangeNotify(HINT_RECORDS); });
  dispatcher_.AddPane(HINT_FILTERS,
                      [this] { filterPane_->OnChangeNotify(HINT_FILTERS); });
  dispatcher_.AddPane(HINT_BAR_SETTINGS,
                      [this] { barSetUp_->OnChangeNotify(HINT_BAR_SETTINGS); });
  dispatcher_.AddPane(HINT_PIE_SETTINGS,
                      [this] { pieSetUp_->OnChangeNotify(HINT_PIE_SETTINGS); });
  connect(groupPane_, &CSorvanGroupPane::ActiveGroupCaptionChanged, this,
          &CChildFrame::Changed);
}

void CChildFrame::BuildPages() {
  const QStyle *style = this->style();
  gridPage_ = new CSorvanGridView(this, view_);
  connect(gridPage_, &CSorvanGridView::makeRecurringRequested, this,
          [this](int key, int groupId) {
            MakeRecurringFromRecord(doc_.File(), key, groupId, this);
          });
  view_->AddPage(gridPage_, CSorvanBaseView::RecordsPage, QStringLiteral("表格"),
                 style->standardIcon(QStyle::SP_FileDialogDetailedView));
  piePage_ = new CSorvanPieChartView(this, view_);
  view_->AddPage(piePage_, CSorvanBaseView::PieChartPage, QStringLiteral("饼图分析"),
                 style->standardIcon(QStyle::SP_DriveCDIcon));
  barPage_ = new CSorvanBarChartView(this, view_);
  view_->AddPage(barPage_, CSorvanBaseView::BarChartPage, QStringLiteral("柱图分析"),
                 style->standardIcon(QStyle::SP_FileDialogListView));
  budgetPage_ = new CSorvanBudgetView(this, view_);
  view_->AddPage(budgetPage_, CSorvanBaseView::BudgetPage, QStringLiteral("预算"),
                 style->standardIcon(QStyle::SP_FileDialogInfoView));
  connect(budgetPage_, &CSorvanBudgetView::statusNote, this,
          &CChildFrame::StatusNote);
  // Every page hears every hint and reacts to its own bits: records, pie,
  // bar, budget (PageHint adds the budget's bit to a change of records).
  for (QWidget *page : {view_->PageOfKind(CSorvanBaseView::RecordsPage), view_->PageOfKind(CSorvanBaseView::PieChartPage),
                        view_->PageOfKind(CSorvanBaseView::BarChartPage), view_->PageOfKind(CSorvanBaseView::BudgetPage)}) {
    auto *basePage = qobject_cast<CSorvanBaseView *>(page);
    if (!basePage)
      continue;
    dispatcher_.AddPage([this, basePage](unsigned hint) {
      basePage->OnChangeNotify(doc_.File(), PageHint(hint));
    });
    connect(basePage, &CSorvanBaseView::summaryChanged, this,
            &CChildFrame::Changed);
  }
}

namespace {

// The records page's command for each command of the main window.
int RecordsCommand(int command) {
  switch (command) {
  case PC_UNDO:
    return ID_EDIT_UNDO;
  case PC_REDO:
    return ID_EDIT_REDO;
  case PC_CUT:
    return ID_EDIT_CUT;
  case PC_COPY:
    return ID_EDIT_COPY;
  case PC_PASTE:
    return ID_EDIT_PASTE;
  case PC_DELETE:
    return ID_EDIT_DELETE;
  case PC_FIND:
    return ID_EDIT_FIND;
  case PC_REFRESH:
    return ID_GRID_REFRESH;
  }
  return 0;
}

} // namespace

void CChildFrame::RunPageCommand(int command) {
  QWidget *page = view_->ActivePage();
  if (page == gridPage_) {
    gridPage_->RunCommand(RecordsCommand(command));
    return;
  }
  if (command != PC_REFRESH)
    return;
  if (page == barPage_)
    barPage_->OnRefreshCommand();
  else if (page == piePage_)
    piePage_->OnRefreshCommand();
  else if (page == budgetPage_)
    budgetPage_->Refresh();
}

void CChildFrame::RunPrintCommand(int command, QPrinter &printer) {
  auto *page = qobject_cast<CSorvanBaseView *>(view_->ActivePage());
  if (!page || !page->CanPrint())
    return;
  if (command == PC_PRINT_SETUP)
    RunPageSetup(this, printer);
  else if (command == PC_PRINT)
    RunPrint(*page, printer);
  else if (command == PC_PRINT_PREVIEW)
    RunPrintPreview(*page, printer);
}

bool CChildFrame::CanRunPageCommand(int command) const {
  if (command == PC_PRINT_SETUP || command == PC_PRINT ||
      command == PC_PRINT_PREVIEW) {
    auto *page = qobject_cast<CSorvanBaseView *>(view_->ActivePage());
    return page && page->CanPrint();
  }
  if (view_->ActivePage() == gridPage_)
    return gridPage_->IsCommandEnabled(RecordsCommand(command));
  return command == PC_REFRESH;
}

bool CChildFrame::RecordsPageActive() const {
  return view_->ActivePage() == gridPage_;
}

AccountFile *CChildFrame::File() const { return &doc_.File(); }

QList<int> CChildFrame::ActiveGroupIds() const {
  return groupPane_->ActiveGroupIds();
}

bool CChildFrame::FilterWhere(QString &where) const {
  return filterPane_->GetFilterWhere(where);
}

bool CChildFrame::ReadChartSetUp(ChartKind kind, ChartSetUp &setUp) const {
  return ReadSetUpPanes(barSetUp_, pieSetUp_, kind, setUp);
}

void CChildFrame::ShowRecordsNarrowedTo(
    const QList<FilterCondition> &conditions) {
  FilterSet set;
  set.conditions = conditions;
  for (const FilterCondition &kept : filterPane_->FilterGrid()->GridToConditions())
    set.Add(kept);
  filterPane_->ApplyTemplate(set);
  view_->SelectPageKind(CSorvanBaseView::RecordsPage);
  folders_->setCurrentIndex(kFilterFolder);
}

QString CChildFrame::ScopeWhere() const { return WindowScopeWhere(*this); }

QString CChildFrame::FilterNote() const {
  const QString problem = filterPane_->FilterProblem();
  return problem.isEmpty() ? QString() : QStringLiteral("筛选条件无效：") + problem;
}

QString CChildFrame::ActiveGroupCaption() const {
  return groupPane_->ActiveGroupCaption();
}

QString CChildFrame::SummaryText() const {
  QString text;
  auto *page = qobject_cast<CSorvanBaseView *>(view_->ActivePage());
  if (!page || !page->GetSummaryText(text))
    return QString();
  return text;
}

QWidget *CChildFrame::ActivePage() const { return view_->ActivePage(); }

void CChildFrame::EndEdit() { gridPage_->Grid().EndEdit(); }

void CChildFrame::Notify(AccountFile &, unsigned hint) {
  dispatcher_.Dispatch(hint);
  emit Changed();
}

void CChildFrame::UpdateCaption() {
  if (!doc_.File().IsOpen()) {
    caption_->clear();
    return;
  }
  caption_->setText(ComposeMainShowText(doc_.File(), ScopeWhere()));
}

void CChildFrame::OnPageSelected(QWidget *, int kind) {
  switch (kind) {
  case CSorvanBaseView::RecordsPage:
    if (folders_->currentIndex() != kGroupFolder &&
        folders_->currentIndex() != kFilterFolder)
      folders_->setCurrentIndex(kGroupFolder);
    break;
  case CSorvanBaseView::BarChartPage:
    folders_->setCurrentIndex(kBarFolder);
    break;
  case CSorvanBaseView::PieChartPage:
    folders_->setCurrentIndex(kPieFolder);
    break;
  }
}
