// CSorvanBarChartView: the monthly bar chart page ("柱图分析") of an
// account file's window. It recomputes its bars when a change notification
// carries the bar chart bit (0x04) while it is showing, marks itself for
// reload otherwise, and reads what to sum and over which records from its
// window and the bar chart set-up pane. Its pop-up menu saves the chart as
// a picture ("保存图片…").
#pragma once

#include "analysis/bar_series.h"
#include "window/chart_image.h"
#include "window/sorvan_base_view.h"

class BarChartWidget;
class QMenu;

class CSorvanBarChartView : public CSorvanBaseView {
  Q_OBJECT

public:
  explicit CSorvanBarChartView(DocumentWindow *window, QWidget *parent = nullptr);
  ~CSorvanBarChartView() override;

  bool CanPrint() const override { return chart_ != nullptr; }
  // The chart as drawn now, with the scope of its set-up pane.
  std::unique_ptr<PrintJob> MakePrintJob(bool selectedOnly) const override;
  int GetPageKind() const override { return BarChartPage; }
  // Clears the pending mark and recomputes the bars.
  void Refresh() override;

  // The chart widget; null when it could not be made.
  BarChartWidget *Chart() const { return chart_; }
  // The series of the last recomputation.
  const BarSeries &Series() const { return series_; }

  // The chart's own painting for a picture of any size: every bar when the
  // picture is wide enough, else the bars in view now (moved left as far as
  // needed to fill the picture). Empty without a chart.
  ChartPainter ImagePainter() const;
  // The size a picture starts at: the whole chart, as high as the page.
  QSize ImageSize() const;
  // The pop-up menu of the page.
  QMenu *ContextMenu() const { return menu_; }

public slots:
  // The refresh command ("刷新", F5): recomputes at once and leaves the
  // pending mark as it is.
  void OnRefreshCommand();
  // "保存图片…": asks for size and file and saves the picture.
  void OnSaveImage();

signals:
  // A recomputation finished.
  void recomputed();

protected:
  unsigned PageHintBits() const override;
  void resizeEvent(QResizeEvent *event) override;
  void contextMenuEvent(QContextMenuEvent *event) override;

private:
  // Makes and styles the chart widget; computes nothing.
  void InitialUpdate();
  void Recompute();

  BarChartWidget *chart_ = nullptr;
  QMenu *menu_ = nullptr;
  BarSeries series_;
};
