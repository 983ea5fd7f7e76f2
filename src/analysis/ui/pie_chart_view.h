// CSorvanPieChartView: the proportion pie chart page ("饼图分析") of an
// account file's window. It recomputes its slices when a change
// notification carries the pie chart bit (0x02) while it is showing, marks
// itself for reload otherwise, and reads what to sum, over which records
// and split by which options from its window and the pie chart set-up pane.
// Its pop-up menu saves the chart as a picture ("保存图片…").
#pragma once

#include "analysis/pie_series.h"
#include "window/chart_image.h"
#include "window/sorvan_base_view.h"

class PieChartWidget;
class QMenu;

class CSorvanPieChartView : public CSorvanBaseView {
  Q_OBJECT

public:
  explicit CSorvanPieChartView(DocumentWindow *window, QWidget *parent = nullptr);
  ~CSorvanPieChartView() override;

  bool CanPrint() const override { return chart_ != nullptr; }
  QString NothingToPrint() const override;
  // The chart as drawn now, with the scope of its set-up pane.
  std::unique_ptr<PrintJob> MakePrintJob(bool selectedOnly) const override;
  int GetPageKind() const override { return PieChartPage; }
  // Clears the pending mark and recomputes the slices.
  void Refresh() override;

  // The chart widget; null when it could not be made.
  PieChartWidget *Chart() const { return chart_; }
  // The series of the last recomputation, before the widget refused any
  // slice.
  const PieSeries &Series() const { return series_; }

  // The chart's own painting (caption, pie and legend) for a picture of any
  // size. Empty without a chart.
  ChartPainter ImagePainter() const;
  // The size a picture starts at: the chart's size on the screen.
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
  void recomputed();

protected:
  unsigned PageHintBits() const override;
  void resizeEvent(QResizeEvent *event) override;
  void contextMenuEvent(QContextMenuEvent *event) override;

private:
  void InitialUpdate();
  void Recompute();

  PieChartWidget *chart_ = nullptr;
  QMenu *menu_ = nullptr;
  PieSeries series_;
};
