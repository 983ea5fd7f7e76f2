// The proportion pie chart page.
#include "analysis/ui/pie_chart_view.h"

#include "analysis/chart_colours.h"
#include "analysis/chart_texts.h"
#include "analysis/ui/chart_page_menu.h"
#include "analysis/ui/chart_set_up_source.h"
#include "analysis/ui/pie_chart_widget.h"
#include "base/prompt.h"
#include "document/account_file.h"
#include "print/chart_print_job.h"
#include "window/print_scope.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>

#include <new>

namespace {

// The pie page's hint while no column is expanded; with 即时更新 off the
// ticks wait for 执行筛选, which the hint names.
const char kPieHint[] =
    "在左侧饼图分析中展开一列以查看比例（即时更新关闭时，再点“执行筛选”）";

} // namespace

CSorvanPieChartView::CSorvanPieChartView(DocumentWindow *window, QWidget *parent)
    : CSorvanBaseView(window, parent) {
  setAccessibleName(QStringLiteral("饼图分析"));
  InitialUpdate();
}

CSorvanPieChartView::~CSorvanPieChartView() = default;

unsigned CSorvanPieChartView::PageHintBits() const { return HINT_PIE_SERIES; }

void CSorvanPieChartView::InitialUpdate() {
  try {
    chart_ = new PieChartWidget(QStringLiteral("比例查看"), this);
  } catch (const std::bad_alloc &) {
    ShowMessage(QStringLiteral("Unable to create the chart control"));
    return;
  }
  chart_->setGeometry(0, 0, width(), height());
  chart_->SetBackgroundColour(palette().color(QPalette::Button));
  menu_ = MakeChartPageMenu(this, [this] { OnSaveImage(); });
}

void CSorvanPieChartView::Refresh() {
  CSorvanBaseView::Refresh();
  Recompute();
}

void CSorvanPieChartView::OnRefreshCommand() { Recompute(); }

void CSorvanPieChartView::Recompute() {
  if (!chart_)
    return;
  while (chart_->SliceCount() > 0)
    chart_->RemoveSlice(chart_->SliceCount() - 1);
  series_ = PieSeries();
  AccountFile *file = File();
  if (file && file->Session()) {
    const ChartSetUp setUp = PieChartSetUp(Window());
    QString scope;
    if (ChartScopeCondition(setUp, scope))
      series_ = BuildPieSeries(*file->Session(), file->Columns(), setUp.sumField,
                               scope, setUp.expanded, setUp.side);
  }
  for (int i = 0; i < series_.Size(); ++i) {
    const QString text = PieSliceName(series_.labels[i], series_.sums[i]);
    chart_->AddSlice(text, text, PieSliceArgb(i), series_.sums[i]);
  }
  // Without an expanded column there is nothing to share out: say how to
  // get a pie instead of showing a blank page.
  chart_->SetEmptyText(file && PieChartSetUp(Window()).expanded.isEmpty()
                           ? QString::fromUtf8(kPieHint)
                           : QString());
  emit recomputed();
}

void CSorvanPieChartView::resizeEvent(QResizeEvent *event) {
  CSorvanBaseView::resizeEvent(event);
  if (chart_)
    chart_->setGeometry(0, 0, event->size().width(), event->size().height());
}

ChartPainter CSorvanPieChartView::ImagePainter() const {
  if (!chart_)
    return {};
  const QPointer<PieChartWidget> chart = chart_;
  return [chart](QPainter &painter, const QSize &size) {
    if (chart)
      chart->Paint(painter, QRect(QPoint(0, 0), size));
  };
}

QSize CSorvanPieChartView::ImageSize() const {
  return chart_ ? chart_->size() : QSize();
}

void CSorvanPieChartView::OnSaveImage() {
  if (chart_)
    AskAndSaveChartImage(this, ImagePainter(), ImageSize(),
                         File() ? File()->Path() : QString());
}

void CSorvanPieChartView::contextMenuEvent(QContextMenuEvent *event) {
  if (!menu_)
    return CSorvanBaseView::contextMenuEvent(event);
  menu_->popup(event->globalPos());
  event->accept();
}

QString CSorvanPieChartView::NothingToPrint() const {
  if (!chart_ || chart_->EmptyText().isEmpty())
    return QString();
  return QStringLiteral("饼图中还没有比例，没有可打印的内容。\r\n") + chart_->EmptyText();
}

std::unique_ptr<PrintJob> CSorvanPieChartView::MakePrintJob(bool) const {
  if (!chart_ || !Window())
    return nullptr;
  const ChartSetUp setUp = PieChartSetUp(Window());
  return std::make_unique<PieChartPrintJob>(
      chart_->Drawing(), ScopeText(*Window(), setUp.groupScope == SCOPE_ONLY,
                                   setUp.filterScope == SCOPE_ONLY));
}
