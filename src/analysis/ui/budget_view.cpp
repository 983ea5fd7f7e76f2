// The budget page.
#include "analysis/ui/budget_view.h"

#include "analysis/budget_store.h"
#include "analysis/chart_set_up.h"
#include "analysis/ui/budget_chart_widget.h"
#include "analysis/ui/budget_editor.h"
#include "analysis/ui/budget_table_source.h"
#include "document/account_file.h"
#include "print/table_print_job.h"
#include "window/dialog_runner.h"
#include "window/document_window.h"
#include "window/print_scope.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *ArrowButton(Qt::ArrowType arrow, const QString &name,
                         QWidget *parent) {
  auto *button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAccessibleName(name);
  button->setToolTip(name);
  return button;
}

} // namespace

CSorvanBudgetView::CSorvanBudgetView(DocumentWindow *window, QWidget *parent)
    : CSorvanBaseView(window, parent), month_(CurrentMonth()) {
  setAccessibleName(QStringLiteral("预算"));
  QToolButton *before = ArrowButton(Qt::LeftArrow, QStringLiteral("上个月"), this);
  QToolButton *after = ArrowButton(Qt::RightArrow, QStringLiteral("下个月"), this);
  monthLabel_ = new QLabel(this);
  monthLabel_->setAlignment(Qt::AlignCenter);
  monthLabel_->setMinimumWidth(110);
  connect(before, &QToolButton::clicked, this, [this] { StepMonth(-1); });
  connect(after, &QToolButton::clicked, this, [this] { StepMonth(1); });
  auto *bar = new QHBoxLayout;
  bar->setContentsMargins(8, 4, 8, 4);
  bar->addStretch(1);
  bar->addWidget(before);
  bar->addWidget(monthLabel_);
  bar->addWidget(after);
  bar->addStretch(1);

  chart_ = new BudgetChartWidget(this);
  connect(chart_, &BudgetChartWidget::rowActivated, this,
          &CSorvanBudgetView::ShowRowRecords);
  auto *scroll = new QScrollArea(this);
  scroll->setWidget(chart_);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setFocusPolicy(Qt::NoFocus);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addLayout(bar);
  layout->addWidget(scroll, 1);

  menu_ = new QMenu(this);
  connect(menu_->addAction(QStringLiteral("设置预算…")), &QAction::triggered,
          this, &CSorvanBudgetView::OnEditBudget);

  if (AccountFile *file = File(); file && file->Session())
    watch_.Reset(*file->Session(), file->Columns());
  Recompute();
}

CSorvanBudgetView::~CSorvanBudgetView() = default;

unsigned CSorvanBudgetView::PageHintBits() const {
  return HINT_BUDGET | HINT_BUDGET_SUMS;
}

void CSorvanBudgetView::OnChangeNotify(AccountFile &file, unsigned hint) {
  CSorvanBaseView::OnChangeNotify(file, hint);
  if (!file.Session())
    return;
  if (hint == HINT_ALL || (hint & HINT_BUDGET)) {
    watch_.Reset(*file.Session(), file.Columns());
    return;
  }
  if (!(hint & HINT_BUDGET_SUMS))
    return;
  const QStringList notes = watch_.Look(*file.Session(), file.Columns());
  if (!notes.isEmpty())
    emit statusNote(notes.join(QStringLiteral("；")));
}

void CSorvanBudgetView::Refresh() {
  CSorvanBaseView::Refresh();
  Recompute();
}

void CSorvanBudgetView::StepMonth(int step) {
  month_ = YearMonth::FromIndex(month_.Index() + step);
  Recompute();
}

bool CSorvanBudgetView::ScopeWhere(QString &where) const {
  ChartSetUp setUp;
  setUp.groupScope = SCOPE_ONLY;
  setUp.filterScope = SCOPE_ONLY;
  if (const DocumentWindow *window = Window()) {
    setUp.groupWhere = GroupIdsWhere(window->ActiveGroupIds());
    setUp.filterOk = window->FilterWhere(setUp.filterWhere);
  }
  return ChartScopeCondition(setUp, where);
}

void CSorvanBudgetView::Recompute() {
  monthLabel_->setText(QStringLiteral("%1年%2月").arg(month_.year).arg(month_.month));
  monthLabel_->setAccessibleName(monthLabel_->text());
  budget_ = Budget();
  figures_ = BudgetMonth();
  figures_.month = month_;
  AccountFile *file = File();
  QString scope;
  if (!file || !file->Session()) {
    figures_.problem = QStringLiteral("没有打开的账簿文件");
  } else if (!ScopeWhere(scope)) {
    figures_.problem = QStringLiteral("筛选条件无效，无法统计预算");
  } else {
    budget_ = LoadBudget(*file->Session());
    figures_ = BuildBudgetMonth(*file->Session(), file->Columns(), budget_,
                                month_, scope);
    if (!budget_.IsSet())
      figures_.problem = QStringLiteral(
          "尚未设置预算：在此页面上单击右键，选择“设置预算…”");
  }
  chart_->SetFigures(figures_, Title());
}

QString CSorvanBudgetView::Title() const {
  // The page counts the records of its window's scope and says so; the
  // over-budget note counts every record and says that.
  QString title = QStringLiteral("%1年%2月预算").arg(month_.year).arg(month_.month);
  if (Window())
    title += QStringLiteral("　") + ScopeText(*Window(), true, true);
  return title;
}

bool CSorvanBudgetView::CanPrint() const {
  return figures_.problem.isEmpty() && File() != nullptr;
}

std::unique_ptr<PrintJob> CSorvanBudgetView::MakePrintJob(bool) const {
  if (!CanPrint())
    return nullptr;
  const ColumnList &columns = File()->Columns();
  const int position = columns.PositionOf(budget_.byField);
  auto job = std::make_unique<OwnTablePrintJob<BudgetTableSource>>(
      figures_, position >= 0 ? columns.Title(position) : budget_.byField);
  job->SetTitle(Title());
  return job;
}

void CSorvanBudgetView::OnEditBudget() {
  AccountFile *file = File();
  if (!file || !file->Session() || file->RefuseChange())
    return;
  BudgetEditor editor(*file, month_, this);
  if (CurrentDialogRunner().Run(editor))
    file->Notify(HINT_BUDGET);
}

void CSorvanBudgetView::ShowRowRecords(int row) {
  AccountFile *file = File();
  if (!file || !Window() || row < 0 || row >= chart_->RowCount())
    return;
  const QString option = row == 0 ? QString() : chart_->Row(row).option;
  const QList<FilterCondition> conditions =
      BudgetLineConditions(file->Columns(), budget_, figures_, option);
  if (!conditions.isEmpty())
    Window()->ShowRecordsNarrowedTo(conditions);
}

void CSorvanBudgetView::contextMenuEvent(QContextMenuEvent *event) {
  menu_->popup(event->globalPos());
  event->accept();
}
