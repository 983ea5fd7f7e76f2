// The monthly bar chart page.
#include "analysis/ui/bar_chart_view.h"

#include "analysis/chart_colours.h"
#include "analysis/chart_texts.h"
#include "analysis/ui/bar_chart_widget.h"
#include "analysis/ui/chart_page_menu.h"
#include "analysis/ui/chart_set_up_source.h"
#include "base/prompt.h"
#include "document/account_file.h"
#include "print/chart_print_job.h"
#include "window/print_scope.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>
#include <new>

namespace {

QColor ToColour(const ChartRgb &rgb) {
  return QColor(rgb.red, rgb.green, rgb.blue);
}

} // namespace

CSorvanBarChartView::CSorvanBarChartView(DocumentWindow *window, QWidget *parent)
    : CSorvanBaseView(window, parent) {
  setAccessibleName(QStringLiteral("柱图分析"));
  InitialUpdate();
}

CSorvanBarChartView::~CSorvanBarChartView() = default;

unsigned CSorvanBarChartView::PageHintBits() const { return HINT_BAR_SERIES; }

void CSorvanBarChartView::InitialUpdate() {
  try {
    chart_ = new BarChartWidget(this);
  } catch (const std::bad_alloc &) {
    ShowMessage(QStringLiteral("Unable to create the chart control"));
    return;
  }
  chart_->setGeometry(0, 0, width(), height());
  chart_->SetTitle(BarChartTitle(BarSeries()));
  chart_->SetBackgroundColour(ToColour(FromBgr(kBarBackgroundBgr)));
  chart_->SetTitleColour(ToColour(FromBgr(kBarTitleBgr)));
  menu_ = MakeChartPageMenu(this, [this] { OnSaveImage(); });
}

void CSorvanBarChartView::Refresh() {
  CSorvanBaseView::Refresh();
  Recompute();
}

void CSorvanBarChartView::OnRefreshCommand() { Recompute(); }

void CSorvanBarChartView::Recompute() {
  if (!chart_)
    return;
  chart_->RemoveAllBars();
  series_ = BarSeries();
  AccountFile *file = File();
  if (file && file->Session()) {
    const ChartSetUp setUp = BarChartSetUp(Window());
    QString scope;
    if (ChartScopeCondition(setUp, scope))
      series_ = BuildBarSeries(*file->Session(), file->Columns(), setUp.sumField,
                               scope, setUp.setUpCondition, setUp.side);
  }
  const QList<ChartRgb> fills = BarFillColours(series_.values);
  const QColor second = ToColour(FromBgr(kBarSecondBgr));
  for (int i = 0; i < series_.Size(); ++i)
    chart_->AddBar(series_.labels[i], ToColour(fills[i]), second,
                   series_.values[i]);
  chart_->SetTitle(BarChartTitle(series_));
  chart_->Redraw();
  emit recomputed();
}

void CSorvanBarChartView::resizeEvent(QResizeEvent *event) {
  CSorvanBaseView::resizeEvent(event);
  if (chart_)
    chart_->setGeometry(0, 0, event->size().width(), event->size().height());
}

ChartPainter CSorvanBarChartView::ImagePainter() const {
  if (!chart_)
    return {};
  const QPointer<BarChartWidget> chart = chart_;
  return [chart](QPainter &painter, const QSize &size) {
    if (!chart)
      return;
    const int widest = std::max(0, chart->ContentWidth() - size.width());
    const int scrollX =
        std::clamp(chart->horizontalScrollBar()->value(), 0, widest);
    chart->Paint(painter, QRect(QPoint(0, 0), size), scrollX);
  };
}

QSize CSorvanBarChartView::ImageSize() const {
  if (!chart_)
    return QSize();
  // Pictures wider than this are refused as too large.
  constexpr int kWidest = 20000;
  const int width = std::max(chart_->width(), chart_->ContentWidth());
  return QSize(std::min(width, kWidest), chart_->height());
}

void CSorvanBarChartView::OnSaveImage() {
  if (chart_)
    AskAndSaveChartImage(this, ImagePainter(), ImageSize(),
                         File() ? File()->Path() : QString());
}

void CSorvanBarChartView::contextMenuEvent(QContextMenuEvent *event) {
  if (!menu_)
    return CSorvanBaseView::contextMenuEvent(event);
  menu_->popup(event->globalPos());
  event->accept();
}

std::unique_ptr<PrintJob> CSorvanBarChartView::MakePrintJob(bool) const {
  if (!chart_ || !Window())
    return nullptr;
  const ChartSetUp setUp = BarChartSetUp(Window());
  return std::make_unique<BarChartPrintJob>(
      chart_->Drawing(), ScopeText(*Window(), setUp.groupScope == SCOPE_ONLY,
                                   setUp.filterScope == SCOPE_ONLY));
}
